#include "linking/forms/freelistform.h"

#include "common/textroutines.h"
#include "linking/forms/combopicker.h"
#include "listctl/grdcomm.h"
#include "runtime/text.h"

#include <QComboBox>

namespace zq {

FreeListForm::FreeListForm(Session& session, Progress* wait, const char* name, const char* caption, Reader read,
                           QWidget* parent)
    : ListForm(session, wait, name, caption, parent), read_(read) {
    addPicker(0, "DITTA:");
    addPicker(1, "ANNO:");
    for (int index : {0, 1})
        connect(cmbFlds(index), &QComboBox::activated, this, [this, index] { cmbFlds_Click(index); });
}

FreeListForm::~FreeListForm() = default;

void FreeListForm::initFreeList(const char* format) {
    initList(format, 2);
    grdComm& list = clsList();
    list.setColWidth(ColArea, 2000);
    list.setColWidth(ColDescription, 3200);
    // The document type is the last text column: it takes the free width, so its
    // descriptions show whole instead of beside an empty band.
    setFillColumn(ColDocType, int(list.ColWidth(ColDocType)));
    checks_ = addCheckColumn(ColCheck, entries_, &FreeRow::selected);

    lookups_.ArAttiva = false;
    if (!connected()) return;
    lookups_.LeggDocs();
    lookups_.LeggDitt(picker(0).take(), /*all=*/true);
    picker(0).show();
}

void FreeListForm::LeggList() {
    if (!connected()) return;
    FreeFilter filter;
    const int company = cmbFlds(0)->currentIndex();
    if (company >= 1 && company < int(lookups_.aDitte.size())) filter.companyCode = lookups_.aDitte[std::size_t(company)].Codice;
    if (cmbFlds(1)->currentIndex() >= 1) filter.year = CintText(cmbFlds(1)->currentText().toStdString());
    entries_ = read_(session_, model_, filter, lookups_.aDocs);
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

void FreeListForm::DispchkS() {
    if (checks_) checks_->DispchkS();
}

void FreeListForm::cmbFlds_Click(int index) {
    if (index == 0)
        lookups_.CambDitt(picker(0).take(), picker(1).take(), /*allYears=*/true);
    else
        lookups_.CambEser(picker(0).take(), picker(1).take());
    picker(1).show();
    LeggList();
    DispchkS();
}

}  // namespace zq
