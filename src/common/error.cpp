#include "common/error.h"

#include <cctype>
#include <utility>

namespace zq {

namespace {

bool keyEndsAt(const std::string& text, std::size_t eq, const char* key) {
    const std::size_t n = std::char_traits<char>::length(key);
    if (eq < n) return false;
    for (std::size_t i = 0; i < n; ++i)
        if (std::tolower(static_cast<unsigned char>(text[eq - n + i])) != key[i]) return false;
    return eq == n || !std::isalnum(static_cast<unsigned char>(text[eq - n - 1]));
}

// Where the value that starts at `from` ends: its closing brace ("}}" is a brace inside
// it), else the ";" or the quote that closes the SQL literal around the string.
std::size_t valueEnd(const std::string& text, std::size_t from) {
    if (from < text.size() && text[from] == '{') {
        for (std::size_t i = from + 1; i < text.size(); ++i) {
            if (text[i] != '}') continue;
            if (i + 1 < text.size() && text[i + 1] == '}') {
                ++i;
                continue;
            }
            return i + 1;
        }
        return text.size();
    }
    for (std::size_t i = from; i < text.size(); ++i) {
        if (text[i] == ';' || text[i] == '\r' || text[i] == '\n') return i;
        if (text[i] == '\'') {
            if (i + 1 < text.size() && text[i + 1] == '\'') {
                ++i;  // a quote of the password, doubled inside the literal
                continue;
            }
            return i;
        }
    }
    return text.size();
}

}  // namespace

std::string maskPasswords(std::string text) {
    for (std::size_t eq = text.find('='); eq != std::string::npos; eq = text.find('=', eq + 1)) {
        if (!keyEndsAt(text, eq, "password") && !keyEndsAt(text, eq, "pwd")) continue;
        const std::size_t end = valueEnd(text, eq + 1);
        if (end == eq + 1) continue;
        text.replace(eq + 1, end - eq - 1, "********");
    }
    return text;
}

Error::Error(long number, std::string description, std::string source, long systemCode)
    : std::runtime_error(std::to_string(number) + " - " + maskPasswords(description)),
      number_(number),
      description_(maskPasswords(std::move(description))),
      source_(std::move(source)),
      systemCode_(systemCode) {}

Error& Error::withDriverState(std::string sqlState, long nativeCode) {
    sqlState_ = std::move(sqlState);
    nativeCode_ = nativeCode;
    return *this;
}

}  // namespace zq
