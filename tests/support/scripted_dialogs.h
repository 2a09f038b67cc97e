#pragma once
// A Dialogs for tests: records every message and answers from a queue. Each message,
// plain OK boxes included, takes the next queued answer. With the queue empty an OK box
// answers Ok, and any other message fails the test unless a default answer was set.

#include "common/dialogs.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zq::test {

class ScriptedDialogs : public Dialogs {
public:
    /// Queues the answer for the next message.
    ScriptedDialogs& then(Answer a) { answers_.push_back(a); return *this; }
    /// Answer given to every question once the queue is empty (instead of failing).
    void answerAlways(Answer a) { fallback_ = a; }
    /// Queues what the next folder or file picker returns (nothing = cancelled).
    void thenPick(std::optional<std::string> path) { picks_.push_back(std::move(path)); }

    Answer message(const Message& m) override;
    std::optional<std::string> pickFolder(const std::string& title, const std::string& start) override;
    std::optional<std::string> pickFile(const std::string& title, const std::string& filter,
                                        const std::string& start) override;
    void beep() override { ++beeps; }

    const std::vector<Message>& messages() const { return messages_; }
    /// The texts only, in order, for compact expectations.
    std::vector<std::string> texts() const;
    /// True when some message text contains the fragment.
    bool saw(const std::string& fragment) const;
    void clear() { messages_.clear(); }
    std::size_t pendingAnswers() const { return answers_.size(); }

    int beeps = 0;
    /// Runs before each message is answered (a test acting "while the box is open").
    std::function<void(const Message&)> onMessage;

private:
    std::vector<Message> messages_;
    std::deque<Answer> answers_;
    std::deque<std::optional<std::string>> picks_;
    std::optional<Answer> fallback_;
};

/// Joins lines with CR LF, as the program's messages are built.
std::string lines(std::initializer_list<std::string> parts);

}  // namespace zq::test
