#include "scripted_dialogs.h"

#include <gtest/gtest.h>

namespace zq::test {

Answer ScriptedDialogs::message(const Message& m) {
    messages_.push_back(m);
    if (onMessage) onMessage(m);
    if (!answers_.empty()) {
        const Answer a = answers_.front();
        answers_.pop_front();
        return a;
    }
    if (fallback_) return *fallback_;
    if (m.buttons == Buttons::Ok) return Answer::Ok;
    ADD_FAILURE() << "unexpected question: [" << m.title << "] " << m.text;
    return m.buttons == Buttons::AbortRetryIgnore ? Answer::Abort : Answer::Cancel;
}

std::optional<std::string> ScriptedDialogs::pickFolder(const std::string& title, const std::string&) {
    if (picks_.empty()) {
        ADD_FAILURE() << "unexpected folder picker: " << title;
        return std::nullopt;
    }
    auto p = picks_.front();
    picks_.pop_front();
    return p;
}

std::optional<std::string> ScriptedDialogs::pickFile(const std::string& title, const std::string&,
                                                     const std::string&) {
    return pickFolder(title, {});
}

std::vector<std::string> ScriptedDialogs::texts() const {
    std::vector<std::string> out;
    for (const auto& m : messages_) out.push_back(m.text);
    return out;
}

bool ScriptedDialogs::saw(const std::string& fragment) const {
    for (const auto& m : messages_)
        if (m.text.find(fragment) != std::string::npos) return true;
    return false;
}

std::string lines(std::initializer_list<std::string> parts) {
    std::string out;
    bool first = true;
    for (const auto& p : parts) {
        if (!first) out += "\r\n";
        out += p;
        first = false;
    }
    return out;
}

}  // namespace zq::test
