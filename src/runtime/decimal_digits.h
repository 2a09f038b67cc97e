#pragma once
// A number as decimal digits, the way the original's number formatting sees it: the
// double read to 15 significant digits, so 2.675 is 2.675 and not 2.67499999…

#include <cstdint>
#include <string>

namespace zq {

/// Non-negative decimal digits: the whole part (no leading zeros, "" for zero) and the
/// fraction part.
struct DecimalDigits {
    std::string whole;
    std::string fraction;

    /// |value| rounded to `decimals` fraction digits, halves away from zero.
    static DecimalDigits ofDouble(double value, int decimals);
    /// |value| exactly, with `decimals` zero fraction digits.
    static DecimalDigits ofInteger(std::int64_t value, int decimals);
    /// |value| ten-thousandths (an amount) rounded to `decimals`, halves away from zero,
    /// from its own digits.
    static DecimalDigits ofTenThousandths(std::int64_t value, int decimals);
    /// |value| to 15 significant digits without trailing fraction zeros, and its decimal
    /// exponent (1234.5 -> "12345", 3).
    static std::string significant(double value, int& exponent);

    bool isZero() const;

private:
    /// `digits` with the point after `wholeLen` of them, rounded to `decimals`.
    static DecimalDigits rounded(std::string digits, int wholeLen, int decimals);
};

}  // namespace zq
