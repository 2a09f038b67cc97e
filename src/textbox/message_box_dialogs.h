#pragma once
// The Dialogs a control uses when its host gave it none: Qt message boxes and pickers.

#include "common/dialogs.h"

namespace zq {

class MessageBoxDialogs : public Dialogs {
public:
    Answer message(const Message& m) override;
    std::optional<std::string> pickFolder(const std::string& title, const std::string& startFolder) override;
    std::optional<std::string> pickFile(const std::string& title, const std::string& filter,
                                        const std::string& startPath) override;
    void beep() override;
};

}  // namespace zq
