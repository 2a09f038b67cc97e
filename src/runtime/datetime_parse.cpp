#include "runtime/datetime_parse.h"

#include "runtime/text.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

namespace zq {

namespace {

bool allDigits(std::string_view s) {
    if (s.empty()) return false;
    for (const char c : s)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    return true;
}

int toInt(std::string_view s) { return std::atoi(std::string(s).c_str()); }

std::vector<std::string_view> split(std::string_view s, char sep) {
    std::vector<std::string_view> parts;
    std::size_t from = 0;
    for (;;) {
        const auto at = s.find(sep, from);
        parts.push_back(s.substr(from, at == std::string_view::npos ? std::string_view::npos : at - from));
        if (at == std::string_view::npos) return parts;
        from = at + 1;
    }
}

// Two-digit years: 00-29 are this century, 30-99 the last one.
int expandYear(std::string_view y) {
    const int v = toInt(y);
    if (y.size() > 2) return v;
    return v < 30 ? 2000 + v : 1900 + v;
}

std::optional<DateTime> parseDayMonthYear(std::string_view s) {
    char sep = 0;
    for (const char c : {'/', '-', '.'})
        if (s.find(c) != std::string_view::npos) { sep = c; break; }
    if (sep == 0) return std::nullopt;
    const auto parts = split(s, sep);
    if (parts.size() != 3) return std::nullopt;
    const auto &d = parts[0], &m = parts[1], &y = parts[2];
    if (!allDigits(d) || !allDigits(m) || !allDigits(y)) return std::nullopt;
    if (d.size() > 2 || m.size() > 2 || (y.size() != 1 && y.size() != 2 && y.size() != 4))
        return std::nullopt;
    DateTime r;
    r.day = toInt(d);
    r.month = toInt(m);
    r.year = expandYear(y);
    if (!r.isValid()) return std::nullopt;
    return r;
}

}  // namespace

std::optional<DateTime> parseTime(std::string_view text) {
    const std::string t = vbTrim(text);
    const char sep = t.find(':') != std::string::npos ? ':' : '.';
    const auto parts = split(t, sep);
    if (parts.size() < 2 || parts.size() > 3) return std::nullopt;
    for (const auto& p : parts)
        if (!allDigits(p) || p.size() > 2) return std::nullopt;
    DateTime r;
    r.hour = toInt(parts[0]);
    r.minute = toInt(parts[1]);
    r.second = parts.size() == 3 ? toInt(parts[2]) : 0;
    if (!r.isValid()) return std::nullopt;
    return r;
}

std::optional<DateTime> parseDate(std::string_view text) {
    const std::string t = vbTrim(text);
    const auto blank = t.find(' ');
    const std::string_view datePart = std::string_view(t).substr(0, blank);
    auto date = parseDayMonthYear(datePart);
    if (!date || blank == std::string::npos) return date;
    const auto time = parseTime(std::string_view(t).substr(blank + 1));
    if (!time) return std::nullopt;
    date->hour = time->hour;
    date->minute = time->minute;
    date->second = time->second;
    return date;
}

namespace {

// Whole-part digits with thousands dots in groups of three ("1.234.567"); the dots are
// dropped. Nothing when the dots do not group the digits that way.
std::optional<std::string> groupedDigits(std::string_view s) {
    const auto parts = split(s, '.');
    std::string digits;
    for (std::size_t k = 0; k < parts.size(); ++k) {
        if (!allDigits(parts[k])) return std::nullopt;
        if (k == 0 ? parts[k].size() > 3 : parts[k].size() != 3) return std::nullopt;
        digits.append(parts[k]);
    }
    return digits;
}

}  // namespace

// "," is the decimal separator and "." groups thousands; a single "." that cannot be a
// thousands group ("12.5") is taken as a decimal point, as plain numbers are written.
bool splitMantissa(std::string_view m, std::string& whole, std::string& fraction) {
    const auto comma = m.find(',');
    std::string_view wholePart = m.substr(0, comma);
    std::string_view fracPart = comma == std::string_view::npos ? std::string_view() : m.substr(comma + 1);
    if (comma == std::string_view::npos && wholePart.find('.') != std::string_view::npos &&
        !groupedDigits(wholePart)) {
        const auto dot = wholePart.find('.');
        if (wholePart.find('.', dot + 1) != std::string_view::npos) return false;
        fracPart = wholePart.substr(dot + 1);
        wholePart = wholePart.substr(0, dot);
    }
    if (wholePart.find('.') != std::string_view::npos) {
        const auto g = groupedDigits(wholePart);
        if (!g) return false;
        whole = *g;
    } else {
        if (!wholePart.empty() && !allDigits(wholePart)) return false;
        whole = std::string(wholePart);
    }
    if (!fracPart.empty() && !allDigits(fracPart)) return false;
    fraction = std::string(fracPart);
    return !whole.empty() || !fraction.empty();
}

std::optional<double> parseNumber(std::string_view text) {
    const std::string t = vbTrim(text);
    std::string_view rest = t;
    std::string plain;  // the number in the notation from_chars reads
    if (!rest.empty() && (rest[0] == '+' || rest[0] == '-')) {
        if (rest[0] == '-') plain += '-';
        rest.remove_prefix(1);
    }
    const auto e = rest.find_first_of("eE");
    std::string whole, fraction;
    if (!splitMantissa(rest.substr(0, e), whole, fraction)) return std::nullopt;
    plain += (whole.empty() ? "0" : whole) + "." + (fraction.empty() ? "0" : fraction);
    if (e != std::string_view::npos) {
        std::string_view exp = rest.substr(e + 1);
        plain += 'e';
        if (!exp.empty() && (exp[0] == '+' || exp[0] == '-')) {
            plain += exp[0];
            exp.remove_prefix(1);
        }
        if (!allDigits(exp)) return std::nullopt;
        plain.append(exp);
    }
    // from_chars ignores the process locale, which Qt sets from the environment.
    double v = 0;
    const auto [end, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), v);
    if (ec != std::errc() || end != plain.data() + plain.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

bool isNumeric(std::string_view text) { return parseNumber(text).has_value(); }

}  // namespace zq
