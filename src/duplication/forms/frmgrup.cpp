#include "duplication/forms/frmgrup.h"

#include "config/frmwait.h"
#include "config/waitprogress.h"
#include "duplication/group_params.h"
#include "linking/forms/combopicker.h"
#include "listctl/check_column.h"
#include "listctl/flex_grid.h"
#include "listctl/grdcomm.h"

#include <QComboBox>
#include <QPushButton>

namespace zq {

const char* const frmGrup::kFormat = "     |  ID  |<Descrizione| ";

frmGrup::frmGrup(Session& session, Progress* wait, QWidget* parent)
    : ListForm(session, wait, "frmGrup", GroupRun::caption(), parent) {
    setProperty("x_Form", QStringLiteral("0"));
    if (!wait) {
        ownWait_ = std::make_unique<WaitProgress>(QString::fromStdString(session.programFolder().string()), this);
        wait = ownWait_.get();
    }
    wait_ = wait;

    addPicker(0, "DITTA  Tarv:");
    // The company's own year decides ArAttiva: the year picker is never shown.
    addPicker(1, "");
    cmbFlds(1)->hide();
    picker(1).picker().visible = false;
    cmdGrup_ = addButton("cmdGrup", "&Raggruppa");
    connect(cmbFlds(0), &QComboBox::activated, this, [this] { cmbFlds_Click(0); });
    connect(cmdGrup_, &QPushButton::clicked, this, &frmGrup::cmdGrup_Click);

    initList(kFormat, ColDescription);
    grdComm& list = clsList();
    list.setColWidth(ColDescription, 5000);
    setFillColumn(ColDescription, 5000);
    checks_ = addCheckColumn(ColCheck, entries_, &GrupRow::Selez);

    lookups_.ArAttiva = false;
    lookups_.LeggDitt(picker(0).take(), /*all=*/false);
    picker(0).show();
    LeggList();
    DispchkS();
}

frmGrup::~frmGrup() = default;

void frmGrup::showEvent(QShowEvent* e) {
    ListForm::showEvent(e);
    if (activated_) return;
    activated_ = true;
    Form_Activate();
}

void frmGrup::Form_Activate() {
    activated_ = true;
    cmdGrup_->setEnabled(GroupParams::ready(session_.dialogs(), session_.cfg, GroupRun::caption()));
}

void frmGrup::LeggList() {
    entries_ = GroupRun::LeggList(session_);
    fillGrid(int(entries_.size()), [this](int row, int n) {
        const GrupRow& e = entries_[std::size_t(n - 1)];
        clsList().setTextMatrix(row, ColId, QString::number(e.Id_Area));
        clsList().setTextMatrix(row, ColDescription, QString::fromStdString(e.area));
    });
}

void frmGrup::DispchkS() {
    if (checks_) checks_->DispchkS();
}

void frmGrup::cmbFlds_Click(int index) {
    if (index != 0) return;
    lookups_.CambDitt(picker(0).take(), picker(1).take(), /*allYears=*/false);
}

void frmGrup::cmdGrup_Click() {
    GroupRequest request;
    request.companyIndex = picker(0).listIndex();
    if (request.companyIndex >= 0 && request.companyIndex < int(lookups_.aDitte.size()))
        request.company = lookups_.aDitte[std::size_t(request.companyIndex)];
    request.arAttiva = lookups_.ArAttiva;

    cmdGrup_->setEnabled(false);
    GroupRun run(session_, *wait_);
    last_ = run.cmdGrup_Click(request, entries_);
    DispchkS();
    cmdGrup_->setEnabled(true);
}

}  // namespace zq
