#pragma once
// The archive's Currency type: a whole number of ten-thousandths, so amounts are
// exact where a double is not (99.999.999.999.999,99 has one digit too many for it,
// and 0,1 + 0,2 is 0,3 here, not 0,30000000000000004).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zq {

class Currency {
public:
    static constexpr std::int64_t kScale = 10000;  ///< ten-thousandths in one unit

    constexpr Currency() = default;
    static constexpr Currency fromUnits(std::int64_t tenThousandths) { return Currency(tenThousandths); }
    /// Throws std::overflow_error outside ±922.337.203.685.477.
    static Currency fromWhole(std::int64_t n);
    /// The four-decimal amount nearest to the decimal the double stands for (its
    /// shortest text), halves to even. Throws std::overflow_error out of range.
    static Currency fromDouble(double d);
    /// A text as the office types it ("1.234,5678", "12,5", "-0.3", "12.5"); more than
    /// four decimals round halves to even. Nothing when it is not a number; throws
    /// std::overflow_error out of range.
    static std::optional<Currency> parse(std::string_view text);
    /// A text as drivers and SQL write numbers: "." is always the decimal point.
    static std::optional<Currency> parsePlain(std::string_view text);

    std::int64_t units() const { return units_; }
    double toDouble() const;
    /// Italian form, as the original's CStr writes a Currency: "1234,5", "-0,0005", "12".
    std::string text() const;
    /// Plain form for SQL and drivers: "1234.5", "-0.0005", "12".
    std::string plainText() const;

    // No <=>: <compare> pulls in <concepts>, which Qt's moc cannot read in a form's header.
    friend bool operator==(const Currency&, const Currency&) = default;

private:
    constexpr explicit Currency(std::int64_t units) : units_(units) {}
    std::string digits(char decimalPoint) const;

    std::int64_t units_ = 0;
};

}  // namespace zq
