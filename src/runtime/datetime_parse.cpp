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

std::optional<double> parseNumber(std::string_view text) {
    const std::string t = vbTrim(text);
    std::size_t i = 0;
    std::string plain;  // the number in the C locale's notation
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) plain += t[i++];
    const std::size_t comma = t.find(',', i);
    const std::size_t firstDot = t.find('.', i);
    const bool dotsGroup = comma != std::string::npos || (firstDot != std::string::npos &&
                                                          t.find('.', firstDot + 1) != std::string::npos);
    const std::size_t mantissaEnd = std::min(t.find_first_of("eE", i), t.size());
    // Whole part, with thousands dots checked for groups of three.
    std::size_t digitsSinceDot = 0;
    bool sawDot = false, sawDigit = false;
    for (; i < mantissaEnd && t[i] != ',' && !(t[i] == '.' && !dotsGroup); ++i) {
        const char c = t[i];
        if (std::isdigit(static_cast<unsigned char>(c))) {
            plain += c;
            sawDigit = true;
            ++digitsSinceDot;
        } else if (c == '.') {
            if (!sawDigit || (sawDot && digitsSinceDot != 3)) return std::nullopt;
            sawDot = true;
            digitsSinceDot = 0;
        } else {
            return std::nullopt;
        }
    }
    if (sawDot && digitsSinceDot != 3) return std::nullopt;
    if (i < mantissaEnd) {  // the decimal separator
        ++i;
        plain += '.';
        for (; i < mantissaEnd; ++i) {
            if (!std::isdigit(static_cast<unsigned char>(t[i]))) return std::nullopt;
            plain += t[i];
            sawDigit = true;
        }
    }
    if (!sawDigit) return std::nullopt;
    if (mantissaEnd < t.size()) {
        plain += 'e';
        i = mantissaEnd + 1;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) plain += t[i++];
        if (!allDigits(std::string_view(t).substr(i))) return std::nullopt;
        plain += t.substr(i);
    }
    // from_chars ignores the process locale, which Qt sets from the environment.
    double v = 0;
    const char* first = plain.data() + (plain[0] == '+' ? 1 : 0);
    const auto [end, ec] = std::from_chars(first, plain.data() + plain.size(), v);
    if (ec != std::errc() || end != plain.data() + plain.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

bool isNumeric(std::string_view text) { return parseNumber(text).has_value(); }

}  // namespace zq
