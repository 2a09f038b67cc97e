#include "app/gui/childwindow.h"

#include "app/gui/formregistry.h"

#include <QAction>
#include <QCloseEvent>

namespace zq {

ChildWindow::ChildWindow(QAction* entry, QWidget* parent) : QMdiSubWindow(parent), entry_(entry) {
    setAttribute(Qt::WA_DeleteOnClose);
}

void ChildWindow::closeEvent(QCloseEvent* e) {
    QMdiSubWindow::closeEvent(e);  // asks the form; it may refuse
    if (!e->isAccepted() || released_)
        return;
    released_ = true;
    if (widget())
        ClosForm(widget(), entry_.data());
}

}  // namespace zq
