// Text format codes: "@" a character or a blank, "&" a character or nothing, "<" and ">"
// lower and upper case, "!" fills the placeholders from the left.

#include "runtime/format_parts.h"
#include "runtime/text.h"

namespace zq::fmt {

namespace {

struct Item {
    char kind;  // '@', '&' or 'L'
    std::string text;
};

// The text split into characters (UTF-8 sequences kept whole).
std::vector<std::string> characters(const std::string& s) {
    std::vector<std::string> chars;
    for (std::size_t i = 0; i < s.size();) {
        std::size_t len = 1;
        while (i + len < s.size() && (static_cast<unsigned char>(s[i + len]) & 0xC0) == 0x80) ++len;
        chars.push_back(s.substr(i, len));
        i += len;
    }
    return chars;
}

}  // namespace

std::string formatText(const std::string& text, const std::vector<std::string>& sections) {
    // The second section is for an empty text.
    const std::string_view code = text.empty() && sections.size() >= 2 ? sections[1] : sections.front();
    std::vector<Item> items;
    bool lower = false, upper = false, leftToRight = false;
    std::string lit;
    for (std::size_t i = 0; i < code.size(); ++i) {
        if (const std::size_t len = literalAt(code, i, lit)) {
            items.push_back({'L', lit});
            i += len - 1;
            continue;
        }
        const char c = code[i];
        if (c == '<') lower = true, upper = false;
        else if (c == '>') upper = true, lower = false;
        else if (c == '!') leftToRight = true;
        else if (c == '@' || c == '&') items.push_back({c, {}});
        else items.push_back({'L', std::string(1, c)});
    }
    const std::string cased = upper ? vbUCase(text) : lower ? vbLCase(text) : text;
    const std::vector<std::string> chars = characters(cased);

    std::size_t slots = 0;
    for (const auto& it : items)
        if (it.kind != 'L') ++slots;
    if (slots == 0) {
        std::string out;
        for (const auto& it : items) out += it.text;
        return out + cased;
    }
    // Characters beyond the placeholders go before the first one (or, with "!", after
    // the last one): nothing typed is ever cut.
    const std::size_t extra = chars.size() > slots ? chars.size() - slots : 0;
    const std::size_t missing = slots > chars.size() ? slots - chars.size() : 0;
    std::string out;
    std::size_t slot = 0, next = 0;
    for (const auto& it : items) {
        if (it.kind == 'L') {
            out += it.text;
            continue;
        }
        const bool empty = leftToRight ? slot >= chars.size() : slot < missing;
        if (!leftToRight && slot == 0)
            for (std::size_t k = 0; k < extra; ++k) out += chars[next++];
        if (empty) {
            if (it.kind == '@') out += ' ';
        } else {
            out += chars[next++];
        }
        ++slot;
        if (leftToRight && slot == slots)
            while (next < chars.size()) out += chars[next++];
    }
    return out;
}

}  // namespace zq::fmt
