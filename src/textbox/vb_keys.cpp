#include "textbox/vb_keys.h"

#include <QKeyEvent>

namespace zq {

namespace {

int specialKeyCode(int key)
{
    switch (key) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: case Qt::Key_Backtab: return 9;
    case Qt::Key_Return: case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Pause: return 19;
    case Qt::Key_CapsLock: return 20;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    default: return 0;
    }
}

}  // namespace

int VbKeys::keyCode(const QKeyEvent& e)
{
    const int key = e.key();
    if (const int code = specialKeyCode(key))
        return code;
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return (e.modifiers() & Qt::KeypadModifier) ? 96 + (key - Qt::Key_0) : key;
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return key;
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return 112 + (key - Qt::Key_F1);
    return 0;
}

int VbKeys::shiftMask(const QKeyEvent& e)
{
    int mask = 0;
    if (e.modifiers() & Qt::ShiftModifier) mask |= 1;
    if (e.modifiers() & Qt::ControlModifier) mask |= 2;
    if (e.modifiers() & Qt::AltModifier) mask |= 4;
    return mask;
}

int VbKeys::keyAscii(const QKeyEvent& e)
{
    switch (e.key()) {
    case Qt::Key_Return: case Qt::Key_Enter: return 13;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: return 9;
    case Qt::Key_Delete: return 0;
    default: break;
    }
    const QString text = e.text();
    if (text.isEmpty())
        return 0;
    const int code = text.at(0).unicode();
    // Control characters other than the ones above come from navigation keys.
    if (code < 32 || code == 127)
        return 0;
    return code;
}

}  // namespace zq
