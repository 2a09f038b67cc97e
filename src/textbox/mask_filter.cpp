#include "textbox/mask_filter.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace zq {

namespace {

bool isDigit(int k) { return k >= '0' && k <= '9'; }
bool isUpperAscii(int k) { return k >= 'A' && k <= 'Z'; }
bool isLowerAscii(int k) { return k >= 'a' && k <= 'z'; }

// Lower-case accented letters of Windows-1252 (à..ù without ÷). The codes 221-223 and 247
// are not lower-case letters (Ý, Þ, ß, ÷): shifting them by 32 would type ½ ¾ ¿ ×.
bool isLowerAccented(int k) { return k >= 224 && k <= 249 && k != 247; }

bool isQueryOperator(int k) {
    switch (k) {
    case '>': case '<': case '=': case ':': case '|': case '?': case '*':
        return true;
    default:
        return false;
    }
}

constexpr int kRejected = 0;

// Applies one ruling mask character; nullopt when the character is a literal.
std::optional<int> applyRule(QChar rule, int k) {
    switch (rule.unicode()) {
    case 'A':
        return (isLowerAscii(k) || isLowerAccented(k)) ? k - 32 : k;
    case 'L':
        if (isLowerAscii(k)) k -= 32;
        return isUpperAscii(k) ? k : kRejected;
    case 'a':
        return isUpperAscii(k) ? k + 32 : k;
    case 'l':
        if (isUpperAscii(k)) k += 32;
        return isLowerAscii(k) ? k : kRejected;
    case 'N':
        if (k == '.') k = ',';
        return (isDigit(k) || k == ',' || k == '-') ? k : kRejected;
    case 'I':
        return (isDigit(k) || k == '-') ? k : kRejected;
    case 'D':
        return (isDigit(k) || k == '/') ? k : kRejected;
    case 'H':
        return (isDigit(k) || k == '.') ? k : kRejected;
    case 'T':
        return (isDigit(k) || k == '/' || k == ' ') ? k : kRejected;
    default:
        return std::nullopt;
    }
}

}  // namespace

MaskFilter::MaskFilter(QString mask, bool queryMode) : mask_(std::move(mask)), query_(queryMode) {}

MaskResult MaskFilter::filter(int key, const QString& text, int selStart) const {
    MaskResult r{key, text, selStart};
    // Backspace and the other control codes (copy, cut, undo …) are editing commands,
    // not typed characters.
    if (key < 32 || mask_.isEmpty()) return r;
    if (query_ && isQueryOperator(key)) return r;

    for (;;) {
        const bool beyond = r.selStart < 0 || r.selStart >= mask_.size();
        const QChar rule = beyond ? mask_.at(0) : mask_.at(r.selStart);
        if (const auto converted = applyRule(rule, key)) {
            r.key = *converted;
            return r;
        }
        if (query_) return r;
        // A mask that starts with a literal would insert that literal for ever once the
        // caret is past the mask's end: the mask's length is the most the box can hold.
        // The literals put in so far stay, so the closing one of "(NNN)" still appears.
        if (beyond) {
            r.key = kRejected;
            return r;
        }
        r.text += rule;
        ++r.selStart;
    }
}

MaskPaste MaskFilter::paste(const QString& pasted, const QString& text, int selStart, int selLength,
                            int maxLength) const {
    MaskPaste p;
    selStart = std::clamp(selStart, 0, static_cast<int>(text.size()));
    selLength = std::clamp(selLength, 0, static_cast<int>(text.size()) - selStart);
    p.text = text;
    p.text.remove(selStart, selLength);
    p.selStart = selStart;
    for (const QChar c : pasted) {
        if (maxLength > 0 && p.text.size() >= maxLength) {
            p.rejected = true;
            break;
        }
        const int code = c.unicode();
        // Line breaks and tabs of the clipboard would slip past the filter as control codes.
        if (code < 32) {
            p.rejected = true;
            continue;
        }
        MaskResult r = filter(code, p.text, p.selStart);
        if (r.key == kRejected) {
            p.rejected = true;
            if (maxLength <= 0 || r.text.size() <= maxLength) {
                p.text = r.text;
                p.selStart = std::min(r.selStart, static_cast<int>(p.text.size()));
            }
            continue;
        }
        if (maxLength > 0 && r.text.size() >= maxLength) {
            p.rejected = true;
            break;
        }
        p.text = r.text;
        p.selStart = std::min(r.selStart, static_cast<int>(p.text.size()));
        p.text.insert(p.selStart, QChar(r.key));
        ++p.selStart;
    }
    return p;
}

}  // namespace zq
