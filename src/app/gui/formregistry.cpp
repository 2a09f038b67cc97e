#include "app/gui/formregistry.h"

#include "app/gui/formgeometry.h"
#include "app/gui/frmmain.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QWidget>

namespace zq {
namespace {

// The window that carries the form's frame: its MDI sub-window, or the form itself.
QWidget* frameOf(QWidget* form) {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(form->parentWidget()))
        return sub;
    return form;
}

QAction* entryNamed(const QString& name) {
    if (name.isEmpty() || !MainForm())
        return nullptr;
    return MainForm()->menuEntry(name);
}

}  // namespace

QString formSection(const QWidget* form) {
    QString name = form->objectName();
    if (name.isEmpty()) {
        name = QString::fromLatin1(form->metaObject()->className());
        name = name.mid(name.lastIndexOf(QLatin1Char(':')) + 1);
    }
    return name + form->property("x_Form").toString();
}

void OpenForm(QWidget* form, QAction* entry) {
    const FormGeometry g = FormGeometry::read(
        formSection(form),
        FormGeometry{kFormDefaultLeft, kFormDefaultTop, kFormDefaultWidth, kFormDefaultHeight});
    QWidget* frame = frameOf(form);
    auto* sub = qobject_cast<QMdiSubWindow*>(frame);
    if (sub && sub->mdiArea()) {
        // Children open filling the main window whatever geometry was stored.
        sub->setGeometry(QRect(QPoint(0, 0), sub->mdiArea()->viewport()->size()));
    } else {
        frame->move(g.pixelPos());
        frame->resize(g.pixelSize());
    }
    if (frmMain* main = MainForm())
        main->formOpened(entry);
}

void OpenForm(QWidget* form, const QString& entryName) { OpenForm(form, entryNamed(entryName)); }

void ClosForm(QWidget* form, QAction* entry) {
    QWidget* frame = frameOf(form);
    const Qt::WindowStates state = frame->windowState();
    if (!(state & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)))
        FormGeometry::fromPixels(frame->pos(), frame->size()).write(formSection(form));
    if (frmMain* main = MainForm())
        main->formClosed(entry);
}

void ClosForm(QWidget* form, const QString& entryName) { ClosForm(form, entryNamed(entryName)); }

int nForms() { return MainForm() ? MainForm()->openForms() : 0; }

}  // namespace zq
