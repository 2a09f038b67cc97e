#include "config/conf/frmconf.h"

#include "app/session.h"
#include "common/gesterr.h"
#include "config/conf/form_parts.h"
#include "config/conf/optionframe.h"
#include "config/filedialog.h"
#include "config/sceltadir.h"
#include "textbox/txtfrmt.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QVBoxLayout>

namespace zq {
namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }
std::string s(const QString& q) { return q.toStdString(); }

}  // namespace

QString frmConf::caption() { return QStringLiteral("Parametri di Configurazione"); }

frmConf::frmConf(Session& session, QWidget* parent)
    : QDialog(parent),
      session_(session),
      editor_(session.dialogs(), session.programFolder(), s(caption())) {
    setObjectName(QStringLiteral("frmConf"));
    setProperty("x_Form", QStringLiteral("0"));
    setWindowTitle(caption());
    setModal(true);
    createControls();

    Config loaded = session_.cfg;
    runGuarded(session_.dialogs(), "frmConf", "Form_Load", "", [&] { loaded = editor_.load(session_.cfg); });
    session_.cfg = loaded;
    showValues(loaded);
}

void frmConf::createControls() {
    static const char* const labels[] = {"Percorso database TARV",  "database QUIRNOVA:",
                                         "Nome Azienda:",           "Città:",
                                         "login (default):",        "password (default):",
                                         "Conferma password:",      "Nome host o Indirizzo IP:",
                                         "Radice Path Esistente:",  "Radice Path Nuova:"};
    auto* grid = new QGridLayout;
    for (int i = 0; i < 10; ++i) {
        auto* label = new QLabel(QString::fromUtf8(labels[i]), this);
        label->setObjectName(QStringLiteral("lblFlds_%1").arg(i));
        lblFlds_.append(label);
        txtFlds_.append(makeField(i, session_.dialogs(), /*password=*/i == 5 || i == 6, this));
    }
    cmdExplore_ = new QPushButton(QStringLiteral("..."), this);
    cmdExplore_->setObjectName(QStringLiteral("cmdExplore"));
    connect(cmdExplore_, &QPushButton::clicked, this, &frmConf::cmdExplore_Click);

    fmeFlds_.append(makeServerFrame(QStringLiteral("SO Server"), optFlds_, this));
    fmeFlds_.append(new OptionFrame(QStringLiteral("Conversione Backslash (\\)"), QStringLiteral("S"), this));
    fmeFlds_[1]->setObjectName(QStringLiteral("fmeFlds_1"));
    optFlds_.append(fmeFlds_[1]->addOption(QStringLiteral("optFlds_2"), QStringLiteral("Si"), QStringLiteral("S"), true));
    optFlds_.append(fmeFlds_[1]->addOption(QStringLiteral("optFlds_3"), QStringLiteral("No"), QStringLiteral("N"), false));

    int row = 0;
    for (int i = 0; i < 8; ++i, ++row) {
        grid->addWidget(lblFlds_[i], row, 0);
        grid->addWidget(txtFlds_[i], row, 1);
        if (i == 1) grid->addWidget(cmdExplore_, row, 2);
    }
    grid->addWidget(fmeFlds_[0], row++, 0, 1, 3);
    for (int i = 8; i < 10; ++i, ++row) {
        grid->addWidget(lblFlds_[i], row, 0);
        grid->addWidget(txtFlds_[i], row, 1);
    }
    grid->addWidget(fmeFlds_[1], row++, 0, 1, 3);
    // Width the form gains goes to the values, not to the labels or the "..." button.
    grid->setColumnStretch(1, 1);

    picCNTR_ = new QFrame(this);
    picCNTR_->setObjectName(QStringLiteral("picCNTR"));
    picCNTR_->setFrameShape(QFrame::StyledPanel);
    lblHelp_ = new QLabel(QStringLiteral("Parametri di accesso al server TARV e percorso del database QUIRNOVA."),
                          picCNTR_);
    lblHelp_->setObjectName(QStringLiteral("lblHelp"));
    lblHelp_->setWordWrap(true);

    QHBoxLayout* buttons = makeConfirmButtons(QStringLiteral("Con&ferma"), cmdConf_, cmdAnnu_, this);
    connect(cmdConf_, &QPushButton::clicked, this, &frmConf::cmdConf_Click);
    connect(cmdAnnu_, &QPushButton::clicked, this, &frmConf::cmdAnnu_Click);

    auto* help = new QVBoxLayout(picCNTR_);
    help->setContentsMargins(4, 4, 4, 4);
    help->addWidget(lblHelp_);
    // The help keeps the height of its text; height the form gains goes below the fields.
    picCNTR_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);

    auto* main = new QVBoxLayout(this);
    main->addWidget(picCNTR_);
    main->addLayout(grid);
    main->addStretch(1);
    main->addLayout(buttons);

    new LeaveCheck(txtFlds_[0], cmdAnnu_, [this] { return txtFlds_Validate(0); }, this);
}

void frmConf::showValues(const Config& c) {
    const std::string* values[] = {&c.PathTarv, &c.PathArch, &c.Azienda,  &c.Citta,   &c.Utente,
                                   &c.Password, &c.Password, &c.Host,     &c.RootOld, &c.RootNew};
    for (int i = 0; i < 10; ++i) txtFlds_[i]->setText(q(*values[i]));
    fmeFlds_[0]->select(q(c.Server));
    fmeFlds_[1]->select(q(c.ConvBksl));
}

Config frmConf::entered() const {
    Config c = session_.cfg;
    c.PathTarv = s(txtFlds_[0]->text());
    c.PathArch = s(txtFlds_[1]->text());
    c.Azienda = s(txtFlds_[2]->text());
    c.Citta = s(txtFlds_[3]->text());
    c.Utente = s(txtFlds_[4]->text());
    c.Password = s(txtFlds_[5]->text());
    c.Host = s(txtFlds_[7]->text());
    c.Server = s(fmeFlds_[0]->tag());
    c.RootOld = s(txtFlds_[8]->text());
    c.RootNew = s(txtFlds_[9]->text());
    c.ConvBksl = s(fmeFlds_[1]->tag());
    return c;
}

bool frmConf::txtFlds_Validate(int index) {
    if (index != 0) return true;
    return editor_.checkPathTarv(s(txtFlds_[0]->text()));
}

void frmConf::cmdConf_Click() {
    if (!editor_.confirm(entered(), s(txtFlds_[6]->text()), session_.cfg)) return;
    Confermato = true;
    accept();
}

void frmConf::cmdAnnu_Click() {
    Confermato = false;
    reject();
}

void frmConf::cmdExplore_Click() {
    FileDialog dlg;
    dlg.setTitle(QStringLiteral("Percorso Database QUIRNOVA"));
    dlg.setFilters({{QStringLiteral("Microsoft Office Access"), QStringLiteral("*.mdb;*.mda;*.mde;*.adp;*.ade")},
                    {QStringLiteral("DataBase Microsoft Office Access"), QStringLiteral("*.mdb")},
                    {QStringLiteral("Tutti i File"), QStringLiteral("*.*")}});
    dlg.setFilterIndex(2);
    // The picker opens where the field's database lies, proposing its name; the
    // program folder and "VIZidore.mdb" when the field names nothing that exists.
    const QString field = txtFlds_[1]->text().trimmed();
    const QString folder = pickerStartFolder(field);
    const QString name = field.mid(field.lastIndexOf(QRegularExpression(QStringLiteral("[/\\\\]"))) + 1);
    dlg.setStartPath(folder.isEmpty() ? q(session_.programFolder().string()) : folder);
    dlg.setProposedName(folder.isEmpty() || name.isEmpty() ? QStringLiteral("VIZidore.mdb") : name);
    dlg.setDefaultExtension(QStringLiteral("mdb"));
    dlg.setOpenCaption(QStringLiteral("Apri"));
    dlg.setCancelCaption(QStringLiteral("Annulla"));
    dlg.setLookInCaption(QStringLiteral("Cerca in:"));
    dlg.setFileNameCaption(QStringLiteral("Nome File:"));
    dlg.setFileTypeCaption(QStringLiteral("Tipo File:"));
    const QString chosen = dlg.exec(this);
    // A cancelled dialog leaves the field as it was.
    if (!chosen.isEmpty()) txtFlds_[1]->setText(chosen);
}

}  // namespace zq
