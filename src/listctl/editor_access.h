#pragma once
// Uniform access to the controls a list opens over a cell: Qt's own editors
// (QLineEdit, QComboBox, QListWidget, QCheckBox, QAbstractButton) and any other
// widget through its properties ("text" or "Text", "cursorPosition" or "SelStart",
// "InputMask", "Tag"), so that a custom text box can serve as an editor too.

#include <QString>

class QWidget;

namespace zq {

/// Reads and writes the value of an in-grid editor.
class EditorAccess {
public:
    /// The editor's text: a line edit's text, a combo's current text, the current
    /// entry of a list; else its "text"/"Text" property.
    static QString text(const QWidget* editor);
    /// Sets the text; a list selects the first entry equal to it (ignoring case),
    /// or none.
    static void setText(QWidget* editor, const QString& text);
    /// Caret position (0 = before the first character); 0 when unknown.
    static int caret(const QWidget* editor);
    /// Puts the caret at pos with nothing selected.
    static void setCaret(QWidget* editor, int pos);
    /// The editor's "InputMask" property; empty when it has none.
    static QString inputMask(const QWidget* editor);
    /// The "Tag" property of a control (frames and option buttons carry codes there).
    static QString tag(const QWidget* w);
    static void setTag(QWidget* w, const QString& tag);
};

}  // namespace zq
