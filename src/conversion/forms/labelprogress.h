#pragma once
// The conversion form's own progress display: the status label lblTiff and the bar
// prbTiff, shown while an archive is converted and hidden again at its end.

#include "common/progress.h"

class QLabel;
class QProgressBar;

namespace zq {

class LabelProgress final : public Progress {
public:
    LabelProgress(QLabel* label, QProgressBar* bar) : label_(label), bar_(bar) {}

    void begin(const std::string& text) override;
    void end() override;
    void setLabel(const std::string& text) override;
    void setRange(long maximum) override;
    void setValue(long value) override;

private:
    QLabel* label_;
    QProgressBar* bar_;
};

}  // namespace zq
