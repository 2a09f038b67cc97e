#include "config/conf/frmaggp.h"

#include "app/session.h"
#include "config/conf/config_editor.h"
#include "config/conf/form_parts.h"
#include "config/conf/optionframe.h"
#include "textbox/txtfrmt.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

namespace zq {
namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }
std::string s(const QString& q) { return q.toStdString(); }

}  // namespace

frmAggP::frmAggP(Session& session, LinkPathUpdate::Opener opener, QWidget* parent)
    : QDialog(parent),
      session_(session),
      progress_(std::make_unique<BarProgress>(new QProgressBar(this), new QLabel(this))),
      update_(session, *progress_, std::move(opener)) {
    setObjectName(QStringLiteral("frmAggP"));
    setProperty("x_Form", QStringLiteral("0"));
    setWindowTitle(QString::fromUtf8(LinkPathUpdate::caption()));
    setModal(true);
    createControls();
}

frmAggP::~frmAggP() = default;

void frmAggP::createControls() {
    // The bar and its label were made first, for the engine's progress.
    prbAggP_ = findChild<QProgressBar*>();
    prbAggP_->setObjectName(QStringLiteral("prbAggP"));
    lblAggP_ = findChild<QLabel*>();
    lblAggP_->setObjectName(QStringLiteral("lblAggP"));
    prbAggP_->hide();
    lblAggP_->hide();

    auto* grid = new QGridLayout;
    auto* current = new QLabel(QStringLiteral("VALORI CORRENTI"), this);
    auto* fresh = new QLabel(QStringLiteral("NUOVI VALORI"), this);
    grid->addWidget(current, 0, 1);
    grid->addWidget(fresh, 0, 2);
    static const char* const labels[] = {"Percorso database TARV", "login (default):", "password (default):",
                                         "Conferma password:", "Nome host o Indirizzo IP:"};
    for (int i = 0; i < 5; ++i) {
        grid->addWidget(new QLabel(QString::fromUtf8(labels[i]), this), i + 1, 0);
        txtFlds_.append(makeField(i, session_.dialogs(), /*password=*/i == 2 || i == 3, this));
        grid->addWidget(txtFlds_.last(), i + 1, 2);
    }
    fmeFlds_.append(makeServerFrame(QStringLiteral("SO Server:"), optFlds_, this));
    grid->addWidget(fmeFlds_[0], 6, 2);
    // Current values beside the new ones: path, login, host, server (no password).
    const struct {
        int index;
        int row;
    } values[] = {{0, 1}, {1, 2}, {3, 5}, {4, 6}};
    for (const auto& c : values) {
        auto* l = new QLabel(this);
        l->setObjectName(QStringLiteral("lblFlds_%1").arg(c.index));
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        lblFlds_.insert(c.index, l);
        grid->addWidget(l, c.row, 1);
    }

    // Width the form gains goes to the two columns of values alike.
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);

    QHBoxLayout* buttons = makeConfirmButtons(QStringLiteral("&Aggiorna"), cmdConf_, cmdAnnu_, this);
    connect(cmdConf_, &QPushButton::clicked, this, &frmAggP::cmdConf_Click);
    connect(cmdAnnu_, &QPushButton::clicked, this, &frmAggP::cmdAnnu_Click);

    auto* main = new QVBoxLayout(this);
    main->addLayout(grid);
    main->addWidget(lblAggP_);
    main->addWidget(prbAggP_);
    main->addStretch(1);
    main->addLayout(buttons);

    new LeaveCheck(txtFlds_[0], cmdAnnu_, [this] { return txtFlds_Validate(0); }, this);
}

void frmAggP::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (activated_) return;
    activated_ = true;
    if (!Form_Activate()) QTimer::singleShot(0, this, &QDialog::reject);
}

bool frmAggP::Form_Activate() {
    activated_ = true;
    if (!update_.activate()) return false;
    const Config& c = session_.cfg;
    txtFlds_[0]->setText(q(c.PathTarv));
    txtFlds_[1]->setText(q(c.Utente));
    txtFlds_[2]->setText(q(c.Password));
    txtFlds_[3]->setText(q(c.Password));
    txtFlds_[4]->setText(q(c.Host));
    fmeFlds_[0]->select(q(c.Server));
    lblFlds_[0]->setText(q(c.PathTarv));
    lblFlds_[1]->setText(q(c.Utente));
    lblFlds_[3]->setText(q(c.Host));
    lblFlds_[4]->setText(fmeFlds_[0]->captionOf(q(c.Server)));
    return true;
}

bool frmAggP::txtFlds_Validate(int index) {
    if (index != 0) return true;
    ConfigEditor editor(session_.dialogs(), session_.programFolder(), LinkPathUpdate::caption());
    return editor.checkPathTarv(s(txtFlds_[0]->text()));
}

void frmAggP::cmdConf_Click() {
    LinkPathUpdate::NewValues v;
    v.PathTarv = s(txtFlds_[0]->text());
    v.Utente = s(txtFlds_[1]->text());
    v.Password = s(txtFlds_[2]->text());
    v.PasswordConfirm = s(txtFlds_[3]->text());
    v.Host = s(txtFlds_[4]->text());
    v.Server = s(fmeFlds_[0]->tag());
    cmdConf_->setEnabled(false);
    const auto outcome = update_.cmdConf_Click(v);
    cmdConf_->setEnabled(true);
    switch (outcome) {
        case LinkPathUpdate::Outcome::Done:
        case LinkPathUpdate::Outcome::Incomplete:  // the new values are in force; the warning said what is left
            Confermato = true;
            accept();
            break;
        case LinkPathUpdate::Outcome::Declined:
            Confermato = false;
            reject();
            break;
        case LinkPathUpdate::Outcome::Refused:
        case LinkPathUpdate::Outcome::Stopped:
            break;  // the form stays open with what was entered
    }
}

void frmAggP::cmdAnnu_Click() {
    Confermato = false;
    reject();
}

}  // namespace zq
