#pragma once
// A Progress shown in a form's own progress bar and label (frmMast's prbMast and
// lblMast, frmAggP's prbAggP and lblAggP) instead of the wait window: shown while a
// run works, hidden after it.

#include "common/progress.h"

#include <QPointer>

class QLabel;
class QProgressBar;

namespace zq {

class BarProgress : public Progress {
public:
    BarProgress(QProgressBar* bar, QLabel* label);

    /// Shows bar and label, the label with `text`; the bar runs without an end until
    /// setRange gives it one. The mouse pointer shows the program is busy.
    void begin(const std::string& text = {}) override;
    /// Hides bar and label and gives the mouse pointer back.
    void end() override;
    void setLabel(const std::string& text) override;
    void setRange(long maximum) override;
    void setValue(long value) override;

    bool running() const { return running_; }

private:
    QPointer<QProgressBar> bar_;
    QPointer<QLabel> label_;
    bool running_ = false;
};

}  // namespace zq
