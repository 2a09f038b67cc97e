#pragma once
// A Progress that shows the wait window while an engine runs.

#include "common/progress.h"
#include "config/frmwait.h"

#include <QPointer>
#include <QString>

class QWidget;

namespace zq {

class frmWait;

class WaitProgress : public Progress {
public:
    /// `programFolder` is where the wait window finds its picture.
    explicit WaitProgress(QString programFolder, QWidget* owner = nullptr);
    ~WaitProgress() override;

    /// Creates the wait window, brings it to the front, shows it and lets it paint.
    /// A non-empty `text` replaces the window's own line.
    void begin(const std::string& text = {}) override;
    /// Closes and releases the window.
    void end() override;
    void setLabel(const std::string& text) override;

    /// The window while shown, else nullptr.
    frmWait* window() const { return wait_; }

private:
    QString programFolder_;
    QPointer<QWidget> owner_;
    QPointer<frmWait> wait_;
};

}  // namespace zq
