#pragma once
// The keystroke filter of the formatted text box: a mask string read one character per
// text position says what may be typed there and how the key is converted.
//
//   "A" upper case, everything passes      "a" lower case, everything passes
//   "L" letters A-Z only (upper-cased)     "l" letters a-z only (lower-cased)
//   "N" digits "," "-" ("." becomes ",")   "I" digits and "-"
//   "D" digits and "/"                     "H" digits and "."
//   "T" digits, "/" and the space          anything else: a literal
//
// Beyond the mask's last position the first mask character rules. In normal mode a literal
// is put into the text for the person (NN/NN/NNNN: typing the fifth character brings the
// "/" in and lands after it); in query mode a literal lets the key pass, and so do the
// criterion operators > < = : | ? *.

#include "textbox/lumetext_export.h"

#include <QString>

namespace zq {

/// Outcome of one keystroke.
struct MaskResult {
    int key = 0;       ///< character code to type; 0 = rejected (the caller beeps)
    QString text;      ///< the box's text after any literal insertion (kept on rejection too)
    int selStart = 0;  ///< the caret after any literal insertion
};

/// Outcome of a paste, filtered character by character.
struct MaskPaste {
    QString text;           ///< the box's new text
    int selStart = 0;       ///< the caret after the pasted text
    bool rejected = false;  ///< some characters were dropped (the caller beeps once)
};

class LUMETEXT_EXPORT MaskFilter {
public:
    /// mask: the InputMask in normal mode, the QueryMask in query mode; empty = no filter.
    MaskFilter(QString mask, bool queryMode);

    /// Filters one typed character (a Unicode code point; the Windows-1252 letters the
    /// masks know have the same codes) for a box holding text with the caret at selStart.
    MaskResult filter(int key, const QString& text, int selStart) const;

    /// Filters a pasted text as if it were typed at the caret, replacing the selection;
    /// maxLength 0 means no limit. Characters the mask refuses are dropped.
    MaskPaste paste(const QString& pasted, const QString& text, int selStart, int selLength,
                    int maxLength) const;

    bool isActive() const { return !mask_.isEmpty(); }

private:
    QString mask_;
    bool query_;
};

}  // namespace zq
