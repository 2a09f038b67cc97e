#include "conversion/forms/uithreaddialogs.h"

#include <QMetaObject>
#include <QThread>

#include <exception>

namespace zq {

UiThreadDialogs::UiThreadDialogs(Dialogs& target) : target_(target), anchor_(std::make_unique<QObject>()) {}

UiThreadDialogs::~UiThreadDialogs() = default;

template <class F>
void UiThreadDialogs::onUiThread(F&& call) {
    if (QThread::currentThread() == anchor_->thread()) {
        call();
        return;
    }
    std::exception_ptr failure;
    // Blocking: the engine's next step depends on the answer.
    QMetaObject::invokeMethod(
        anchor_.get(),
        [&] {
            try {
                call();
            } catch (...) {
                failure = std::current_exception();
            }
        },
        Qt::BlockingQueuedConnection);
    if (failure) std::rethrow_exception(failure);
}

Answer UiThreadDialogs::quietAnswer(const Message& m) {
    switch (m.buttons) {
        case Buttons::Ok: return Answer::Ok;
        case Buttons::YesNo: return Answer::No;
        case Buttons::AbortRetryIgnore: return Answer::Ignore;
        case Buttons::OkCancel:
        case Buttons::YesNoCancel:
        case Buttons::RetryCancel: return Answer::Cancel;
    }
    return Answer::Cancel;
}

Answer UiThreadDialogs::message(const Message& m) {
    Answer a = quietAnswer(m);
    onUiThread([&] {
        // Checked on the user-interface thread: a detach that came while the call was
        // queued still keeps the box from showing.
        if (!detached_) a = target_.message(m);
    });
    return a;
}

std::optional<std::string> UiThreadDialogs::pickFolder(const std::string& title, const std::string& startFolder) {
    std::optional<std::string> picked;
    onUiThread([&] {
        if (!detached_) picked = target_.pickFolder(title, startFolder);
    });
    return picked;
}

std::optional<std::string> UiThreadDialogs::pickFile(const std::string& title, const std::string& filter,
                                                     const std::string& startPath) {
    std::optional<std::string> picked;
    onUiThread([&] {
        if (!detached_) picked = target_.pickFile(title, filter, startPath);
    });
    return picked;
}

void UiThreadDialogs::beep() {
    if (detached_) return;
    QMetaObject::invokeMethod(anchor_.get(), [this] { target_.beep(); }, Qt::QueuedConnection);
}

}  // namespace zq
