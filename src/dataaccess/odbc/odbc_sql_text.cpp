#include "dataaccess/odbc/odbc_sql_text.h"

#include "common/error.h"

#include <cctype>
#include <charconv>
#include <vector>

namespace zq {

namespace {

std::string lower(std::string s) {
    for (auto& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool isIdentChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

// Splits into words, quoted strings and single punctuation characters.
std::vector<std::string> tokens(const std::string& s) {
    std::vector<std::string> out;
    std::size_t i = 0;
    while (i < s.size()) {
        char c = s[i];
        if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
        } else if (c == '\'') {
            std::size_t j = i + 1;
            while (j < s.size()) {
                if (s[j] == '\'' && j + 1 < s.size() && s[j + 1] == '\'') j += 2;
                else if (s[j] == '\'') break;
                else ++j;
            }
            out.push_back(s.substr(i, j + 1 - i));
            i = j + 1;
        } else if (isIdentChar(c) || c == '.') {
            std::size_t j = i;
            while (j < s.size() && (isIdentChar(s[j]) || s[j] == '.')) ++j;
            out.push_back(s.substr(i, j - i));
            i = j;
        } else {
            out.push_back(std::string(1, c));
            ++i;
        }
    }
    return out;
}

[[noreturn]] void badCriteria(const std::string& c) {
    throw Error(kErrProviderFailure, "Find: unsupported condition \"" + c + "\" (expected column = 'value')",
                "ODBC Find");
}

}  // namespace

bool isPlainIdentifier(const std::string& name, bool allowOwner) {
    if (name.empty() || std::isdigit(static_cast<unsigned char>(name[0])) || name[0] == '.') return false;
    int dots = 0;
    for (char c : name) {
        if (c == '.') {
            if (!allowOwner || ++dots > 1) return false;
        } else if (!isIdentChar(c)) {
            return false;
        }
    }
    return name.back() != '.';
}

FindCriteria parseFindCriteria(const std::string& criteria) {
    auto eq = criteria.find('=');
    if (eq == std::string::npos) badCriteria(criteria);
    auto trim = [](std::string s) {
        auto b = s.find_first_not_of(" \t");
        auto e = s.find_last_not_of(" \t");
        return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
    };
    FindCriteria out;
    out.column = trim(criteria.substr(0, eq));
    // ADO also takes the column in brackets: [sys_seriale] = 'a0712'.
    if (out.column.size() > 2 && out.column.front() == '[' && out.column.back() == ']')
        out.column = out.column.substr(1, out.column.size() - 2);
    std::string v = trim(criteria.substr(eq + 1));
    if (!isPlainIdentifier(out.column, /*allowOwner=*/true) || v.empty()) badCriteria(criteria);
    if (v.front() == '\'') {
        if (v.size() < 2 || v.back() != '\'') badCriteria(criteria);
        std::string text;
        for (std::size_t i = 1; i + 1 < v.size(); ++i) {
            text += v[i];
            if (v[i] == '\'') {
                if (v[i + 1] != '\'' || i + 2 >= v.size()) badCriteria(criteria);
                ++i;
            }
        }
        out.value = Value(std::move(text));
        return out;
    }
    double d = 0;
    auto [p, ec] = std::from_chars(v.data(), v.data() + v.size(), d);
    if (ec != std::errc() || p != v.data() + v.size()) badCriteria(criteria);
    out.value = Value(d);
    return out;
}

std::string recordsetStatement(const std::string& sqlOrTable) {
    auto b = sqlOrTable.find_first_not_of(" \t\r\n");
    if (b == std::string::npos) return sqlOrTable;
    auto e = sqlOrTable.find_last_not_of(" \t\r\n");
    std::string t = sqlOrTable.substr(b, e - b + 1);
    if (isPlainIdentifier(t, /*allowOwner=*/true) && lower(t) != "select") return "SELECT * FROM " + t;
    return sqlOrTable;
}

std::string sourceTableOf(const std::string& sql) {
    const auto t = tokens(recordsetStatement(sql));
    if (t.empty() || lower(t[0]) != "select") return {};
    int depth = 0;
    std::size_t from = 0;
    for (std::size_t i = 1; i < t.size(); ++i) {
        if (t[i] == "(") ++depth;
        else if (t[i] == ")") --depth;
        else if (depth == 0 && lower(t[i]) == "from") {
            from = i;
            break;
        }
    }
    if (from == 0 || from + 1 >= t.size()) return {};
    const std::string table = t[from + 1];
    if (!isPlainIdentifier(table, /*allowOwner=*/true)) return {};
    std::size_t i = from + 2;
    // An alias, with or without AS.
    if (i < t.size() && lower(t[i]) == "as") i += 2;
    else if (i < t.size() && isPlainIdentifier(t[i]) && lower(t[i]) != "where" && lower(t[i]) != "order" &&
             lower(t[i]) != "group" && lower(t[i]) != "for")
        ++i;
    if (i >= t.size()) return table;
    const std::string next = lower(t[i]);
    if (next == "where" || next == "order" || next == "for" || next == ";") {
        // A subquery or a join condition further on would make the rows not one table's.
        for (std::size_t k = i; k < t.size(); ++k) {
            std::string w = lower(t[k]);
            if (w == "select" || w == "join" || w == "union") return {};
        }
        return table;
    }
    return {};
}

}  // namespace zq
