#pragma once
// The MDI frame of a form opened from a menu entry: it releases the form (ClosForm)
// once the form has agreed to close.

#include <QMdiSubWindow>
#include <QPointer>

class QAction;

namespace zq {

class ChildWindow : public QMdiSubWindow {
    Q_OBJECT

public:
    /// `entry` is the menu entry that opened the form (may be nullptr).
    explicit ChildWindow(QAction* entry, QWidget* parent = nullptr);

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    QPointer<QAction> entry_;
    bool released_ = false;
};

}  // namespace zq
