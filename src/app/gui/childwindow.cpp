#include "app/gui/childwindow.h"

#include "app/gui/formregistry.h"

#include <QAction>
#include <QCloseEvent>

namespace zq {

ChildWindow::ChildWindow(QAction* entry, QWidget* parent) : QMdiSubWindow(parent), entry_(entry) {
    setAttribute(Qt::WA_DeleteOnClose);
}

void ChildWindow::closeEvent(QCloseEvent* e) {
    frameClosing_ = true;
    QMdiSubWindow::closeEvent(e);  // asks the form; it may refuse
    frameClosing_ = false;
    if (e->isAccepted())
        release();
}

void ChildWindow::release() {
    if (released_)
        return;
    released_ = true;
    if (widget())
        ClosForm(widget(), entry_.data());
}

bool ChildWindow::eventFilter(QObject* watched, QEvent* e) {
    if (watched != widget() || e->type() != QEvent::Close || released_)
        return QMdiSubWindow::eventFilter(watched, e);
    if (QMdiSubWindow::eventFilter(watched, e))
        return true;
    // The form decides first; its answer tells whether it goes, whoever asked.
    static_cast<QObject*>(watched)->event(e);
    if (e->isAccepted()) {
        const bool frameAsked = frameClosing_;
        release();
        if (!frameAsked) {
            hide();
            deleteLater();
        }
    }
    return true;
}

}  // namespace zq
