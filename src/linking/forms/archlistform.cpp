#include "linking/forms/archlistform.h"

#include "linking/forms/combopicker.h"
#include "linking/forms/linkedpicture.h"
#include "linking/link_list.h"
#include "listctl/grdcomm.h"

#include <QComboBox>
#include <QLabel>
#include <QSignalBlocker>

namespace zq {

ArchListForm::ArchListForm(Session& session, Progress* wait, const char* name, const char* caption, bool withYear,
                           QWidget* parent)
    : ListForm(session, wait, name, caption, parent) {
    addPicker(0, "DITTA  Tarv:");
    if (withYear) addPicker(1, "ANNO:");
    addPicker(2, "AREA  Quirnova:");
}

ArchListForm::~ArchListForm() = default;

void ArchListForm::initArchList(const char* format, int descriptionWidth) {
    initList(format, 2);
    grdComm& list = clsList();
    list.setColWidth(ColArea, 2000);
    list.setColWidth(ColDescription, descriptionWidth);
    setFillColumn(ColDescription, descriptionWidth);
    picColl_ = linkedPictureColumn(list, ColPicture);
}

void ArchListForm::fillPickers() {
    lookups_.ArAttiva = false;
    if (!connected()) return;
    WaitWindow shown(*this);
    lookups_.LeggDocs();
    lookups_.LeggAree(picker(2).take(), 0, /*showParent=*/true, /*all=*/true);
    picker(2).show();
    // Nothing is selected on a first fill: the list opens on every area.
    if (cmbFlds(2)->currentIndex() < 0 && cmbFlds(2)->count() > 0) {
        const QSignalBlocker quiet(cmbFlds(2));
        cmbFlds(2)->setCurrentIndex(0);
    }
    LeggList();
    lookups_.LeggDitt(picker(0).take(), /*all=*/false);
    picker(0).show();
}

QLabel* ArchListForm::picColl(int i) const { return static_cast<QLabel*>(picColl_->existing(i)); }

void ArchListForm::LeggList() {
    if (!connected()) return;
    WaitWindow shown(*this);
    const QComboBox* area = cmbFlds(2);
    const long areaId = area->currentIndex() >= 1 ? long(area->itemData(area->currentIndex()).toLongLong()) : 0;
    entries_ = LinkList::archives(session_, model_, areaId);
    fillGrid(int(entries_.size()), [this](int row, int n) {
        const ArchRow& e = entries_[std::size_t(n - 1)];
        clsList().setTextMatrix(row, ColNumber, QString::number(n));
        clsList().setTextMatrix(row, ColArea, QString::fromStdString(e.area));
        clsList().setTextMatrix(row, ColDescription, QString::fromStdString(e.description));
    });
}

}  // namespace zq
