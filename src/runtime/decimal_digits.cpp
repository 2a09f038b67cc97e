#include "runtime/decimal_digits.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace zq {

namespace {

// Adds one unit at the last digit of a decimal digit string; "999" becomes "1000".
void incrementDigits(std::string& digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

std::string stripLeadingZeros(std::string s) {
    const auto first = s.find_first_not_of('0');
    return first == std::string::npos ? std::string() : s.substr(first);
}

}  // namespace

std::string DecimalDigits::significant(double value, int& exponent) {
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, 14);
    *res.ptr = '\0';
    // buf: d.dddddddddddddde[+-]xx
    std::string digits;
    digits += buf[0];
    digits.append(buf + 2, 14);
    exponent = std::atoi(buf + 17);
    const auto last = digits.find_last_not_of('0');
    digits.erase(last == std::string::npos ? 1 : last + 1);
    return digits;
}

DecimalDigits DecimalDigits::ofDouble(double value, int decimals) {
    DecimalDigits r;
    if (value == 0.0 || !std::isfinite(value)) {
        r.fraction.assign(static_cast<std::size_t>(decimals), '0');
        return r;
    }
    int exponent = 0;
    std::string digits = significant(value, exponent);
    // digits represent 0.d1d2d3... x 10^(exponent + 1); place the point.
    const int pointPos = exponent + 1;
    if (pointPos < 0) {
        digits.insert(0, static_cast<std::size_t>(-pointPos), '0');
    }
    return rounded(std::move(digits), pointPos < 0 ? 0 : pointPos, decimals);
}

DecimalDigits DecimalDigits::ofTenThousandths(std::int64_t value, int decimals) {
    const std::uint64_t magnitude =
        value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    std::string digits = std::to_string(magnitude);
    if (digits.size() < 5) digits.insert(0, 5 - digits.size(), '0');
    return rounded(std::move(digits), static_cast<int>(digits.size()) - 4, decimals);
}

DecimalDigits DecimalDigits::rounded(std::string digits, int wholeLen, int decimals) {
    DecimalDigits r;
    if (static_cast<int>(digits.size()) < wholeLen + decimals + 1)
        digits.append(static_cast<std::size_t>(wholeLen + decimals + 1) - digits.size(), '0');
    const bool roundUp = digits[static_cast<std::size_t>(wholeLen + decimals)] >= '5';
    digits.erase(static_cast<std::size_t>(wholeLen + decimals));
    if (roundUp) incrementDigits(digits);
    const std::size_t w = digits.size() - static_cast<std::size_t>(decimals);
    r.whole = stripLeadingZeros(digits.substr(0, w));
    r.fraction = digits.substr(w);
    return r;
}

DecimalDigits DecimalDigits::ofInteger(std::int64_t value, int decimals) {
    const std::uint64_t magnitude =
        value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    DecimalDigits r;
    r.whole = magnitude == 0 ? std::string() : std::to_string(magnitude);
    r.fraction.assign(static_cast<std::size_t>(decimals), '0');
    return r;
}

bool DecimalDigits::isZero() const {
    return whole.empty() && fraction.find_first_not_of('0') == std::string::npos;
}

}  // namespace zq
