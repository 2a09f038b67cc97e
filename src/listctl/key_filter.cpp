#include "listctl/key_filter.h"

namespace zq {

namespace {

bool inRange(int code, int lo, int hi) { return code >= lo && code <= hi; }

}  // namespace

int KeyFilter::upperLetter(int code)
{
    if (inRange(code, 97, 122))
        return code - 32;
    // Accented lower-case letters sit 32 above their capitals. 221..223 (Ý, Þ, ß)
    // and 247 (÷) are not lower-case letters: subtracting 32 would turn them into
    // "½", "¾", "¿" and "×".
    if (inRange(code, 224, 249) && code != 247)
        return code - 32;
    return code;
}

int KeyFilter::byMask(std::string_view mask, int code)
{
    if (mask.empty())
        return code;
    switch (mask.front()) {
    case 'A':
        return upperLetter(code);
    case 'L':
        if (inRange(code, 97, 122))
            code -= 32;
        return inRange(code, 65, 90) ? code : 0;
    case 'N':
        return inRange(code, 48, 57) || code == 44 || code == 45 ? code : 0;
    case 'I':
        return inRange(code, 48, 57) ? code : 0;
    case 'D':
        return inRange(code, 47, 57) ? code : 0;
    case 'H':
        return inRange(code, 48, 58) ? code : 0;
    default:
        return code;
    }
}

}  // namespace zq
