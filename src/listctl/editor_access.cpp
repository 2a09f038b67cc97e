#include "listctl/editor_access.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QVariant>

namespace zq {

namespace {

QVariant firstProperty(const QWidget* w, const char* a, const char* b)
{
    QVariant v = w->property(a);
    return v.isValid() ? v : w->property(b);
}

const char* textPropertyOf(const QWidget* w)
{
    return w->property("text").isValid() ? "text" : "Text";
}

}  // namespace

QString EditorAccess::text(const QWidget* editor)
{
    if (auto* line = qobject_cast<const QLineEdit*>(editor))
        return line->text();
    if (auto* combo = qobject_cast<const QComboBox*>(editor))
        return combo->currentText();
    if (auto* list = qobject_cast<const QListWidget*>(editor))
        return list->currentItem() ? list->currentItem()->text() : QString();
    return firstProperty(editor, "text", "Text").toString();
}

void EditorAccess::setText(QWidget* editor, const QString& text)
{
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        line->setText(text);
        return;
    }
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        if (combo->isEditable())
            combo->setEditText(text);
        else
            combo->setCurrentIndex(combo->findText(text, Qt::MatchFixedString));
        return;
    }
    if (auto* list = qobject_cast<QListWidget*>(editor)) {
        const auto found = list->findItems(text, Qt::MatchFixedString);
        list->setCurrentItem(found.isEmpty() ? nullptr : found.front());
        return;
    }
    editor->setProperty(textPropertyOf(editor), text);
}

int EditorAccess::caret(const QWidget* editor)
{
    if (auto* line = qobject_cast<const QLineEdit*>(editor))
        return line->cursorPosition();
    return firstProperty(editor, "cursorPosition", "SelStart").toInt();
}

void EditorAccess::setCaret(QWidget* editor, int pos)
{
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        line->deselect();
        line->setCursorPosition(pos);
        return;
    }
    if (editor->property("cursorPosition").isValid()) {
        editor->setProperty("cursorPosition", pos);
        return;
    }
    if (editor->property("SelStart").isValid()) {
        editor->setProperty("SelStart", pos);
        if (editor->property("SelLength").isValid())
            editor->setProperty("SelLength", 0);
    }
}

QString EditorAccess::inputMask(const QWidget* editor)
{
    return editor->property("InputMask").toString();
}

QString EditorAccess::tag(const QWidget* w)
{
    return w->property("Tag").toString();
}

void EditorAccess::setTag(QWidget* w, const QString& tag)
{
    w->setProperty("Tag", tag);
}

}  // namespace zq
