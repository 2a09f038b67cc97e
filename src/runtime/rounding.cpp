// The original's whole-number conversions: nearest whole number, halves to even.

#include "runtime/value.h"

#include <cmath>
#include <limits>
#include <stdexcept>

namespace zq {

std::int64_t roundHalfEven(double d) {
    if (!std::isfinite(d) || d >= 9223372036854775808.0 || d < -9223372036854775808.0)
        throw std::overflow_error("Overflow");
    double whole = std::floor(d);
    const double diff = d - whole;
    if (diff > 0.5 || (diff == 0.5 && std::fmod(whole, 2.0) != 0.0)) whole += 1.0;
    if (whole >= 9223372036854775808.0) throw std::overflow_error("Overflow");
    return static_cast<std::int64_t>(whole);
}

std::int16_t toInt16(double d) {
    if (!std::isfinite(d)) throw std::overflow_error("Overflow");
    const std::int64_t v = roundHalfEven(d);
    if (v < std::numeric_limits<std::int16_t>::min() || v > std::numeric_limits<std::int16_t>::max())
        throw std::overflow_error("Overflow");
    return static_cast<std::int16_t>(v);
}

std::int32_t toInt32(double d) {
    if (!std::isfinite(d)) throw std::overflow_error("Overflow");
    const std::int64_t v = roundHalfEven(d);
    if (v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::int32_t>::max())
        throw std::overflow_error("Overflow");
    return static_cast<std::int32_t>(v);
}

}  // namespace zq
