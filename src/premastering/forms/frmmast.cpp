#include "premastering/forms/frmmast.h"

#include "common/textroutines.h"
#include "linking/forms/combopicker.h"
#include "linking/link_list.h"
#include "listctl/check_column.h"
#include "listctl/grdcomm.h"
#include "runtime/text.h"
#include "config/barprogress.h"
#include "premastering/premaster_run.h"

#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace zq {

const char* const frmMast::kFormat =
    "    |  N.  |<Area|<Descrizione|Ditta|Anno|Tipo Assoc.|Tipo Documento                     |       ";

frmMast::frmMast(Session& session, Progress* wait, QWidget* parent)
    : ListForm(session, wait, "frmMast", "Pre-Masterizzazione Archivi", parent) {
    setProperty("x_Form", QStringLiteral("0"));
    addPicker(0, "DITTA:");
    addPicker(1, "ANNO:");
    prbMast_ = new QProgressBar(this);
    prbMast_->setObjectName(QStringLiteral("prbMast"));
    lblMast_ = new QLabel(this);
    lblMast_->setObjectName(QStringLiteral("lblMast"));
    addToBar(lblMast_);
    addToBar(prbMast_);
    prbMast_->hide();
    lblMast_->hide();
    progress_ = std::make_unique<BarProgress>(prbMast_, lblMast_);
    cmdMast_ = addButton("cmdMast", "&Masterizza");
    for (int index : {0, 1})
        connect(cmbFlds(index), &QComboBox::activated, this, [this, index] { cmbFlds_Click(index); });
    connect(cmdMast_, &QPushButton::clicked, this, &frmMast::cmdMast_Click);

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
    lookups_.LeggDocs();
    lookups_.LeggDitt(picker(0).take(), /*all=*/true);
    picker(0).show();
    LeggList();
    DispchkS();
}

frmMast::~frmMast() = default;

void frmMast::LeggList() {
    FreeFilter filter;
    const int company = cmbFlds(0)->currentIndex();
    if (company >= 1 && company < int(lookups_.aDitte.size())) filter.companyCode = lookups_.aDitte[std::size_t(company)].Codice;
    if (cmbFlds(1)->currentIndex() >= 1) filter.year = CintText(cmbFlds(1)->currentText().toStdString());
    entries_ = LinkList::premastering(session_, model_, filter, lookups_.aDocs);
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

void frmMast::DispchkS() {
    if (checks_) checks_->DispchkS();
}

void frmMast::cmbFlds_Click(int index) {
    if (index == 0)
        lookups_.CambDitt(picker(0).take(), picker(1).take(), /*allYears=*/true);
    else
        lookups_.CambEser(picker(0).take(), picker(1).take());
    picker(1).show();
    LeggList();
    DispchkS();
}

void frmMast::cmdMast_Click() {
    PremasterRun run(session_);
    PremasterRunResult result;
    progress_->begin(windowTitle().toStdString());
    try {
        result = run.cmdMast_Click(entries_);
    } catch (...) {
        progress_->end();
        throw;
    }
    progress_->end();
    if (!result.completed) return;
    LeggList();
    DispchkS();
}

}  // namespace zq
