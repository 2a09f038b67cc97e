#include "config/conf/barprogress.h"

#include <QLabel>
#include <QProgressBar>
#include <QString>

namespace zq {

void BarProgress::begin(const std::string& text) {
    label_->setText(QString::fromStdString(text));
    label_->show();
    bar_->show();
}

void BarProgress::end() {
    label_->hide();
    bar_->hide();
}

void BarProgress::setLabel(const std::string& text) { label_->setText(QString::fromStdString(text)); }

void BarProgress::setRange(long maximum) { bar_->setRange(0, static_cast<int>(maximum)); }

void BarProgress::setValue(long value) { bar_->setValue(static_cast<int>(value)); }

}  // namespace zq
