#pragma once
// The editor side of in-grid editing, wired once instead of in every form: a key
// going down in the editor runs TextEdit, Enter is swallowed (it must not reach the
// control), and losing the focus to anything outside the editor runs AggiGrid.
// The hook watches the editor and every widget inside it, because composite editors
// (a formatted text box, a frame of option buttons) hold the focus in a child.

#include <QObject>

class QWidget;

namespace zq {

class grdComm;

/// Connects one editor control to a list.
class EditorHook : public QObject {
    Q_OBJECT
public:
    /// Watches editor and its children; owned by the editor.
    EditorHook(grdComm& list, QWidget* editor);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool insideEditor(const QWidget* w) const;
    bool isFirstReceiver(const QObject* watched) const;

    grdComm& list_;
    QWidget* editor_;
};

}  // namespace zq
