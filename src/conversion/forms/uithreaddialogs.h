#pragma once
// A Dialogs for engines that run on a worker thread: every message and picker is shown
// by the Dialogs it wraps, on the thread that created this object (the user-interface
// thread), and the worker waits for the answer. Calls made on that thread itself go
// straight through.
//
// Once detach() has been called nothing more is shown: questions get the answer that
// lets the run wind down (No, Cancel, Ignore), so a window that is going away cannot
// be held up by a question nobody will see.

#include "common/dialogs.h"

#include <QObject>

#include <atomic>
#include <memory>

namespace zq {

class UiThreadDialogs final : public Dialogs {
public:
    /// `target` is used on the calling thread only; it must outlive this object.
    explicit UiThreadDialogs(Dialogs& target);
    ~UiThreadDialogs() override;

    Answer message(const Message& m) override;
    std::optional<std::string> pickFolder(const std::string& title, const std::string& startFolder) override;
    std::optional<std::string> pickFile(const std::string& title, const std::string& filter,
                                        const std::string& startPath) override;
    void beep() override;

    /// From now on answers without showing anything.
    void detach() { detached_ = true; }

    /// The answer given to `m` once detached.
    static Answer quietAnswer(const Message& m);

private:
    /// Runs `call` on the user-interface thread and waits for it; exceptions thrown
    /// there are rethrown here.
    template <class F>
    void onUiThread(F&& call);

    Dialogs& target_;
    std::unique_ptr<QObject> anchor_;  // lives on the user-interface thread
    std::atomic<bool> detached_{false};
};

}  // namespace zq
