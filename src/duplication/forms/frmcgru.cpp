#include "duplication/forms/frmcgru.h"

#include "config/conf/config_editor.h"
#include "duplication/group_params.h"
#include "lookups/lookups.h"
#include "textbox/txtfrmt.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace zq {

frmCGru::frmCGru(Session& session, QWidget* parent) : QDialog(parent), session_(session) {
    setObjectName(QStringLiteral("frmCGru"));
    setProperty("x_Form", QStringLiteral("0"));
    setWindowTitle(QString::fromUtf8(GroupParams::caption()));
    setModal(true);
    createControls();
    Form_Load();
}

frmCGru::~frmCGru() = default;

void frmCGru::createControls() {
    auto* grid = new QGridLayout;
    cmbArea_ = new QComboBox(this);
    cmbArea_->setObjectName(QStringLiteral("cmbFlds_0"));
    cmbArea_->setMinimumContentsLength(30);
    area_ = std::make_unique<ComboPicker>(cmbArea_);
    auto* lblArea = new QLabel(QStringLiteral("Area Comune:"), this);
    lblArea->setBuddy(cmbArea_);
    grid->addWidget(lblArea, 0, 0);
    grid->addWidget(cmbArea_, 0, 1, 1, 2);

    txtPath_ = new txtFrmt(this);
    txtPath_->setObjectName(QStringLiteral("txtFlds_0"));
    txtPath_->setDialogs(&session_.dialogs());
    txtPath_->setText(QString());
    cmdExplore_ = new QPushButton(QStringLiteral("..."), this);
    cmdExplore_->setObjectName(QStringLiteral("cmdExplore"));
    cmdExplore_->setAutoDefault(false);
    grid->addWidget(new QLabel(QStringLiteral("Percorso:"), this), 1, 0);
    grid->addWidget(txtPath_, 1, 1);
    grid->addWidget(cmdExplore_, 1, 2);
    grid->setColumnStretch(1, 1);

    auto* bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("picCNTR"));
    auto* buttons = new QHBoxLayout(bar);
    buttons->setContentsMargins(0, 0, 0, 0);
    lblHelp_ = new QLabel(bar);
    lblHelp_->setObjectName(QStringLiteral("lblHelp"));
    buttons->addWidget(lblHelp_, 1);
    cmdConf_ = new QPushButton(QStringLiteral("Con&ferma"), bar);
    cmdConf_->setObjectName(QStringLiteral("cmdConf"));
    cmdAnnu_ = new QPushButton(QStringLiteral("Ann&ulla"), bar);
    cmdAnnu_->setObjectName(QStringLiteral("cmdAnnu"));
    cmdConf_->setAutoDefault(false);
    cmdAnnu_->setAutoDefault(false);
    buttons->addWidget(cmdConf_);
    buttons->addWidget(cmdAnnu_);

    auto* column = new QVBoxLayout(this);
    column->addLayout(grid);
    column->addStretch(1);
    column->addWidget(bar);

    connect(cmdExplore_, &QPushButton::clicked, this, &frmCGru::cmdExplore_Click);
    connect(cmdConf_, &QPushButton::clicked, this, &frmCGru::cmdConf_Click);
    connect(cmdAnnu_, &QPushButton::clicked, this, &frmCGru::cmdAnnu_Click);
}

void frmCGru::Form_Load() {
    cfg_ = GroupParams::load(session_.configFilePath(), ConfigEditor::defaults(session_.cfg, session_.programFolder()));
    Lookups lookups(session_);
    Picker& areas = area_->picker();
    areas.clear();
    lookups.LeggAree(areas, 0, /*showParent=*/false, /*all=*/false);
    // DispFlds: the area whose Id_Area is the stored one; none for 0.
    const long stored = GroupParams::preselected(cfg_);
    int selected = -1;
    for (int i = 0; stored != 0 && i < areas.listCount(); ++i)
        if (areas.itemData(i) == stored) selected = i;
    areas.setListIndex(selected);
    area_->show();
    txtPath_->setText(QString::fromStdString(cfg_.GrpParm2));
}

void frmCGru::cmdExplore_Click() {
    const std::string current = txtPath_->text().toStdString();
    txtPath_->setText(QString::fromStdString(GroupParams::browse(session_.dialogs(), current)));
}

void frmCGru::cmdConf_Click() {
    std::optional<long> areaId;
    const int index = area_->listIndex();
    if (index >= 0 && index < cmbArea_->count()) areaId = long(cmbArea_->itemData(index).toLongLong());
    if (!GroupParams::confirm(session_.dialogs(), cfg_, areaId, txtPath_->text().toStdString(),
                              session_.configFilePath()))
        return;
    // The running program groups with what was just stored.
    session_.cfg.GrpParm1 = cfg_.GrpParm1;
    session_.cfg.GrpParm2 = cfg_.GrpParm2;
    Confermato = true;
    accept();
}

void frmCGru::cmdAnnu_Click() {
    Confermato = false;
    reject();
}

}  // namespace zq
