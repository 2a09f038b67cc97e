#pragma once
// What a keystroke becomes when it opens a text editor over a cell: the editor's
// input mask decides, by its first character alone.
//   "A" letters up-cased, nothing rejected      "L" letters up-cased, only A-Z pass
//   "N" digits, "," and "-"                     "I" digits only
//   "D" digits and "/"                           "H" digits and ":"
//   empty or any other first character: the key passes unchanged.
// Codes are Windows-1252, equal to Unicode for the letters involved; 0 is a
// rejected key.

#include <string_view>

namespace zq {

/// Key-code rules of the in-grid editors.
class KeyFilter {
public:
    /// The code after the mask's rule; 0 when the mask rejects the key.
    static int byMask(std::string_view mask, int keyAscii);

    /// Upper case of a lower-case letter code (a-z and the accented à..ù), the
    /// code itself for anything else.
    static int upperLetter(int keyAscii);
};

}  // namespace zq
