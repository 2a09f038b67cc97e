#include "config/barprogress.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>

namespace zq {

BarProgress::BarProgress(QProgressBar* bar, QLabel* label) : bar_(bar), label_(label) {}

void BarProgress::begin(const std::string& text) {
    if (bar_) {
        bar_->setRange(0, 0);
        bar_->show();
    }
    if (label_) {
        label_->setText(QString::fromStdString(text));
        label_->show();
    }
    if (!running_) QApplication::setOverrideCursor(Qt::WaitCursor);
    running_ = true;
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void BarProgress::end() {
    if (bar_) bar_->hide();
    if (label_) {
        label_->clear();
        label_->hide();
    }
    if (running_) QApplication::restoreOverrideCursor();
    running_ = false;
}

void BarProgress::setLabel(const std::string& text) {
    if (label_) label_->setText(QString::fromStdString(text));
}

void BarProgress::setRange(long maximum) {
    if (bar_) bar_->setRange(0, int(maximum));
}

void BarProgress::setValue(long value) {
    if (bar_) bar_->setValue(int(value));
}

}  // namespace zq
