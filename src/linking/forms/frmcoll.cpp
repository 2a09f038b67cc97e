#include "linking/forms/frmcoll.h"

#include "linking/forms/combopicker.h"
#include "linking/forms/linkedpicture.h"
#include "linking/link_list.h"
#include "linking/link_run.h"
#include "listctl/check_column.h"
#include "listctl/flex_grid.h"
#include "listctl/grdcomm.h"
#include "listctl/twips.h"
#include "optionctl/lumechoice_factory.h"
#include "optionctl/optsino.h"
#include "runtime/text.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>

namespace zq {
namespace {

// Sizes of the per-row controls, in twips; their columns take these widths.
constexpr int kOptionWidth = 1500, kOptionHeight = 255;
constexpr int kDocPickerWidth = 2700;

}  // namespace

const char* const frmColl::kFormat = "     |     |  N.  |<Area|<Descrizione|Tipo Assoc.|Tipo Doc.|       ";

frmColl::frmColl(Session& session, Progress* wait, QWidget* parent)
    : ListForm(session, wait, "frmColl", "Collegamento tabelle al database TARV", parent) {
    addPicker(0, "DITTA  Tarv:");
    addPicker(1, "ANNO:");
    addPicker(2, "AREA  Quirnova:");
    cmdColl_ = addButton("cmdColl", "&Collega");
    for (int index : {0, 1, 2})
        connect(cmbFlds(index), &QComboBox::activated, this, [this, index] { cmbFlds_Click(index); });
    connect(cmdColl_, &QPushButton::clicked, this, &frmColl::cmdColl_Click);

    initList(kFormat, 2);
    grdComm& list = clsList();
    list.setColWidth(ColArea, 2000);
    list.setColWidth(ColDescription, 3200);
    setFillColumn(ColDescription, 3200);
    list.setColWidth(ColAssoc, kOptionWidth + 60);
    list.setColWidth(ColDocType, kDocPickerWidth + 60);

    checks_ = std::make_unique<CheckColumn>(
        list, ColCheck,
        CheckEntries{[this] { return int(entries_.size()); },
                     [this](int n) { return entries_.at(std::size_t(n - 1)).selected; },
                     [this](int n, bool on) { entries_.at(std::size_t(n - 1)).selected = on; }},
        this);
    checks_->setOnClick([this] {
        cmdColl_->setEnabled(true);
        placeRowExtras();
    });
    connect(&list, &grdComm::Click, checks_.get(), &CheckColumn::gridClick);
    optTAss_ = std::make_unique<OverlayColumn>(list, ColAssoc, [this](int i) { return makeOption(i); });
    cmbTDoc_ = std::make_unique<OverlayColumn>(list, ColDocType, [this](int i) { return makeDocPicker(i); });
    picColl_ = std::make_unique<OverlayColumn>(list, ColPicture, [this](int i) {
        auto* pic = new QLabel(clsList().Container());
        pic->setObjectName(QStringLiteral("picColl_%1").arg(i));
        pic->setPixmap(linkedPicture());
        pic->adjustSize();
        return pic;
    });

    lookups_.ArAttiva = false;
    {
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
    DispCtrl();
}

frmColl::~frmColl() = default;

optSiNo* frmColl::optTAss(int i) const { return static_cast<optSiNo*>(optTAss_->existing(i)); }
QComboBox* frmColl::cmbTDoc(int i) const { return static_cast<QComboBox*>(cmbTDoc_->existing(i)); }
QLabel* frmColl::picColl(int i) const { return static_cast<QLabel*>(picColl_->existing(i)); }

QWidget* frmColl::makeOption(int i) {
    auto* opt = qobject_cast<optSiNo*>(lumechoice::createControl(QStringLiteral("Lumechoice.optSiNo"), clsList().Container()));
    opt->setObjectName(QStringLiteral("optTAss_%1").arg(i));
    opt->setCaption0(QStringLiteral("&Mov."));
    opt->setCaption1(QStringLiteral("&Altro"));
    opt->setTag0(QStringLiteral("M"));
    opt->setTag1(QStringLiteral("A"));
    opt->resize(twipsToPx(kOptionWidth), twipsToPx(kOptionHeight));
    connect(opt, &optSiNo::Change, this, [this, i] { optTAss_Change(i); });
    return opt;
}

QWidget* frmColl::makeDocPicker(int i) {
    auto* cmb = new QComboBox(clsList().Container());
    cmb->setObjectName(QStringLiteral("cmbTDoc_%1").arg(i));
    // Item k stands for aDocs(k).
    for (const auto& d : lookups_.aDocs) cmb->addItem(QString::fromStdString(vbTrim(d.Descr)));
    cmb->setCurrentIndex(-1);
    cmb->resize(twipsToPx(kDocPickerWidth), twipsToPx(clsList().RowHgt()));
    connect(cmb, &QComboBox::activated, this, [this, i] { cmbTDoc_Click(i); });
    return cmb;
}

ArchRow* frmColl::entryOfRow(int i) {
    const int n = clsList().TopRow() + i - 1;
    if (n < 1 || n > int(entries_.size())) return nullptr;
    return &entries_[std::size_t(n - 1)];
}

void frmColl::LeggList() {
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

void frmColl::DispCtrl() {
    if (!checks_) return;
    checks_->DispchkS();
    placeRowExtras();
}

void frmColl::placeRowExtras() {
    const int top = clsList().TopRow();
    const int shown = visibleEntries(int(entries_.size()));
    for (int i = 1; i <= shown; ++i) {
        const int r = top + i - 1;
        const ArchRow& e = entries_[std::size_t(r - 1)];
        auto* opt = static_cast<optSiNo*>(optTAss_->element(i));
        auto* cmb = static_cast<QComboBox*>(cmbTDoc_->element(i));
        if (e.selected) {
            optTAss_->place(i, r, 30, 30);
            opt->setValue(QString::fromStdString(e.associationType));
            const QSignalBlocker quiet(cmb);
            if (e.associationType == "M") {
                cmbTDoc_->place(i, r, 30, 0);
                cmb->setCurrentIndex(e.docTypeIndex);
            } else {
                cmb->setCurrentIndex(-1);
                cmb->hide();
            }
        } else {
            opt->hide();
            cmb->hide();
        }
        if (e.linked)
            picColl_->place(i, r, 40, 40);
        else
            picColl_->element(i)->hide();
    }
    optTAss_->hideAbove(shown);
    cmbTDoc_->hideAbove(shown);
    picColl_->hideAbove(shown);
}

void frmColl::optTAss_Change(int i) {
    ArchRow* e = entryOfRow(i);
    optSiNo* opt = optTAss(i);
    if (!e || !opt) return;
    e->associationType = opt->value().toStdString();
    QComboBox* cmb = static_cast<QComboBox*>(cmbTDoc_->element(i));
    if (e->associationType == "M") {
        const QSignalBlocker quiet(cmb);
        cmbTDoc_->place(i, clsList().TopRow() + i - 1, 30, 0);
        cmb->setCurrentIndex(e->docTypeIndex);
        return;
    }
    // "A" carries no document type: the picker goes to no selection, and that pick
    // reaches the entry as any other pick of the picker does.
    {
        const QSignalBlocker quiet(cmb);
        cmb->setCurrentIndex(-1);
        cmb->hide();
    }
    cmbTDoc_Click(i);
}

void frmColl::cmbTDoc_Click(int i) {
    ArchRow* e = entryOfRow(i);
    QComboBox* cmb = cmbTDoc(i);
    if (!e || !cmb) return;
    e->docTypeIndex = cmb->currentIndex();
    CtrlParm();
}

bool frmColl::CtrlParm() { return LinkRun::CtrlParm(entries_, session_.dialogs()); }

void frmColl::cmbFlds_Click(int index) {
    switch (index) {
        case 0:
            lookups_.CambDitt(picker(0).take(), picker(1).take(), /*allYears=*/false);
            picker(1).show();
            // Filling the years selects the latest; that selection is a year pick.
            if (cmbFlds(1)->currentIndex() >= 0) cmbFlds_Click(1);
            break;
        case 1:
            lookups_.CambEser(picker(0).take(), picker(1).take());
            break;
        case 2:
            LeggList();
            DispCtrl();
            break;
        default:
            break;
    }
}

void frmColl::cmdColl_Click() {
    LinkRequest request;
    request.companyIndex = cmbFlds(0)->currentIndex();
    if (request.companyIndex >= 0 && request.companyIndex < int(lookups_.aDitte.size()))
        request.companyCode = lookups_.aDitte[std::size_t(request.companyIndex)].Codice;
    request.yearIndex = cmbFlds(1)->currentIndex();
    request.yearText = cmbFlds(1)->currentText().toStdString();
    request.arAttiva = lookups_.ArAttiva;

    LinkRun run(session_, lookups_.aDocs);
    if (!run.cmdColl_Click(request, entries_).completed) return;
    LeggList();
    DispCtrl();
}

}  // namespace zq
