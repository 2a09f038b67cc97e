#include "runtime/value.h"

#include "runtime/calendar.h"
#include "runtime/datetime_parse.h"
#include "runtime/decimal_digits.h"

#include <cmath>
#include <stdexcept>
#include <utility>

namespace zq {

namespace {

std::string twoDigits(int v) {
    std::string s = std::to_string(v);
    return s.size() < 2 ? "0" + s : s;
}

// The original's CStr of a double: up to 15 significant digits, decimal comma,
// exponent form only for very large or very small magnitudes.
std::string doubleText(double d) {
    if (d == 0.0) return "0";
    if (std::isnan(d)) return "NaN";
    if (std::isinf(d)) return d < 0 ? "-Inf" : "Inf";
    int exponent = 0;
    std::string digits = DecimalDigits::significant(d, exponent);
    std::string out = d < 0 ? "-" : "";
    if (exponent >= 15 || exponent < -5) {
        out += digits[0];
        if (digits.size() > 1) out += "," + digits.substr(1);
        const std::string e = std::to_string(std::abs(exponent));
        out += std::string("E") + (exponent < 0 ? "-" : "+") + (e.size() < 2 ? "0" + e : e);
        return out;
    }
    if (exponent < 0) return out + "0," + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    const auto wholeLen = static_cast<std::size_t>(exponent + 1);
    if (digits.size() <= wholeLen) return out + digits + std::string(wholeLen - digits.size(), '0');
    return out + digits.substr(0, wholeLen) + "," + digits.substr(wholeLen);
}

std::string dateTimeText(const DateTime& d) {
    const std::string time = twoDigits(d.hour) + "." + twoDigits(d.minute) + "." + twoDigits(d.second);
    // A time alone sits on day zero of the calendar and is shown without a date.
    if (d.year == 1899 && d.month == 12 && d.day == 30 && d.hasTime()) return time;
    std::string date = twoDigits(d.day) + "/" + twoDigits(d.month) + "/" + std::to_string(d.year);
    return d.hasTime() ? date + " " + time : date;
}

[[noreturn]] void notNumeric(const std::string& text) {
    throw std::invalid_argument("Il valore \"" + text + "\" non è numerico");
}

}  // namespace

Value::Value(bool b) : v_(b) {}
Value::Value(int i) : v_(static_cast<std::int64_t>(i)) {}
Value::Value(std::int64_t i) : v_(i) {}
Value::Value(double d) : v_(d) {}
Value::Value(const char* s) : v_(std::string(s ? s : "")) {}
Value::Value(std::string s) : v_(std::move(s)) {}
Value::Value(DateTime d) : v_(d) {}
Value::Value(Currency c) : v_(c) {}

Value Value::null() {
    Value v;
    v.v_ = NullTag{};
    return v;
}

ValueKind Value::kind() const { return static_cast<ValueKind>(v_.index()); }

std::string Value::toText() const {
    switch (kind()) {
        case ValueKind::Empty:
        case ValueKind::Null: return {};
        case ValueKind::Boolean: return std::get<bool>(v_) ? "Vero" : "Falso";
        case ValueKind::Integer: return std::to_string(std::get<std::int64_t>(v_));
        case ValueKind::Decimal: return doubleText(std::get<double>(v_));
        case ValueKind::Text: return std::get<std::string>(v_);
        case ValueKind::DateTime: return dateTimeText(std::get<DateTime>(v_));
        case ValueKind::Currency: return std::get<Currency>(v_).text();
    }
    return {};
}

double Value::toDouble() const {
    switch (kind()) {
        case ValueKind::Empty:
        case ValueKind::Null: return 0.0;
        case ValueKind::Boolean: return std::get<bool>(v_) ? -1.0 : 0.0;
        case ValueKind::Integer: return static_cast<double>(std::get<std::int64_t>(v_));
        case ValueKind::Decimal: return std::get<double>(v_);
        case ValueKind::Text: {
            const auto n = parseNumber(std::get<std::string>(v_));
            if (!n) notNumeric(std::get<std::string>(v_));
            return *n;
        }
        case ValueKind::DateTime: return toSerial(std::get<DateTime>(v_));
        case ValueKind::Currency: return std::get<Currency>(v_).toDouble();
    }
    return 0.0;
}

std::int64_t Value::toInteger() const {
    if (kind() == ValueKind::Integer) return std::get<std::int64_t>(v_);
    if (const auto* c = std::get_if<Currency>(&v_)) {
        // exact: the amount may hold more digits than a double
        std::int64_t whole = c->units() / Currency::kScale;
        const std::int64_t rest = c->units() % Currency::kScale;
        const std::int64_t twice = 2 * (rest < 0 ? -rest : rest);
        if (twice > Currency::kScale || (twice == Currency::kScale && whole % 2 != 0)) whole += rest < 0 ? -1 : 1;
        return whole;
    }
    return roundHalfEven(toDouble());
}

bool Value::toBool() const {
    if (kind() == ValueKind::Boolean) return std::get<bool>(v_);
    if (const auto* s = textIf()) {
        for (const char* yes : {"Vero", "VERO", "vero", "True", "TRUE", "true"})
            if (*s == yes) return true;
        for (const char* no : {"Falso", "FALSO", "falso", "False", "FALSE", "false"})
            if (*s == no) return false;
    }
    return toDouble() != 0.0;
}

DateTime Value::toDateTime() const {
    switch (kind()) {
        case ValueKind::DateTime: return std::get<DateTime>(v_);
        case ValueKind::Text: {
            const std::string& s = std::get<std::string>(v_);
            if (auto d = parseDate(s)) return *d;
            if (auto t = parseTime(s)) return *t;
            throw std::invalid_argument("Il valore \"" + s + "\" non è una data valida");
        }
        case ValueKind::Integer:
        case ValueKind::Decimal:
        case ValueKind::Currency:
        case ValueKind::Boolean:
            try {
                return fromSerial(toDouble());
            } catch (const std::out_of_range&) {
                throw std::invalid_argument("Il valore " + toText() + " non è una data valida");
            }
        case ValueKind::Empty:
        case ValueKind::Null: break;
    }
    throw std::invalid_argument("Utilizzo non valido di Null");
}

Currency Value::toCurrency() const {
    switch (kind()) {
        case ValueKind::Currency: return std::get<Currency>(v_);
        case ValueKind::Integer: return Currency::fromWhole(std::get<std::int64_t>(v_));
        case ValueKind::Boolean: return Currency::fromWhole(std::get<bool>(v_) ? -1 : 0);
        case ValueKind::Decimal: return Currency::fromDouble(std::get<double>(v_));
        case ValueKind::DateTime: return Currency::fromDouble(toDouble());
        case ValueKind::Text: {
            const std::string& s = std::get<std::string>(v_);
            if (auto c = Currency::parse(s)) return *c;
            notNumeric(s);
        }
        case ValueKind::Empty:
        case ValueKind::Null: break;
    }
    throw std::invalid_argument("Utilizzo non valido di Null");
}

const std::string* Value::textIf() const { return std::get_if<std::string>(&v_); }

}  // namespace zq
