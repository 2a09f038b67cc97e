#include "runtime/text.h"

#include <cstdint>
#include <stdexcept>

namespace zq {

namespace {

// One UTF-8 sequence at s[i]: its code point and length; a byte that starts no valid
// sequence counts as one character of its own, so broken input is never lost.
struct CodePoint {
    char32_t cp;
    std::size_t len;
    bool valid;
};

CodePoint decodeAt(std::string_view s, std::size_t i) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) return {b0, 1, true};
    std::size_t len = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if (b0 >= 0xC2 && b0 <= 0xDF) { len = 2; cp = b0 & 0x1F; minimum = 0x80; }
    else if (b0 >= 0xE0 && b0 <= 0xEF) { len = 3; cp = b0 & 0x0F; minimum = 0x800; }
    else if (b0 >= 0xF0 && b0 <= 0xF4) { len = 4; cp = b0 & 0x07; minimum = 0x10000; }
    else return {b0, 1, false};
    if (i + len > s.size()) return {b0, 1, false};
    for (std::size_t k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) return {b0, 1, false};
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return {b0, 1, false};
    return {cp, len, true};
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// The letters the original's code page knows in both cases.
char32_t lowerOf(char32_t c) {
    if (c >= 'A' && c <= 'Z') return c + 32;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
    switch (c) {
        case 0x152: return 0x153;  // Œ
        case 0x160: return 0x161;  // Š
        case 0x17D: return 0x17E;  // Ž
        case 0x178: return 0xFF;   // Ÿ
        default: return c;
    }
}

char32_t upperOf(char32_t c) {
    if (c >= 'a' && c <= 'z') return c - 32;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32;
    switch (c) {
        case 0x153: return 0x152;
        case 0x161: return 0x160;
        case 0x17E: return 0x17D;
        case 0xFF: return 0x178;
        default: return c;
    }
}

template <typename Map>
std::string mapCase(std::string_view s, Map map) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        const CodePoint c = decodeAt(s, i);
        if (c.valid) appendUtf8(out, map(c.cp));
        else out += s[i];
        i += c.len;
    }
    return out;
}

// Byte offset of the character with 0-based index n (s.size() when past the end).
std::size_t byteOffsetOfChar(std::string_view s, std::size_t n) {
    std::size_t i = 0;
    while (n > 0 && i < s.size()) {
        i += decodeAt(s, i).len;
        --n;
    }
    return i;
}

std::size_t charCount(std::string_view s, std::size_t bytes) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < bytes && i < s.size(); i += decodeAt(s, i).len) ++n;
    return n;
}

}  // namespace

std::string vbLTrim(std::string_view s) {
    const auto first = s.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string() : std::string(s.substr(first));
}

std::string vbRTrim(std::string_view s) {
    const auto last = s.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string() : std::string(s.substr(0, last + 1));
}

std::string vbTrim(std::string_view s) { return vbLTrim(vbRTrim(s)); }

std::string vbLCase(std::string_view s) { return mapCase(s, lowerOf); }

std::string vbUCase(std::string_view s) { return mapCase(s, upperOf); }

std::string vbLeft(std::string_view s, std::size_t n) {
    return std::string(s.substr(0, byteOffsetOfChar(s, n)));
}

std::string vbMid(std::string_view s, std::size_t start1, std::size_t n) {
    if (start1 == 0) throw std::invalid_argument("Mid: la posizione iniziale parte da 1");
    const std::size_t from = byteOffsetOfChar(s, start1 - 1);
    const std::string_view rest = s.substr(from);
    return n == std::string::npos ? std::string(rest) : std::string(rest.substr(0, byteOffsetOfChar(rest, n)));
}

std::size_t vbInStr(std::string_view s, std::string_view needle, std::size_t start1) {
    if (start1 == 0) throw std::invalid_argument("InStr: la posizione iniziale parte da 1");
    if (s.empty()) return 0;
    const std::size_t from = byteOffsetOfChar(s, start1 - 1);
    if (from >= s.size()) return 0;
    const std::size_t at = s.find(needle, from);
    return at == std::string_view::npos ? 0 : charCount(s, at) + 1;
}

namespace {

// Windows-1252 0x80..0x9F; the five unassigned codes pass through as the C1 control of
// that value, so a file read and written again keeps its bytes.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

std::string cp1252ToUtf8(std::string_view s) {
    std::string out;
    out.reserve(s.size() + s.size() / 4);
    for (const char ch : s) {
        const auto b = static_cast<unsigned char>(ch);
        if (b >= 0x80 && b <= 0x9F) appendUtf8(out, kCp1252High[b - 0x80]);
        else appendUtf8(out, b);
    }
    return out;
}

std::optional<std::string> utf8ToCp1252(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        const CodePoint c = decodeAt(s, i);
        i += c.len;
        if (!c.valid) return std::nullopt;
        if (c.cp < 0x80 || (c.cp >= 0xA0 && c.cp <= 0xFF)) {
            out += static_cast<char>(c.cp);
            continue;
        }
        int code = -1;
        for (int k = 0; k < 32 && code < 0; ++k)
            if (kCp1252High[k] == c.cp) code = 0x80 + k;
        if (code < 0) return std::nullopt;
        out += static_cast<char>(code);
    }
    return out;
}

bool isValidUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const CodePoint c = decodeAt(s, i);
        if (!c.valid) return false;
        i += c.len;
    }
    return true;
}

}  // namespace zq
