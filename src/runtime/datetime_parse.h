#pragma once
// Date and time parsing in day/month/year order, as the office types them.

#include "runtime/value.h"

#include <optional>
#include <string>
#include <string_view>

namespace zq {

/// Parses "dd/mm/yyyy", "d/m/yy", "dd-mm-yyyy", "dd.mm.yyyy", optionally followed by a
/// time "hh.mm[.ss]" or "hh:mm[:ss]". Two-digit years: 00-29 -> 2000s, 30-99 -> 1900s.
/// Returns nothing for a text that is not a real date (31/02/2024).
std::optional<DateTime> parseDate(std::string_view text);

/// Parses a time "hh.mm", "hh:mm", "hh.mm.ss"; nothing for 25.61.
std::optional<DateTime> parseTime(std::string_view text);

/// True when the text is a number in the Italian or plain form ("1.234,5", "12,3", "-4", "1e3").
/// "," is the decimal separator and "." groups thousands in threes ("1.234" is 1234); a
/// single "." that groups nothing is a decimal point ("12.5"). Blanks around are allowed.
bool isNumeric(std::string_view text);
/// The number of a numeric text (see isNumeric); nothing otherwise.
std::optional<double> parseNumber(std::string_view text);
/// Splits a number without sign or exponent into its whole and fraction digits, read as
/// isNumeric reads them ("1.234,5" gives "1234" and "5"); false when it is not one.
bool splitMantissa(std::string_view m, std::string& whole, std::string& fraction);

}  // namespace zq
