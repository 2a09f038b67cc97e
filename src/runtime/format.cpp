#include "runtime/format.h"

#include "runtime/calendar.h"
#include "runtime/datetime_parse.h"
#include "runtime/format_parts.h"
#include "runtime/text.h"

#include <cctype>
#include <optional>
#include <stdexcept>

namespace zq {

namespace {

enum class Family { Number, Date, Text };

// Digit places make a number format; text places a text format, whatever letters its
// literals hold ("Cod. @@@"); otherwise date letters make a date format.
Family familyOf(std::string_view format) {
    bool date = false;
    bool text = false;
    std::string ignored;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (const std::size_t len = fmt::literalAt(format, i, ignored)) {
            i += len - 1;
            continue;
        }
        const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(format[i])));
        if (c == '0' || c == '#') return Family::Number;
        if (c == '@' || c == '&') text = true;
        if (std::string_view("dmyhnswqct").find(c) != std::string_view::npos) date = true;
    }
    return date && !text ? Family::Date : Family::Text;
}

// The original's named formats, in their Italian rendering.
std::optional<std::string> namedFormat(std::string_view format) {
    static const struct {
        const char* name;
        const char* code;
    } kNamed[] = {
        {"fixed", "0.00"},          {"standard", "#,##0.00"},      {"percent", "0.00%"},
        {"scientific", "0.00E+00"}, {"short date", "dd/mm/yyyy"},  {"medium date", "dd-mmm-yy"},
        {"long date", "dddd d mmmm yyyy"},                         {"short time", "hh.nn"},
        {"medium time", "hh.nn AM/PM"},                            {"long time", "hh.nn.ss"},
        {"currency", "\"€ \"#,##0.00;\"-€ \"#,##0.00"},
    };
    const std::string lower = vbLCase(format);
    for (const auto& n : kNamed)
        if (lower == n.name) return std::string(n.code);
    return std::nullopt;
}

// A typed number of at most four decimals is formatted from its own digits, as an
// amount: "99999999999999,99" keeps the last digit its double has lost.
std::optional<std::int64_t> exactAmount(const std::string& text) {
    const std::string t = vbTrim(text);
    std::string_view m = t;
    if (!m.empty() && (m[0] == '-' || m[0] == '+')) m.remove_prefix(1);
    std::string whole, fraction;
    if (!splitMantissa(m, whole, fraction) || fraction.size() > 4) return std::nullopt;
    try {
        if (const auto c = Currency::parse(t)) return c->units();
    } catch (const std::overflow_error&) {
    }
    return std::nullopt;
}

std::optional<fmt::Number> numberOf(const Value& v) {
    switch (v.kind()) {
        case ValueKind::Integer: return fmt::Number{true, v.toInteger(), 0.0};
        case ValueKind::Boolean: return fmt::Number{true, v.toBool() ? -1 : 0, 0.0};
        case ValueKind::Decimal:
        case ValueKind::DateTime: return fmt::Number{false, 0, v.toDouble()};
        case ValueKind::Currency: return fmt::Number{false, 0, v.toDouble(), v.toCurrency().units()};
        case ValueKind::Text: {
            const auto n = parseNumber(*v.textIf());
            if (!n) return std::nullopt;
            return fmt::Number{false, 0, *n, exactAmount(*v.textIf())};
        }
        default: return std::nullopt;
    }
}

std::optional<DateTime> dateOf(const Value& v) {
    if (v.kind() == ValueKind::Text) {
        if (auto d = parseDate(*v.textIf())) return d;
        if (auto t = parseTime(*v.textIf())) return t;
    }
    try {
        return v.toDateTime();
    } catch (const std::invalid_argument&) {
        return std::nullopt;
    }
}

std::string yesNo(const Value& v, std::string_view lowerName) {
    bool b = false;
    try {
        b = v.toBool();
    } catch (const std::invalid_argument&) {
        return v.toText();
    }
    if (lowerName == "yes/no") return b ? "Sì" : "No";
    if (lowerName == "on/off") return b ? "On" : "Off";
    return b ? "Vero" : "Falso";
}

}  // namespace

std::string formatValue(const Value& value, std::string_view format) {
    if (value.isEmpty()) return {};
    const std::string lower = vbLCase(format);
    if (value.isNull()) {
        // A fourth number section is what the original shows for Null.
        const auto sections = fmt::splitSections(format);
        if (sections.size() == 4 && familyOf(format) == Family::Number)
            return fmt::formatNumber(fmt::Number{}, {sections[3]});
        return {};
    }
    if (format.empty() || lower == "general number" || lower == "general date") return value.toText();
    if (lower == "yes/no" || lower == "true/false" || lower == "on/off") return yesNo(value, lower);
    if (const auto named = namedFormat(format)) return formatValue(value, *named);

    switch (familyOf(format)) {
        case Family::Number: {
            const auto n = numberOf(value);
            // A text that is no number is shown as it is, as the original does.
            return n ? fmt::formatNumber(*n, fmt::splitSections(format)) : value.toText();
        }
        case Family::Date: {
            const auto d = dateOf(value);
            return d ? fmt::formatDate(*d, fmt::splitSections(format).front()) : value.toText();
        }
        case Family::Text: break;
    }
    return fmt::formatText(value.toText(), fmt::splitSections(format));
}

}  // namespace zq
