#include "config/conf/form_parts.h"

#include "common/dialogs.h"
#include "config/conf/config_editor.h"
#include "config/conf/optionframe.h"
#include "textbox/txtfrmt.h"

#include <QApplication>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace zq {

txtFrmt* makeField(int i, Dialogs& dialogs, bool password, QWidget* parent) {
    auto* box = new txtFrmt(parent);
    box->setObjectName(QStringLiteral("txtFlds_%1").arg(i));
    box->setDialogs(&dialogs);
    box->setText(QString());
    if (password) box->setPassWordChar(QStringLiteral("*"));
    return box;
}

OptionFrame* makeServerFrame(const QString& caption, QList<QRadioButton*>& options, QWidget* parent) {
    auto* frame = new OptionFrame(caption, QString::fromLatin1(ConfigEditor::kServerLinux), parent);
    frame->setObjectName(QStringLiteral("fmeFlds_0"));
    options.append(frame->addOption(QStringLiteral("optFlds_0"), QStringLiteral("SCO"),
                                    QString::fromLatin1(ConfigEditor::kServerSco), false));
    options.append(frame->addOption(QStringLiteral("optFlds_1"), QStringLiteral("LINUX"),
                                    QString::fromLatin1(ConfigEditor::kServerLinux), true));
    return frame;
}

QHBoxLayout* makeConfirmButtons(const QString& confirmCaption, QPushButton*& confirm, QPushButton*& cancel,
                                QWidget* parent) {
    confirm = new QPushButton(confirmCaption, parent);
    confirm->setObjectName(QStringLiteral("cmdConf"));
    cancel = new QPushButton(QStringLiteral("Ann&ulla"), parent);
    cancel->setObjectName(QStringLiteral("cmdAnnu"));
    confirm->setAutoDefault(false);
    cancel->setAutoDefault(false);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(confirm);
    row->addWidget(cancel);
    return row;
}

LeaveCheck::LeaveCheck(txtFrmt* field, QPushButton* cancel, std::function<bool()> check, QWidget* form)
    : QObject(form), field_(field), cancel_(cancel), check_(std::move(check)), form_(form) {
    // The text box inside the field is what loses the focus.
    field_->box(0)->installEventFilter(this);
}

bool LeaveCheck::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::FocusOut && watched == field_->box(0) && !validating_ && form_->isVisible()) {
        const auto reason = static_cast<QFocusEvent*>(e)->reason();
        const bool toCancel = QApplication::focusWidget() == cancel_;
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && !toCancel) {
            validating_ = true;
            const bool ok = check_();
            validating_ = false;
            if (!ok) QTimer::singleShot(0, form_, [this] { field_->box(0)->setFocus(Qt::OtherFocusReason); });
        }
    }
    return QObject::eventFilter(watched, e);
}

}  // namespace zq
