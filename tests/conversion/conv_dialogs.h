#pragma once
// The conversion run's messages as the person reads them, and scripted dialogs that let
// a test act while one of them is on the screen.

#include "scripted_dialogs.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace zq::test {

class HookedDialogs : public ScriptedDialogs {
public:
    std::function<void(const Message&)> onMessage;  ///< runs before the script answers
    Answer message(const Message& m) override {
        if (onMessage) onMessage(m);
        return ScriptedDialogs::message(m);
    }
};

/// Every part of a message of the run, whose title is always the form's caption.
inline void expectConvMessage(const Message& m, const std::string& text, Buttons buttons, Icon icon) {
    EXPECT_EQ(m.text, text);
    EXPECT_EQ(m.title, "Conversione da PDF a TIF");
    EXPECT_EQ(m.buttons, buttons);
    EXPECT_EQ(m.icon, icon);
}

inline std::string convQuestion(long n, const std::string& archivio, const std::string& path) {
    return lines({"Rilevati n. " + std::to_string(n), "documenti di " + archivio, "nel percorso " + path + ".",
                  "Continuo?"});
}
inline std::string convClosing(const std::string& archivio, const std::string& path) {
    return lines({"I documenti " + archivio, "nel percorso " + path, "sono stati convertiti in formato tiff."});
}
inline std::string convNothingFound(const std::string& archivio, const std::string& path) {
    return lines({"Non sono stati trovati documenti PDF  in  " + archivio, "nel percorso " + path + "."});
}

}  // namespace zq::test
