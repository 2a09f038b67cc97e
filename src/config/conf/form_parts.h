#pragma once
// The pieces the configuration form and the link path form both have: their text
// boxes, the "SO Server" frame, the confirm and cancel buttons, and the check that
// runs as the person leaves the TARV path field.

#include <QObject>
#include <QList>
#include <QString>

#include <functional>

class QHBoxLayout;
class QPushButton;
class QRadioButton;
class QWidget;

namespace zq {

class Dialogs;
class OptionFrame;
class txtFrmt;

/// Empty text box "txtFlds_<i>"; a `password` box shows "*" for every character.
txtFrmt* makeField(int i, Dialogs& dialogs, bool password, QWidget* parent);

/// Frame "fmeFlds_0" with `caption`: options "SCO" (optFlds_0) and "LINUX" (optFlds_1,
/// selected), which are appended to `options`.
OptionFrame* makeServerFrame(const QString& caption, QList<QRadioButton*>& options, QWidget* parent);

/// Buttons "cmdConf" with `confirmCaption` and "cmdAnnu" "Ann&ulla", neither a default
/// button, in a row that keeps them at the right.
QHBoxLayout* makeConfirmButtons(const QString& confirmCaption, QPushButton*& confirm, QPushButton*& cancel,
                                QWidget* parent);

/// Runs `check` when the focus leaves `field` for another control of the form. Leaving
/// for another window or a popup menu is no leaving of the field, nor is leaving for
/// `cancel`: cancelling must stay possible whatever the field holds. A failed check
/// (it has shown its message) brings the focus back to the field.
class LeaveCheck : public QObject {
public:
    LeaveCheck(txtFrmt* field, QPushButton* cancel, std::function<bool()> check, QWidget* form);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    txtFrmt* field_;
    QPushButton* cancel_;
    std::function<bool()> check_;
    QWidget* form_;
    bool validating_ = false;  ///< the check's own message must not run it again
};

}  // namespace zq
