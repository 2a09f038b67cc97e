#pragma once
// Progress shown on a form's own bar and label, both hidden outside a run.

#include "common/progress.h"

class QLabel;
class QProgressBar;

namespace zq {

class BarProgress final : public Progress {
public:
    /// Neither is owned: they belong to the form.
    BarProgress(QProgressBar* bar, QLabel* label) : bar_(bar), label_(label) {}

    /// Shows the label (with `text`) and the bar.
    void begin(const std::string& text = {}) override;
    /// Hides both.
    void end() override;
    void setLabel(const std::string& text) override;
    void setRange(long maximum) override;
    void setValue(long value) override;

private:
    QProgressBar* bar_;
    QLabel* label_;
};

}  // namespace zq
