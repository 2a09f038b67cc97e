#pragma once
// A Progress for engines that run on a worker thread: each report is handed, in order,
// to the Progress it wraps on the thread that created this object (the user-interface
// thread), without waiting for it to be drawn. The stop request is a flag the
// user-interface thread sets and the worker reads.

#include "common/progress.h"

#include <QObject>

#include <atomic>
#include <functional>
#include <memory>

namespace zq {

class QueuedProgress final : public Progress {
public:
    /// `target` is used on the calling thread only; it must outlive this object.
    explicit QueuedProgress(Progress& target);
    ~QueuedProgress() override;

    void begin(const std::string& text) override;
    void end() override;
    void setLabel(const std::string& text) override;
    void setRange(long maximum) override;
    void setValue(long value) override;
    bool cancelRequested() const override { return cancel_; }

    /// Asks the run to stop ("Annulla"); safe from any thread.
    void requestCancel() { cancel_ = true; }
    /// Clears the request before a new run.
    void reset() { cancel_ = false; }

private:
    void post(std::function<void(Progress&)> call);

    Progress& target_;
    std::unique_ptr<QObject> anchor_;  // lives on the user-interface thread
    std::atomic<bool> cancel_{false};
};

}  // namespace zq
