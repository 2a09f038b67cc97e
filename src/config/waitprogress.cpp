#include "config/waitprogress.h"

#include "config/frmwait.h"

#include <QCoreApplication>

namespace zq {

WaitProgress::WaitProgress(QString programFolder, QWidget* owner)
    : programFolder_(std::move(programFolder)), owner_(owner) {}

WaitProgress::~WaitProgress() { end(); }

void WaitProgress::begin(const std::string& text) {
    if (!wait_) {
        wait_ = new frmWait(programFolder_, owner_);
        wait_->setClosable(false);
    }
    if (!text.empty())
        wait_->setText(QString::fromStdString(text));
    wait_->show();
    wait_->raise();
    QCoreApplication::processEvents();
}

void WaitProgress::end() {
    if (!wait_)
        return;
    delete wait_.data();
}

void WaitProgress::setLabel(const std::string& text) {
    if (wait_)
        wait_->setText(QString::fromStdString(text));
}

}  // namespace zq
