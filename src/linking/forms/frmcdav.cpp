#include "linking/forms/frmcdav.h"

#include "linking/dav_run.h"
#include "linking/forms/combopicker.h"
#include "listctl/grdcomm.h"

#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>

namespace zq {

const char* const frmCDAV::kFormat = "     |     |  N.  |<Area|<Descrizione|       ";

frmCDAV::frmCDAV(Session& session, Progress* wait, QWidget* parent)
    : ArchListForm(session, wait, "frmCDAV", "Collegamento tabelle DAV", /*withYear=*/false, parent) {
    cmdColl_ = addButton("cmdColl", "&Collega");
    for (int index : {0, 2})
        connect(cmbFlds(index), &QComboBox::activated, this, [this, index] { cmbFlds_Click(index); });
    connect(cmdColl_, &QPushButton::clicked, this, &frmCDAV::cmdColl_Click);

    initArchList(kFormat, 3600);
    grdComm& list = clsList();
    connect(&list, &grdComm::Click, this, &frmCDAV::grdList_Click);
    optList_ = std::make_unique<OverlayColumn>(list, ColOption, [this](int i) {
        auto* opt = new QRadioButton(clsList().Container());
        opt->setObjectName(QStringLiteral("optList_%1").arg(i));
        // One choice for the whole list, whichever rows are on screen: the form keeps it.
        opt->setAutoExclusive(false);
        opt->adjustSize();
        connect(opt, &QRadioButton::clicked, this, [this, i] { optList_Click(i); });
        return opt;
    });

    fillPickers();
    DispCtrl();
}

frmCDAV::~frmCDAV() = default;

QRadioButton* frmCDAV::optList(int i) const { return static_cast<QRadioButton*>(optList_->existing(i)); }

void frmCDAV::LeggList() {
    chosen_ = -1;
    ArchListForm::LeggList();
}

void frmCDAV::DispCtrl() {
    if (!optList_) return;
    const int top = clsList().TopRow();
    const int shown = visibleEntries(int(entries_.size()));
    for (int i = 1; i <= shown; ++i) {
        const int r = top + i - 1;
        optList_->place(i, r, 60, 90);
        static_cast<QRadioButton*>(optList_->element(i))->setChecked(r == chosen_);
        if (entries_[std::size_t(r - 1)].linked)
            picColl_->place(i, r, 40, 40);
        else
            picColl_->element(i)->hide();
    }
    optList_->hideAbove(shown);
    picColl_->hideAbove(shown);
}

void frmCDAV::optList_Click(int i) {
    const int n = clsList().TopRow() + i - 1;
    if (n < 1 || n > int(entries_.size())) return;
    chosen_ = n;
    DispCtrl();
}

void frmCDAV::grdList_Click() {
    const grdComm& list = clsList();
    if (list.Row() < list.FixedRows()) return;
    const int i = list.Row() - list.TopRow() + 1;
    QRadioButton* opt = optList(i);
    if (!opt || opt->isHidden()) return;
    opt->setChecked(true);
    optList_Click(i);
}

void frmCDAV::cmbFlds_Click(int index) {
    if (index == 0) {
        lookups_.CambDit1(picker(0).take());
    } else if (index == 2) {
        LeggList();
        DispCtrl();
    }
}

void frmCDAV::cmdColl_Click() {
    DavRequest request;
    request.companyIndex = cmbFlds(0)->currentIndex();
    if (request.companyIndex >= 0 && request.companyIndex < int(lookups_.aDitte.size()))
        request.companyCode = lookups_.aDitte[std::size_t(request.companyIndex)].Codice;
    request.arAttiva = lookups_.ArAttiva;

    DavRun run(session_);
    if (!run.cmdColl_Click(request, entries_, chosen_ - 1).asked) return;
    // Yes or No, the list is read again and the choice cleared.
    LeggList();
    DispCtrl();
}

}  // namespace zq
