#pragma once
// A value as the archive and TARV databases hand it over: it may be Null, and it
// converts to text the way an Italian office reads it (decimal comma, dd/mm/yyyy).

#include "runtime/currency.h"

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

namespace zq {

/// A calendar moment without time zone; a date alone has a zero time.
struct DateTime {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;

    bool hasTime() const { return hour != 0 || minute != 0 || second != 0; }
    friend auto operator<=>(const DateTime&, const DateTime&) = default;

    /// The current local date and time.
    static DateTime now();
    /// Today's local date, time 00:00:00.
    static DateTime today();
    /// True when the fields form a real calendar date and time.
    bool isValid() const;
};

enum class ValueKind { Empty, Null, Boolean, Integer, Decimal, Text, DateTime, Currency };

/// A variant value with Null. Empty is "never assigned"; Null is the database's Null.
class Value {
public:
    Value() = default;  ///< Empty
    Value(bool b);
    Value(int i);
    Value(std::int64_t i);
    Value(double d);
    Value(const char* s);
    Value(std::string s);
    Value(DateTime d);
    Value(Currency c);

    static Value null();

    ValueKind kind() const;
    bool isNull() const { return kind() == ValueKind::Null; }
    bool isEmpty() const { return kind() == ValueKind::Empty; }
    /// True for Null and Empty: what a database would store as Null.
    bool isNullish() const { return isNull() || isEmpty(); }

    /// Text in the Italian conventions: decimal comma, dates "dd/mm/yyyy", date-times
    /// "dd/mm/yyyy hh.mm.ss", booleans "Vero"/"Falso"; Null and Empty give "".
    std::string toText() const;
    /// Whole number, halves rounded to even; text is parsed (comma or dot decimal);
    /// throws std::invalid_argument when the value is not numeric, Null or Empty give 0.
    /// True is -1, as the original's booleans; a date gives its day number.
    std::int64_t toInteger() const;
    double toDouble() const;
    bool toBool() const;
    /// Date value; text is parsed day/month/year. Throws std::invalid_argument otherwise.
    DateTime toDateTime() const;
    /// Exact amount: numbers round to four decimals, text is read as isNumeric reads it.
    /// Throws std::invalid_argument for text that is no number, Null or Empty, and
    /// std::overflow_error out of the Currency range.
    Currency toCurrency() const;

    const std::string* textIf() const;  ///< the text when kind() is Text, else nullptr

    friend bool operator==(const Value&, const Value&) = default;

private:
    struct NullTag {
        friend bool operator==(NullTag, NullTag) { return true; }
    };
    std::variant<std::monostate, NullTag, bool, std::int64_t, double, std::string, DateTime, Currency> v_;
};

/// Rounds to the nearest whole number, halves to even (as the original's CInt/CLng do).
std::int64_t roundHalfEven(double d);

/// Converts to a 16-bit whole number as the original's Integer; throws std::overflow_error
/// outside -32768..32767.
std::int16_t toInt16(double d);
/// Converts to a 32-bit whole number as the original's Long; throws std::overflow_error.
std::int32_t toInt32(double d);

}  // namespace zq
