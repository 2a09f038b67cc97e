#include "listctl/editor_hook.h"

#include "listctl/grdcomm.h"
#include "textbox/vb_keys.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>

namespace zq {

EditorHook::EditorHook(grdComm& list, QWidget* editor) : QObject(editor), list_(list), editor_(editor)
{
    editor->installEventFilter(this);
    for (QWidget* child : editor->findChildren<QWidget*>())
        child->installEventFilter(this);
}

bool EditorHook::insideEditor(const QWidget* w) const
{
    // Walks across window boundaries too: a combo's drop-down list is part of it.
    for (; w; w = w->parentWidget()) {
        if (w == editor_)
            return true;
    }
    return false;
}

bool EditorHook::isFirstReceiver(const QObject* watched) const
{
    // A key the focused child ignores travels on to its parents; only its first
    // stop counts, or TextEdit would run twice for one key.
    const QWidget* focus = QApplication::focusWidget();
    if (insideEditor(focus))
        return watched == focus;
    return watched == editor_;
}

bool EditorHook::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && isFirstReceiver(watched)) {
        auto* key = static_cast<QKeyEvent*>(event);
        list_.TextEdit(editor_, VbKeys::keyCode(*key), VbKeys::shiftMask(*key));
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        // Once the list has taken the focus back, the key is spent.
        return enter || editor_->isHidden() || !insideEditor(QApplication::focusWidget());
    }
    if (event->type() == QEvent::FocusOut) {
        const auto* focus = static_cast<QFocusEvent*>(event);
        if (focus->reason() != Qt::PopupFocusReason && !insideEditor(QApplication::focusWidget()))
            list_.AggiGrid(editor_);
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace zq
