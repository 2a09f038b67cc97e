#include "dataaccess/sql_text.h"

#include <charconv>
#include <cstdio>

namespace zq {

std::string sqlQuote(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    out += '\'';
    for (char c : text) {
        if (c == '\'') out += '\'';
        out += c;
    }
    out += '\'';
    return out;
}

static std::string numberText(double d) {
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, d);
    return std::string(buf, res.ptr);
}

std::string sqlLiteral(const Value& v) {
    switch (v.kind()) {
    case ValueKind::Empty:
    case ValueKind::Null: return "NULL";
    case ValueKind::Boolean: return v.toBool() ? "1" : "0";
    case ValueKind::Integer: return std::to_string(v.toInteger());
    case ValueKind::Decimal: return numberText(v.toDouble());
    case ValueKind::Text: return sqlQuote(*v.textIf());
    case ValueKind::DateTime: return sqlQuote(isoText(v.toDateTime()));
    case ValueKind::Currency: return v.toCurrency().plainText();
    }
    return "NULL";
}

std::string sqliteName(std::string_view name) {
    std::string out = "\"";
    for (char c : name) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + '"';
}

bool isPlainIdentifier(std::string_view name) {
    if (name.empty()) return false;
    auto alpha = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; };
    if (!alpha(name[0])) return false;
    for (char c : name)
        if (!alpha(c) && !(c >= '0' && c <= '9')) return false;
    return true;
}

std::string remoteName(std::string_view name) {
    return isPlainIdentifier(name) ? std::string(name) : sqliteName(name);
}

std::string lowerAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string upperAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

bool iequals(std::string_view a, std::string_view b) {
    return a.size() == b.size() && lowerAscii(a) == lowerAscii(b);
}

std::string trimBlanks(std::string_view s) {
    const char* ws = " \t\r\n";
    auto b = s.find_first_not_of(ws);
    if (b == std::string_view::npos) return {};
    auto e = s.find_last_not_of(ws);
    return std::string(s.substr(b, e - b + 1));
}

std::vector<std::string> splitTopLevel(std::string_view s, char sep) {
    std::vector<std::string> parts;
    std::string cur;
    char quote = 0;
    int depth = 0;
    for (char c : s) {
        if (quote) {
            cur += c;
            if (c == quote) quote = 0;  // a doubled quote reopens at once: same result
            continue;
        }
        if (c == '\'' || c == '"') quote = c;
        else if (c == '(' || c == '{') ++depth;
        else if ((c == ')' || c == '}') && depth > 0) --depth;
        else if (c == sep && depth == 0) {
            parts.push_back(cur);
            cur.clear();
            continue;
        }
        cur += c;
    }
    parts.push_back(cur);
    return parts;
}

std::string unquote(std::string_view s) {
    if (s.size() < 2 || (s.front() != '\'' && s.front() != '"') || s.back() != s.front())
        return std::string(s);
    char q = s.front();
    std::string out;
    for (size_t i = 1; i + 1 < s.size(); ++i) {
        out += s[i];
        if (s[i] == q && i + 2 < s.size() && s[i + 1] == q) ++i;
    }
    return out;
}

std::string isoText(const DateTime& d) {
    char buf[32];
    if (d.hasTime())
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", d.year, d.month, d.day,
                      d.hour, d.minute, d.second);
    else
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.year, d.month, d.day);
    return buf;
}

static bool digits(std::string_view s, size_t pos, size_t n, int& out) {
    if (pos + n > s.size()) return false;
    out = 0;
    for (size_t i = pos; i < pos + n; ++i) {
        if (s[i] < '0' || s[i] > '9') return false;
        out = out * 10 + (s[i] - '0');
    }
    return true;
}

bool parseIsoDate(std::string_view s, DateTime& out) {
    DateTime d{};
    d.hour = d.minute = d.second = 0;
    if (!digits(s, 0, 4, d.year) || s.size() < 10 || s[4] != '-' || !digits(s, 5, 2, d.month) ||
        s[7] != '-' || !digits(s, 8, 2, d.day))
        return false;
    if (s.size() > 10) {
        if ((s[10] != ' ' && s[10] != 'T') || !digits(s, 11, 2, d.hour) || s.size() < 16 ||
            s[13] != ':' || !digits(s, 14, 2, d.minute))
            return false;
        if (s.size() > 16) {
            if (s[16] != ':' || !digits(s, 17, 2, d.second)) return false;
            // fractions of a second are accepted and dropped
            if (s.size() > 19 && s[19] != '.') return false;
        }
    }
    if (!d.isValid()) return false;
    out = d;
    return true;
}

bool parseDmyDate(std::string_view s, DateTime& out) {
    int parts[3] = {0, 0, 0};
    int part = 0, digitsInPart = 0;
    for (char c : s) {
        if (c == '/') {
            if (digitsInPart == 0 || ++part > 2) return false;
            digitsInPart = 0;
        } else if (c >= '0' && c <= '9') {
            parts[part] = parts[part] * 10 + (c - '0');
            if (++digitsInPart > (part == 2 ? 4 : 2)) return false;
        } else {
            return false;
        }
    }
    if (part != 2 || digitsInPart != 4) return false;
    DateTime d{};
    d.day = parts[0];
    d.month = parts[1];
    d.year = parts[2];
    d.hour = d.minute = d.second = 0;
    if (!d.isValid()) return false;
    out = d;
    return true;
}

}  // namespace zq
