#include "runtime/currency.h"

#include "runtime/datetime_parse.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace zq {

namespace {

[[noreturn]] void overflow() { throw std::overflow_error("Overflow"); }

std::string trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return std::string(s);
}

// Whole and fraction digits to ten-thousandths: the fifth decimal and beyond round
// halves to even, as the original's CCur does.
Currency fromDigits(bool negative, std::string_view whole, std::string_view fraction) {
    using Limits = std::numeric_limits<std::int64_t>;
    std::int64_t units = 0;
    auto push = [&](char digit) {
        if (units > (Limits::max() - (digit - '0')) / 10) overflow();
        units = units * 10 + (digit - '0');
    };
    for (char c : whole) push(c);
    for (std::size_t i = 0; i < 4; ++i) push(i < fraction.size() ? fraction[i] : '0');
    if (fraction.size() > 4) {
        const std::string_view rest = fraction.substr(4);
        const bool beyondHalf = rest[0] > '5' || (rest[0] == '5' && rest.find_first_not_of('0', 1) != std::string_view::npos);
        const bool half = rest[0] == '5' && !beyondHalf;
        if (beyondHalf || (half && units % 2 != 0)) {
            if (units == Limits::max()) overflow();
            ++units;
        }
    }
    return Currency::fromUnits(negative ? -units : units);
}

bool allDigits(std::string_view s) {
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

// Takes a leading sign off `rest`; true when it was a minus.
bool takeSign(std::string_view& rest) {
    if (rest.empty() || (rest[0] != '+' && rest[0] != '-')) return false;
    const bool negative = rest[0] == '-';
    rest.remove_prefix(1);
    return negative;
}

}  // namespace

Currency Currency::fromWhole(std::int64_t n) {
    if (n > std::numeric_limits<std::int64_t>::max() / kScale || n < std::numeric_limits<std::int64_t>::min() / kScale)
        overflow();
    return Currency(n * kScale);
}

Currency Currency::fromDouble(double d) {
    if (!std::isfinite(d)) overflow();
    // The shortest text that reads back as `d` is the decimal a person wrote or a sum
    // meant: 0.30000000000000004 is 0.3 to four decimals, never 0.3001.
    char buf[400];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, d, std::chars_format::fixed);
    if (ec != std::errc()) overflow();
    auto c = parsePlain(std::string_view(buf, static_cast<std::size_t>(end - buf)));
    if (!c) overflow();
    return *c;
}

std::optional<Currency> Currency::parse(std::string_view text) {
    const std::string t = trimmed(text);
    std::string_view rest = t;
    const bool negative = takeSign(rest);
    if (rest.find_first_of("eE") != std::string_view::npos) {
        const auto d = parseNumber(t);
        if (!d) return std::nullopt;
        return fromDouble(*d);
    }
    std::string whole, fraction;
    if (!splitMantissa(rest, whole, fraction)) return std::nullopt;
    return fromDigits(negative, whole, fraction);
}

std::optional<Currency> Currency::parsePlain(std::string_view text) {
    const std::string t = trimmed(text);
    std::string_view rest = t;
    const bool negative = takeSign(rest);
    const auto dot = rest.find('.');
    const std::string_view whole = rest.substr(0, dot);
    const std::string_view fraction = dot == std::string_view::npos ? std::string_view() : rest.substr(dot + 1);
    if ((whole.empty() && fraction.empty()) || !allDigits(whole) || !allDigits(fraction)) return std::nullopt;
    return fromDigits(negative, whole, fraction);
}

double Currency::toDouble() const {
    // Through the text: the double nearest the decimal, which a division may miss.
    double d = 0;
    const std::string t = plainText();
    std::from_chars(t.data(), t.data() + t.size(), d);
    return d;
}

std::string Currency::digits(char decimalPoint) const {
    // The magnitude as unsigned: the most negative amount has no positive twin.
    const std::uint64_t magnitude = units_ < 0 ? 0 - static_cast<std::uint64_t>(units_) : static_cast<std::uint64_t>(units_);
    std::string out = (units_ < 0 ? "-" : "") + std::to_string(magnitude / kScale);
    std::string fraction = std::to_string(magnitude % kScale);
    fraction.insert(0, 4 - fraction.size(), '0');
    while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
    if (!fraction.empty()) out += decimalPoint + fraction;
    return out;
}

std::string Currency::text() const { return digits(','); }
std::string Currency::plainText() const { return digits('.'); }

}  // namespace zq
