#pragma once
// The Dialogs of zelq: every message is printed as "TYPE title: text" (TYPE from the
// icon: INFO, WARNING, ERROR, QUESTION; further lines of the text indented). Questions
// are answered by --yes / --no, else on the terminal; with neither and no terminal the
// answer is No (Cancel, Abort for the error report) and is printed.

#include "common/dialogs.h"

#include <iosfwd>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace zq {

class TerminalDialogs final : public Dialogs {
public:
    /// How questions are answered.
    enum class Mode { Ask, Yes, No };

    TerminalDialogs(Mode mode, std::ostream& out, std::istream& in, bool interactive);

    Answer message(const Message& m) override;
    std::optional<std::string> pickFolder(const std::string& title, const std::string& start) override;
    std::optional<std::string> pickFile(const std::string& title, const std::string& filter,
                                        const std::string& start) override;

    /// Answers the question whose text is exactly `text` with `a` whatever the mode, for
    /// a command option that settles one question of a run (printed as any other).
    void presetAnswer(std::string text, Answer a) { presets_[std::move(text)] = a; }
    /// The same for every question whose text starts with `prefix` (questions that name
    /// the table they are about).
    void presetAnswerStartingWith(std::string prefix, Answer a) { prefixPresets_.emplace_back(std::move(prefix), a); }
    /// How questions are answered when no preset applies.
    Mode mode() const { return mode_; }

    /// "INFO", "WARNING", "ERROR" or "QUESTION" for a message.
    static const char* typeOf(const Message& m);
    /// The printed form of a message, without a final line end.
    static std::string format(const Message& m);
    /// The Italian caption of an answer ("Sì", "No", "Annulla" …).
    static const char* answerName(Answer a);

private:
    Answer decide(const Message& m);
    Answer askTerminal(const Message& m);

    Mode mode_;
    std::ostream& out_;
    std::istream& in_;
    bool interactive_;
    std::map<std::string, Answer> presets_;
    std::vector<std::pair<std::string, Answer>> prefixPresets_;
};

}  // namespace zq
