#pragma once
// The MDI frame of a form opened from a menu entry: it releases the form (ClosForm)
// once the form has agreed to close, whether the frame's close box asked or the form
// closed itself (its own exit button), and then goes away with it.

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
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void release();

    QPointer<QAction> entry_;
    bool released_ = false;
    bool frameClosing_ = false;  ///< the close box asked, the frame goes by itself
};

}  // namespace zq
