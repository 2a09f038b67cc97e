#include "listctl/editor_hook.h"

#include "listctl/grdcomm.h"
#include "listctl/vb_keys.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>

namespace zq {

EditorHook::EditorHook(grdComm& list, QWidget* editor) : QObject(editor), list_(list), editor_(editor)
{
    editor->installEventFilter(this);
    for (QAbstractButton* button : editor->findChildren<QAbstractButton*>())
        button->installEventFilter(this);
}

bool EditorHook::insideEditor(const QWidget* w) const
{
    return w && (w == editor_ || editor_->isAncestorOf(w));
}

bool EditorHook::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        list_.TextEdit(editor_, VbKeys::keyCode(*key), VbKeys::shiftMask(*key));
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        // Once the list has taken the focus back, the key is spent.
        return enter || editor_->isHidden() || !insideEditor(QApplication::focusWidget());
    }
    if (event->type() == QEvent::FocusOut && !insideEditor(QApplication::focusWidget()))
        list_.AggiGrid(editor_);
    return QObject::eventFilter(watched, event);
}

}  // namespace zq
