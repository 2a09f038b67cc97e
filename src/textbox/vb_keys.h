#pragma once
// Key codes as the controls' events carry them, the list's and the text box's alike:
// KeyDown gets a key code (Insert 45, Delete 46, arrows 37..40, Enter 13, Escape 27,
// letters 65..90 …) and a shift mask (1 Shift, 2 Ctrl, 4 Alt); KeyPress gets the
// character code (Enter 13, Escape 27, Backspace 8, letters as typed, è 232).
// Part of the control support library, which the list and Lumetext both link.

class QKeyEvent;

namespace zq {

/// Translation of Qt key events into the controls' key codes.
class VbKeys {
public:
    /// The KeyDown code of a key event; 0 for keys without one.
    static int keyCode(const QKeyEvent& e);
    /// The KeyDown shift mask of a key event.
    static int shiftMask(const QKeyEvent& e);
    /// The KeyPress character code of a key event; 0 when the key types nothing.
    static int keyAscii(const QKeyEvent& e);
};

}  // namespace zq
