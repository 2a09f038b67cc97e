#include "runtime/value.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <stdexcept>

namespace zq {
namespace {

TEST(RoundHalfEven, Table) {
    const struct {
        double input;
        std::optional<std::int64_t> expected;  // nothing: overflow
    } cases[] = {
        {2.5, 2}, {3.5, 4}, {-2.5, -2}, {-3.5, -4}, {0.5, 0}, {-0.5, 0}, {2.4999, 2}, {2.5001, 3}, {-0.51, -1},
        {7.0, 7}, {1e15 + 0.5, 1000000000000000}, {-7.9, -8}, {std::nan(""), std::nullopt},
        {std::numeric_limits<double>::infinity(), std::nullopt}, {1e19, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        if (c.expected) EXPECT_EQ(roundHalfEven(c.input), *c.expected);
        else EXPECT_THROW(roundHalfEven(c.input), std::overflow_error);
    }
}

// Integer (16-bit) and Long (32-bit) conversions round half to even and overflow past
// their range; nothing: overflow.
TEST(ToInt16And32, RangeTable) {
    const struct {
        double input;
        std::optional<std::int32_t> int16, int32;
    } cases[] = {
        {32767.4, 32767, 32767}, {32767.5, std::nullopt, 32768}, {-32768.5, -32768, -32768},
        {-32768.6, std::nullopt, -32769}, {-32769.0, std::nullopt, -32769}, {2.5, 2, 2}, {5.5, 6, 6}, {-0.5, 0, 0},
        {2147483647.0, std::nullopt, 2147483647}, {2147483647.5, std::nullopt, std::nullopt},
        {-2147483648.5, std::nullopt, -2147483647 - 1}, {-2147483649.0, std::nullopt, std::nullopt},
        {std::nan(""), std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        if (c.int16) EXPECT_EQ(toInt16(c.input), *c.int16);
        else EXPECT_THROW(toInt16(c.input), std::overflow_error);
        if (c.int32) EXPECT_EQ(toInt32(c.input), *c.int32);
        else EXPECT_THROW(toInt32(c.input), std::overflow_error);
    }
}

}  // namespace
}  // namespace zq
