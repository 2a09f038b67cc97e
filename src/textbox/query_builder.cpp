#include "textbox/query_builder.h"

#include "runtime/datetime_parse.h"
#include "runtime/text.h"
#include "textbox/date_time_check.h"

#include <cstdio>
#include <utility>
#include <vector>

namespace zq {

namespace {

constexpr const char* kDateText = "Immettere la data nel formato 'GG/MM/AAAA'";
constexpr const char* kDateTitle = "DATA NON VALIDA";
constexpr const char* kTimeText = "Immettere l'ora nel formato 'HH.MM'";
constexpr const char* kTimeTitle = "ORA NON VALIDA";
constexpr const char* kDateTimeText = "Immettere la data nel formato 'GG/MM/AAAA HH.MM'";
constexpr const char* kTooManyText = "Immettere al massimo 100 valori separati da '|'";
constexpr const char* kValueText = "Immettere un valore numerico";
constexpr const char* kValueTitle = "VALORE NON VALIDO";

std::string twoDigits(int v) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d", v);
    return buf;
}

std::string fourDigits(int v) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04d", v);
    return buf;
}

std::string doubleQuotes(std::string_view s) {
    std::string out;
    for (const char c : s) {
        out += c;
        if (c == '\'') out += '\'';
    }
    return out;
}

void replaceAll(std::string& s, char from, std::string_view to) {
    std::string out;
    for (const char c : s) {
        if (c == from)
            out += to;
        else
            out += c;
    }
    s = std::move(out);
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// A number as the person types it: optional sign, digits, one decimal separator.
bool isPlainNumber(std::string_view s) {
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t digits = 0;
    bool separator = false;
    for (; i < s.size(); ++i) {
        if (isDigit(s[i])) {
            ++digits;
        } else if ((s[i] == ',' || s[i] == '.') && !separator && digits > 0 && i + 1 < s.size()) {
            separator = true;
        } else {
            return false;
        }
    }
    return digits > 0;
}

bool isPlainWord(std::string_view s) {
    if (s.empty() || !isLetter(s[0])) return false;
    for (const char c : s)
        if (!isLetter(c) && !isDigit(c) && c != '_') return false;
    return true;
}

bool isNumericKind(DataTypes t) {
    return t == DataTypes::Contatore || t == DataTypes::intero || t == DataTypes::decimale;
}

}  // namespace

QueryBuilder::QueryBuilder(Dialogs& dialogs, std::function<void()> formatError)
    : dialogs_(dialogs), formatError_(std::move(formatError)) {}

void QueryBuilder::refuse(const char* text, const char* title) const {
    dialogs_.message(Message{text, title, Buttons::Ok, Icon::Exclamation});
}

bool QueryBuilder::convert(std::string& value, DataTypes type, bool crystal) const {
    const DateTimeCheck check(dialogs_, formatError_);
    switch (type) {
    case DataTypes::Data: {
        std::string text = vbTrim(value);
        const auto date = check.check(type, text) ? parseDate(text) : std::nullopt;
        if (!date) {
            refuse(kDateText, kDateTitle);
            return false;
        }
        const std::string dd = twoDigits(date->day), mm = twoDigits(date->month),
                          yyyy = fourDigits(date->year);
        value = crystal ? "Date(" + yyyy + "," + mm + "," + dd + ")" : "#" + mm + "/" + dd + "/" + yyyy + "#";
        return true;
    }
    case DataTypes::ora: {
        std::string text = vbTrim(value);
        const auto time = check.check(type, text) ? parseTime(text) : std::nullopt;
        if (!time) {
            refuse(kTimeText, kTimeTitle);
            return false;
        }
        value = crystal ? "'" + vbTrim(text) + "'"
                        : "#" + twoDigits(time->hour) + "." + twoDigits(time->minute) + "#";
        return true;
    }
    case DataTypes::DataOra: {
        std::string text = vbTrim(value);
        const auto moment = check.check(type, text) ? parseDate(text) : std::nullopt;
        if (!moment) {
            refuse(kDateTimeText, kDateTitle);
            return false;
        }
        const std::string dd = twoDigits(moment->day), mm = twoDigits(moment->month),
                          yyyy = fourDigits(moment->year);
        const std::string hhmm = twoDigits(moment->hour) + "." + twoDigits(moment->minute);
        if (crystal)
            value = "Date(" + yyyy + "," + mm + "," + dd + " " + hhmm + ")";
        else
            value = "#" + mm + "/" + dd + "/" + yyyy + (hhmm == "00.00" ? "" : " " + hhmm) + "#";
        return true;
    }
    case DataTypes::testo:
        value = "'" + vbTrim(doubleQuotes(value)) + "'";
        return true;
    default: {
        // Bare values go straight into the statement: only numbers (and plain words for
        // the kinds that are not numbers) may get there.
        std::string text = vbTrim(value);
        if (isPlainNumber(text)) {
            replaceAll(text, ',', ".");  // a decimal comma would split the value in SQL
        } else if (isNumericKind(type) || !isPlainWord(text)) {
            refuse(kValueText, kValueTitle);
            return false;
        }
        value = text;
        return true;
    }
    }
}

QueryCondition QueryBuilder::build(std::string_view criterion, std::string_view dataField, DataTypes type,
                                   QueryDest dialect) const {
    QueryCondition result;
    std::string s = vbTrim(criterion);
    if (dataField.empty() || s.empty()) return result;

    const bool crystal = dialect == QueryDest::Crystal_Reports;
    const std::string fld = crystal ? "{" + vbTrim(dataField) + "}" : std::string(dataField);

    if (s == "=") {
        result.condition = type == DataTypes::testo ? "Len(Trim(" + fld + "))=0" : fld + " IS NULL";
        return result;
    }

    std::string op;
    while (!s.empty() && (s[0] == '>' || s[0] == '<' || s[0] == '=')) {
        op += s[0];
        s.erase(0, 1);
    }

    std::vector<std::string> values;
    if (!op.empty()) {
        values.push_back(vbTrim(s));
    } else {
        const std::size_t colon = s.find(':');
        if (colon != std::string::npos && colon != 0 && colon != s.size() - 1) {
            op = "BETWEEN";
            values.push_back(s.substr(0, colon));
            values.push_back(s.substr(colon + 1));
        } else if (s.find('|') != std::string::npos) {
            op = "IN";
            std::string list = s;
            if (!list.empty() && list.front() == '|') list.erase(0, 1);
            if (!list.empty() && list.back() == '|') list.pop_back();
            std::size_t from = 0;
            for (;;) {
                const std::size_t bar = list.find('|', from);
                values.push_back(list.substr(from, bar == std::string::npos ? std::string::npos : bar - from));
                if (bar == std::string::npos) break;
                from = bar + 1;
            }
            if (values.size() > kMaxValues) {
                refuse(kTooManyText, "TROPPI VALORI");
                result.success = false;
                return result;
            }
        } else if (type == DataTypes::testo &&
                   (s.find('?') != std::string::npos || s.find('%') != std::string::npos)) {
            op = "LIKE";
            values.push_back(s);
        } else if (type == DataTypes::testo) {
            op = "LIKE";
            std::string contains = "%" + s + "%";
            replaceAll(contains, '*', "%");
            values.push_back(contains);
        } else {
            op = "=";
            values.push_back(s);
        }
    }

    for (auto& v : values) {
        if (!convert(v, type, crystal)) {
            result.success = false;
            return result;
        }
        v = vbTrim(v);
    }

    std::string c;
    if (op == "<" || op == "<=" || op == "=<") {
        c = "(IsNull(" + fld + ") OR " + fld + " " + op + " " + values[0] + ")";
    } else if (op == "BETWEEN") {
        c = fld + (crystal ? " IN " : " BETWEEN ") + values[0] + (crystal ? " TO " : " AND ") + values[1];
    } else if (op == "IN") {
        if (crystal) {
            c = "(";
            for (const auto& v : values) c = vbTrim(c) + " " + fld + " = " + v + " OR";
            c = c.substr(0, c.size() - 2) + ")";
        } else {
            c = fld + " IN (";
            for (const auto& v : values) c = vbTrim(c) + " " + v + ",";
            c.back() = ')';
        }
    } else {
        c = fld + " " + op + " " + values[0];
    }
    result.condition = std::move(c);
    return result;
}

}  // namespace zq
