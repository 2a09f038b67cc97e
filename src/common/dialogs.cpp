#include "common/dialogs.h"

namespace zq {

Buttons buttonsOfStyle(int style) { return static_cast<Buttons>(style & 0x0F); }

Icon iconOfStyle(int style) { return static_cast<Icon>(style & 0x70); }

Answer Dialogs::msgBox(const std::string& text, int style, const std::string& title) {
    return message(Message{text, title, buttonsOfStyle(style), iconOfStyle(style)});
}

}  // namespace zq
