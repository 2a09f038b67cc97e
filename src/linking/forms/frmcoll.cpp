#include "linking/forms/frmcoll.h"

#include "linking/forms/combopicker.h"
#include "linking/link_run.h"
#include "listctl/check_column.h"
#include "listctl/flex_grid.h"
#include "listctl/grdcomm.h"
#include "listctl/twips.h"
#include "optionctl/lumechoice_factory.h"
#include "optionctl/optsino.h"
#include "runtime/text.h"

#include <QComboBox>
#include <QPushButton>
#include <QSignalBlocker>

#include <algorithm>

namespace zq {
namespace {

// Sizes of the per-row controls, in twips; their columns take these widths.
constexpr int kOptionWidth = 1500, kOptionHeight = 255;
constexpr int kDocPickerWidth = 2700;

}  // namespace

const char* const frmColl::kFormat = "     |     |  N.  |<Area|<Descrizione|Tipo Assoc.|Tipo Doc.|       ";

frmColl::frmColl(Session& session, Progress* wait, QWidget* parent)
    : ArchListForm(session, wait, "frmColl", "Collegamento tabelle al database TARV", /*withYear=*/true, parent) {
    cmdColl_ = addButton("cmdColl", "&Collega");
    for (int index : {0, 1, 2})
        connect(cmbFlds(index), &QComboBox::activated, this, [this, index] { cmbFlds_Click(index); });
    connect(cmdColl_, &QPushButton::clicked, this, &frmColl::cmdColl_Click);

    initArchList(kFormat, 3200);
    grdComm& list = clsList();
    // The row controls are as large as the form's design made them, or as their texts
    // need at today's fonts when that is more; their columns follow.
    optSiNo probe;
    probe.setCaption0(QStringLiteral("&Mov."));
    probe.setCaption1(QStringLiteral("&Altro"));
    optionPx_ = std::max(twipsToPx(kOptionWidth), probe.sizeHint().width());
    list.setColWidth(ColAssoc, pxToTwips(optionPx_) + 60);
    list.setColWidth(ColDocType, kDocPickerWidth + 60);

    checks_ = addCheckColumn(ColCheck, entries_, &ArchRow::selected);
    checks_->setOnClick([this] {
        cmdColl_->setEnabled(true);
        placeRowExtras();
    });
    optTAss_ = std::make_unique<OverlayColumn>(list, ColAssoc, [this](int i) { return makeOption(i); });
    cmbTDoc_ = std::make_unique<OverlayColumn>(list, ColDocType, [this](int i) { return makeDocPicker(i); });

    fillPickers();
    fitDocPickers();
    DispCtrl();
}

void frmColl::fitDocPickers() {
    QComboBox probe;
    probe.setSizeAdjustPolicy(QComboBox::AdjustToContents);
    for (const auto& d : lookups_.aDocs) probe.addItem(QString::fromStdString(vbTrim(d.Descr)));
    docPickerPx_ = std::max(twipsToPx(kDocPickerWidth), probe.sizeHint().width());
    clsList().setColWidth(ColDocType, pxToTwips(docPickerPx_) + 60);
}

frmColl::~frmColl() = default;

optSiNo* frmColl::optTAss(int i) const { return static_cast<optSiNo*>(optTAss_->existing(i)); }
QComboBox* frmColl::cmbTDoc(int i) const { return static_cast<QComboBox*>(cmbTDoc_->existing(i)); }

QWidget* frmColl::makeOption(int i) {
    auto* opt = qobject_cast<optSiNo*>(lumechoice::createControl(QStringLiteral("Lumechoice.optSiNo"), clsList().Container()));
    opt->setObjectName(QStringLiteral("optTAss_%1").arg(i));
    opt->setCaption0(QStringLiteral("&Mov."));
    opt->setCaption1(QStringLiteral("&Altro"));
    opt->setTag0(QStringLiteral("M"));
    opt->setTag1(QStringLiteral("A"));
    opt->resize(optionPx_, twipsToPx(kOptionHeight));
    connect(opt, &optSiNo::Change, this, [this, i] { optTAss_Change(i); });
    return opt;
}

QWidget* frmColl::makeDocPicker(int i) {
    auto* cmb = new QComboBox(clsList().Container());
    cmb->setObjectName(QStringLiteral("cmbTDoc_%1").arg(i));
    // Item k stands for aDocs(k).
    for (const auto& d : lookups_.aDocs) cmb->addItem(QString::fromStdString(vbTrim(d.Descr)));
    cmb->setCurrentIndex(-1);
    cmb->resize(docPickerPx_, twipsToPx(clsList().RowHgt()));
    connect(cmb, &QComboBox::activated, this, [this, i] { cmbTDoc_Click(i); });
    return cmb;
}

ArchRow* frmColl::entryOfRow(int i) {
    const int n = clsList().TopRow() + i - 1;
    if (n < 1 || n > int(entries_.size())) return nullptr;
    return &entries_[std::size_t(n - 1)];
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

void frmColl::cmbFlds_Click(int index) { companyYearAreaPicked(index); }

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
