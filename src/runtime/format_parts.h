#pragma once
// The three families of format codes behind formatValue, and the scanning they share.

#include "runtime/value.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zq::fmt {

/// Splits a format into its ";" sections, leaving quoted text and "\x" escapes whole.
std::vector<std::string> splitSections(std::string_view format);

/// Length of the literal that starts at format[i] when it is a quoted text or a "\x"
/// escape (0 otherwise); its text goes to `text`.
std::size_t literalAt(std::string_view format, std::size_t i, std::string& text);

/// A number as formatNumber takes it: exact for whole numbers and amounts, a double
/// otherwise.
struct Number {
    bool isInteger = true;
    std::int64_t whole = 0;
    double real = 0.0;
    std::optional<std::int64_t> tenThousandths;  ///< the exact amount, when it is one

    bool negative() const { return isInteger ? whole < 0 : real < 0; }
    bool zero() const { return isInteger ? whole == 0 : real == 0.0; }
    double asDouble() const { return isInteger ? static_cast<double>(whole) : real; }
};

/// Number codes: 0 # . , % E+ E- and literals, up to four sections.
std::string formatNumber(const Number& n, const std::vector<std::string>& sections);
/// Date and time codes (d, m, y, h, n, s, w, q, c, ttttt, AM/PM) and literals.
std::string formatDate(const DateTime& d, std::string_view format);
/// Text codes: @ & < > ! and literals, up to two sections.
std::string formatText(const std::string& text, const std::vector<std::string>& sections);

}  // namespace zq::fmt
