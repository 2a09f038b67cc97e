#include "duplication/forms/frmcopy.h"

#include "common/gesterr.h"
#include "linking/forms/combopicker.h"
#include "linking/forms/linkedpicture.h"
#include "listctl/check_column.h"
#include "listctl/editor_hook.h"
#include "listctl/flex_grid.h"
#include "listctl/grdcomm.h"
#include "textbox/txtfrmt.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace zq {

const char* const frmCopy::kFormat = "     |     |  N.  |<Descrizione| ";

frmCopy::frmCopy(Session& session, Progress* wait, QWidget* parent)
    : ListForm(session, wait, "frmCopy", AreaCopyRun::caption(), parent) {
    setProperty("x_Form", QStringLiteral("0"));
    addPicker(0, "DITTA  Tarv:");
    addPicker(1, "ANNO:");
    addPicker(2, "AREA Origine:");
    addPicker(3, "PARENT:");
    createFields();
    cmdCopy_ = addButton("cmdCopy", "&Duplica");
    for (int index : {0, 1, 2, 3})
        connect(cmbFlds(index), &QComboBox::activated, this, [this, index] { cmbFlds_Click(index); });
    connect(cmdCopy_, &QPushButton::clicked, this, &frmCopy::cmdCopy_Click);
    connect(cmdExplore_, &QPushButton::clicked, this, &frmCopy::cmdExplore_Click);

    initList(kFormat, ColDescription);
    grdComm& list = clsList();
    list.setColWidth(ColDescription, 5000);
    setFillColumn(ColDescription, 5000);

    checks_ = addCheckColumn(ColCheck, entries_, &CopyRow::Selez);
    picColl_ = linkedPictureColumn(list, ColPicture);

    // The name editor: upper-case text ("A"), opened over the Descrizione cell.
    txtList_ = new txtFrmt(list.Container());
    txtList_->setObjectName(QStringLiteral("txtList"));
    txtList_->setDialogs(&session_.dialogs());
    txtList_->setInputMask(QStringLiteral("A"));
    txtList_->hide();
    new EditorHook(list, txtList_);
    connect(&list, &grdComm::DblClick, this, [this] { EditList(32); });
    connect(&list, &grdComm::KeyPress, this, [this](int& key) { EditList(key); });
    connect(&list, &grdComm::LeaveCell, this, &frmCopy::AggiList);
    // ListForm redraws the row controls on Scroll; the names are taken first.
    disconnect(&list, &grdComm::Scroll, this, nullptr);
    connect(&list, &grdComm::Scroll, this, [this] {
        AggiList();
        DispchkS();
    });

    lookups_.ArAttiva = false;
    {
        WaitWindow shown(*this);
        fillAreas();
        lookups_.LeggDitt(picker(0).take(), /*all=*/false);
        picker(0).show();
    }
    DispchkS();
}

frmCopy::~frmCopy() = default;

void frmCopy::createFields() {
    auto* row = new QWidget(this);
    row->setObjectName(QStringLiteral("picArea"));
    auto* line = new QHBoxLayout(row);
    line->setContentsMargins(0, 0, 0, 0);
    txtName_ = new txtFrmt(row);
    txtName_->setObjectName(QStringLiteral("txtFlds_0"));
    txtPath_ = new txtFrmt(row);
    txtPath_->setObjectName(QStringLiteral("txtFlds_1"));
    for (txtFrmt* t : {txtName_, txtPath_}) {
        t->setDialogs(&session_.dialogs());
        t->setText(QString());
    }
    cmdExplore_ = new QPushButton(QStringLiteral("..."), row);
    cmdExplore_->setObjectName(QStringLiteral("cmdExplore"));
    line->addWidget(new QLabel(QStringLiteral("AREA Nuova:"), row));
    line->addWidget(txtName_, 1);
    line->addWidget(new QLabel(QStringLiteral("Percorso PARENT:"), row));
    line->addWidget(txtPath_, 2);
    line->addWidget(cmdExplore_);
    // Below the pickers, above the list.
    static_cast<QVBoxLayout*>(layout())->insertWidget(1, row);
}

QLabel* frmCopy::picColl(int i) const { return static_cast<QLabel*>(picColl_->existing(i)); }

void frmCopy::fillAreas() {
    for (int index : {2, 3}) {
        lookups_.LeggAree(picker(index).take(), 0, /*showParent=*/true, /*all=*/false);
        picker(index).show();
    }
}

void frmCopy::LeggList() {
    WaitWindow shown(*this);
    entries_.clear();
    const QComboBox* area = cmbFlds(2);
    if (area->currentIndex() >= 0)
        entries_ = AreaCopyRun::LeggList(session_, model_, long(area->itemData(area->currentIndex()).toLongLong()));
    fillGrid(int(entries_.size()), [this](int row, int n) {
        clsList().setTextMatrix(row, ColNumber, QString::number(n));
        clsList().setTextMatrix(row, ColDescription, QString::fromStdString(entries_[std::size_t(n - 1)].Archivio));
    });
}

void frmCopy::DispchkS() {
    if (!checks_) return;
    checks_->DispchkS();
    const int top = clsList().TopRow();
    const int shown = visibleEntries(int(entries_.size()));
    for (int i = 1; i <= shown; ++i) {
        const int r = top + i - 1;
        if (entries_[std::size_t(r - 1)].Collegata) {
            picColl_->place(i, r, 40, 40);
            picColl_->element(i)->raise();
        } else if (QWidget* pic = picColl_->existing(i)) {
            pic->hide();
        }
    }
    picColl_->hideAbove(shown);
}

void frmCopy::EditList(int KeyAscii) {
    // Only the name is a value of the copy; the number and the tick are the list's own.
    const int n = clsList().Row() - clsList().FixedRows() + 1;
    if (clsList().Col() != ColDescription || n < 1 || n > int(entries_.size())) return;
    runGuarded(session_.dialogs(), "frmCopy", "EditList", "", [&] { clsList().GridEdit(txtList_, KeyAscii); });
}

void frmCopy::AggiList() {
    runGuarded(session_.dialogs(), "frmCopy", "AggiList", "", [&] {
        clsList().AggiGrid(txtList_);
        grdComm& list = clsList();
        const int first = list.FixedRows();
        for (int r = first; r < list.Rows() && r - first < int(entries_.size()); ++r)
            entries_[std::size_t(r - first)].Archivio = list.TextMatrix(r, ColDescription).toStdString();
    });
}

void frmCopy::cmbFlds_Click(int index) { companyYearAreaPicked(index); }

void frmCopy::cmdExplore_Click() {
    const auto picked = session_.dialogs().pickFolder(AreaCopyRun::caption(), txtPath_->text().toStdString());
    // A cancelled dialog leaves what was typed.
    if (picked) txtPath_->setText(QString::fromStdString(*picked));
}

void frmCopy::cmdCopy_Click() {
    // A name still in the editor counts, as if the editor had lost the focus.
    AggiList();

    AreaCopyRequest request;
    request.newAreaName = txtName_->text().toStdString();
    request.parentFolder = txtPath_->text().toStdString();
    const int parentIndex = picker(3).listIndex();
    if (parentIndex >= 0) request.parentAreaId = long(cmbFlds(3)->itemData(parentIndex).toLongLong());
    request.companyIndex = picker(0).listIndex();
    if (request.companyIndex >= 0 && request.companyIndex < int(lookups_.aDitte.size()))
        request.companyCode = lookups_.aDitte[std::size_t(request.companyIndex)].Codice;
    request.yearIndex = picker(1).listIndex();
    request.yearText = cmbFlds(1)->currentText().toStdString();
    request.arAttiva = lookups_.ArAttiva;

    cmdCopy_->setEnabled(false);
    AreaCopyRun run(session_);
    last_ = run.cmdCopy_Click(request, entries_);
    if (last_.enableButton) {
        cmdCopy_->setEnabled(true);
        return;
    }
    if (!last_.completed) return;
    // The new area is listed; the button stays disabled until the form is opened again.
    fillAreas();
    LeggList();
    DispchkS();
}

}  // namespace zq
