#pragma once
// How engines talk to the person: message boxes with buttons and icon, and the folder
// and file pickers. Forms implement it with Qt, zelq on the terminal, tests with a
// script that records every message.

#include <optional>
#include <string>

namespace zq {

/// Buttons of a message box, with the original's style values.
enum class Buttons { Ok = 0, OkCancel = 1, AbortRetryIgnore = 2, YesNoCancel = 3, YesNo = 4, RetryCancel = 5 };
/// Icon of a message box, with the original's style values.
enum class Icon { None = 0, Critical = 16, Question = 32, Exclamation = 48, Information = 64 };
/// The answer, with the original's return values.
enum class Answer { Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

struct Message {
    std::string text;   ///< lines joined by CR LF, as the original builds them
    std::string title;  ///< empty: the application title
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::None;
};

/// Splits a combined style value (buttons + icon, e.g. 18 = AbortRetryIgnore + Critical).
Buttons buttonsOfStyle(int style);
Icon iconOfStyle(int style);

class Dialogs {
public:
    virtual ~Dialogs() = default;

    /// Shows a message and waits for the answer.
    virtual Answer message(const Message& m) = 0;

    /// Folder picker: nothing when cancelled.
    virtual std::optional<std::string> pickFolder(const std::string& title,
                                                  const std::string& startFolder) = 0;
    /// File picker ("Apri" dialog); filter like "Database (*.mdb)|*.mdb". Nothing when cancelled.
    virtual std::optional<std::string> pickFile(const std::string& title, const std::string& filter,
                                                const std::string& startPath) = 0;

    /// Lets pending window events run (the original's DoEvents); no-op headless.
    virtual void yield() {}
    /// A rejected keystroke or a refused action.
    virtual void beep() {}

    /// Shortcut with the original's numeric style (buttons + icon).
    Answer msgBox(const std::string& text, int style = 0, const std::string& title = {});
};

}  // namespace zq
