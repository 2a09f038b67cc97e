#include "linking/forms/frmfree.h"

#include "common/textroutines.h"
#include "linking/forms/combopicker.h"
#include "linking/free_run.h"
#include "linking/link_list.h"
#include "listctl/check_column.h"
#include "listctl/grdcomm.h"
#include "runtime/text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QSignalBlocker>

namespace zq {

const char* const frmFree::kFormat = "    |  N.  |<Area|<Descrizione|Ditta|Anno|Tipo Assoc.|Tipo Documento|       ";

frmFree::frmFree(Session& session, Progress* wait, QWidget* parent)
    : ListForm(session, wait, "frmFree", "Scollegamento tabelle al database TARV", parent) {
    addPicker(0, "DITTA:");
    addPicker(1, "ANNO:");
    chk_All_ = new QCheckBox(tr("Seleziona Tutti"), this);
    chk_All_->setObjectName(QStringLiteral("chk_All"));
    addToBar(chk_All_);
    cmdFree_ = addButton("cmdFree", "&Scollega");
    for (int index : {0, 1})
        connect(cmbFlds(index), &QComboBox::activated, this, [this, index] { cmbFlds_Click(index); });
    connect(chk_All_, &QCheckBox::clicked, this, &frmFree::chk_All_Click);
    connect(cmdFree_, &QPushButton::clicked, this, &frmFree::cmdFree_Click);

    initList(kFormat, 2);
    grdComm& list = clsList();
    list.setColWidth(ColArea, 2000);
    list.setColWidth(ColDescription, 3200);
    setFillColumn(ColDescription, 3200);
    checks_ = std::make_unique<CheckColumn>(
        list, ColCheck,
        CheckEntries{[this] { return int(entries_.size()); },
                     [this](int n) { return entries_.at(std::size_t(n - 1)).selected; },
                     [this](int n, bool on) { entries_.at(std::size_t(n - 1)).selected = on; }},
        this);
    connect(&list, &grdComm::Click, checks_.get(), &CheckColumn::gridClick);

    lookups_.ArAttiva = false;
    ready_ = false;
    lookups_.LeggDocs();
    lookups_.LeggDitt(picker(0).take(), /*all=*/true);
    picker(0).show();
    for (int index : {0, 1}) {
        const QSignalBlocker quiet(cmbFlds(index));
        cmbFlds(index)->setCurrentIndex(-1);
    }
    ready_ = true;
    DispchkS();
}

frmFree::~frmFree() = default;

void frmFree::LeggList() {
    FreeFilter filter;
    const int company = cmbFlds(0)->currentIndex();
    if (company >= 1 && company < int(lookups_.aDitte.size())) filter.companyCode = lookups_.aDitte[std::size_t(company)].Codice;
    if (cmbFlds(1)->currentIndex() >= 1) filter.year = CintText(cmbFlds(1)->currentText().toStdString());
    entries_ = LinkList::linked(session_, model_, filter, lookups_.aDocs);
    fillGrid(int(entries_.size()), [this](int row, int n) {
        const FreeRow& e = entries_[std::size_t(n - 1)];
        grdComm& list = clsList();
        list.setTextMatrix(row, ColNumber, QString::number(n));
        list.setTextMatrix(row, ColArea, QString::fromStdString(e.area));
        list.setTextMatrix(row, ColDescription, QString::fromStdString(e.description));
        list.setTextMatrix(row, ColCompany, QString::fromStdString(e.company));
        list.setTextMatrix(row, ColYear, QString::fromStdString(e.yearText));
        list.setTextMatrix(row, ColAssoc, QString::fromStdString(e.associationText));
        // Descriptions come blank-padded from their CHAR column.
        list.setTextMatrix(row, ColDocType, QString::fromStdString(vbTrim(e.docTypeText)));
    });
}

void frmFree::DispchkS() {
    if (checks_) checks_->DispchkS();
}

void frmFree::chk_All_Click() {
    const bool on = chk_All_->isChecked();
    // Only the rows on screen: a box left over from a longer list or a taller window
    // is hidden and stands for no row shown.
    for (int i = 1; i <= checks_->loadedBoxes(); ++i)
        if (QCheckBox* box = checks_->box(i); box && !box->isHidden()) box->setChecked(on);
    chk_All_->setText(on ? tr("Deseleziona Tutti") : tr("Seleziona Tutti"));
}

void frmFree::cmbFlds_Click(int index) {
    if (!ready_) return;
    if (index == 0)
        lookups_.CambDitt(picker(0).take(), picker(1).take(), /*allYears=*/true);
    else
        lookups_.CambEser(picker(0).take(), picker(1).take());
    picker(1).show();
    LeggList();
    DispchkS();
}

void frmFree::cmdFree_Click() {
    FreeRun run(session_);
    if (!run.cmdFree_Click(entries_, /*allCompanies=*/cmbFlds(0)->currentIndex() < 1).completed) return;
    LeggList();
    DispchkS();
}

}  // namespace zq
