#include "conversion/forms/labelprogress.h"

#include <QLabel>
#include <QProgressBar>

#include <algorithm>
#include <climits>

namespace zq {
namespace {

int barValue(long v) { return static_cast<int>(std::clamp<long>(v, 0, INT_MAX)); }

}  // namespace

void LabelProgress::begin(const std::string& text) {
    label_->setText(QString::fromStdString(text));
    label_->setVisible(true);
    bar_->setVisible(true);
}

void LabelProgress::end() {
    label_->setVisible(false);
    bar_->setVisible(false);
}

void LabelProgress::setLabel(const std::string& text) { label_->setText(QString::fromStdString(text)); }

void LabelProgress::setRange(long maximum) { bar_->setRange(0, barValue(maximum)); }

void LabelProgress::setValue(long value) { bar_->setValue(barValue(value)); }

}  // namespace zq
