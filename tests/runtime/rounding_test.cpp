#include "runtime/value.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <stdexcept>

namespace zq {
namespace {

struct RoundCase {
    double input;
    std::int64_t expected;
};

TEST(RoundHalfEven, Table) {
    const RoundCase cases[] = {
        {2.5, 2},   {3.5, 4},   {-2.5, -2}, {-3.5, -4}, {0.5, 0},    {1.5, 2},
        {-0.5, 0},  {-1.5, -2}, {2.4999, 2}, {2.5001, 3}, {0.49, 0}, {-0.51, -1},
        {7.0, 7},   {0.0, 0},   {1e15 + 0.5, 1000000000000000}, {-7.9, -8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        EXPECT_EQ(roundHalfEven(c.input), c.expected);
    }
}

TEST(RoundHalfEven, NotANumberOrTooLargeOverflows) {
    EXPECT_THROW(roundHalfEven(std::nan("")), std::overflow_error);
    EXPECT_THROW(roundHalfEven(std::numeric_limits<double>::infinity()), std::overflow_error);
    EXPECT_THROW(roundHalfEven(1e19), std::overflow_error);
}

struct IntCase {
    double input;
    std::optional<std::int32_t> expected;  // nothing: overflow
};

TEST(ToInt16, IntegerRangeTable) {
    const IntCase cases[] = {
        {32767.0, 32767},   {32767.4, 32767},  {32767.5, std::nullopt},  // rounds to 32768
        {32768.0, std::nullopt}, {-32768.0, -32768}, {-32768.5, -32768}, // halves to even
        {-32769.0, std::nullopt}, {-32768.6, std::nullopt}, {2.5, 2}, {3.5, 4},
        {-2.5, -2}, {0.0, 0}, {std::nan(""), std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        if (c.expected) EXPECT_EQ(toInt16(c.input), *c.expected);
        else EXPECT_THROW(toInt16(c.input), std::overflow_error);
    }
}

TEST(ToInt32, LongRangeTable) {
    const IntCase cases[] = {
        {2147483647.0, 2147483647},  {2147483647.5, std::nullopt}, {2147483648.0, std::nullopt},
        {-2147483648.0, -2147483647 - 1}, {-2147483648.5, -2147483647 - 1},
        {-2147483649.0, std::nullopt}, {40000.0, 40000}, {-0.5, 0}, {4.5, 4}, {5.5, 6},
        {std::numeric_limits<double>::infinity(), std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        if (c.expected) EXPECT_EQ(toInt32(c.input), *c.expected);
        else EXPECT_THROW(toInt32(c.input), std::overflow_error);
    }
}

}  // namespace
}  // namespace zq
