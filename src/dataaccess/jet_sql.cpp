#include "dataaccess/jet_sql.h"

#include "dataaccess/sql_text.h"

#include <regex>

namespace zq {

namespace {

bool wordChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           static_cast<unsigned char>(c) >= 0x80;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool tableKeyword(const std::string& upperWord) {
    return upperWord == "FROM" || upperWord == "INTO" || upperWord == "UPDATE" || upperWord == "JOIN" ||
           upperWord == "TABLE";
}

// Skips a quoted piece or comment starting at i; returns the index after it.
size_t skipLiteral(const std::string& s, size_t i) {
    char c = s[i];
    if (c == '\'' || c == '"' || c == '`') {
        for (size_t j = i + 1; j < s.size(); ++j)
            if (s[j] == c) {
                if (j + 1 < s.size() && s[j + 1] == c) ++j;
                else return j + 1;
            }
        return s.size();
    }
    if (c == '[') {
        auto e = s.find(']', i);
        return e == std::string::npos ? s.size() : e + 1;
    }
    if (c == '-' && i + 1 < s.size() && s[i + 1] == '-') {
        auto e = s.find('\n', i);
        return e == std::string::npos ? s.size() : e + 1;
    }
    if (c == '/' && i + 1 < s.size() && s[i + 1] == '*') {
        auto e = s.find("*/", i + 2);
        return e == std::string::npos ? s.size() : e + 2;
    }
    return i;
}

bool numericWord(const std::string& word, char next) {
    static const std::regex integer(R"(^\d+$)");
    static const std::regex exponent(R"(^\d+[eE]\d+$)");
    static const std::regex signedExponent(R"(^\d+[eE]$)");
    static const std::regex hex(R"(^0[xX][0-9a-fA-F]+$)");
    if (std::regex_match(word, integer) || std::regex_match(word, exponent) || std::regex_match(word, hex))
        return true;
    return std::regex_match(word, signedExponent) && (next == '+' || next == '-');
}

}  // namespace

std::string jetSqlForSqlite(const std::string& sql) {
    std::string out;
    out.reserve(sql.size() + 8);
    std::string lastWord;  // upper case, the word before the current one
    size_t i = 0;
    while (i < sql.size()) {
        size_t after = skipLiteral(sql, i);
        if (after != i) {
            out.append(sql, i, after - i);
            lastWord.clear();
            i = after;
            continue;
        }
        if (!wordChar(sql[i])) {
            out += sql[i];
            if (sql[i] != ' ' && sql[i] != '\t' && sql[i] != '\r' && sql[i] != '\n') lastWord.clear();
            ++i;
            continue;
        }
        size_t end = i;
        while (end < sql.size() && wordChar(sql[end])) ++end;
        std::string word = sql.substr(i, end - i);
        char next = end < sql.size() ? sql[end] : '\0';
        bool fraction = i >= 2 && sql[i - 1] == '.' && isDigit(sql[i - 2]);
        bool name = isDigit(word[0]) && !fraction && (tableKeyword(lastWord) || !numericWord(word, next));
        out += name ? sqliteName(word) : word;
        lastWord = upperAscii(word);
        i = end;
    }
    return out;
}

}  // namespace zq
