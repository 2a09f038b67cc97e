#include "conversion/forms/queuedprogress.h"

#include <QMetaObject>
#include <QThread>

namespace zq {

QueuedProgress::QueuedProgress(Progress& target) : target_(target), anchor_(std::make_unique<QObject>()) {}

QueuedProgress::~QueuedProgress() = default;

void QueuedProgress::post(std::function<void(Progress&)> call) {
    if (QThread::currentThread() == anchor_->thread()) {
        call(target_);
        return;
    }
    // Queued calls to one receiver run in the order they were posted, so the label and
    // the bar never show an older state after a newer one.
    QMetaObject::invokeMethod(anchor_.get(), [this, call = std::move(call)] { call(target_); },
                              Qt::QueuedConnection);
}

void QueuedProgress::begin(const std::string& text) {
    post([text](Progress& p) { p.begin(text); });
}

void QueuedProgress::end() {
    post([](Progress& p) { p.end(); });
}

void QueuedProgress::setLabel(const std::string& text) {
    post([text](Progress& p) { p.setLabel(text); });
}

void QueuedProgress::setRange(long maximum) {
    post([maximum](Progress& p) { p.setRange(maximum); });
}

void QueuedProgress::setValue(long value) {
    post([value](Progress& p) { p.setValue(value); });
}

}  // namespace zq
