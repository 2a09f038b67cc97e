#include "premastering/forms/frmmast.h"

#include "config/barprogress.h"
#include "premastering/premaster_run.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace zq {

const char* const frmMast::kFormat =
    "    |  N.  |<Area|<Descrizione|Ditta|Anno|Tipo Assoc.|Tipo Documento                     |       ";

frmMast::frmMast(Session& session, Progress* wait, QWidget* parent)
    : FreeListForm(session, wait, "frmMast", "Pre-Masterizzazione Archivi", &LinkList::premastering, parent) {
    setProperty("x_Form", QStringLiteral("0"));
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
    connect(cmdMast_, &QPushButton::clicked, this, &frmMast::cmdMast_Click);

    initFreeList(kFormat);
    LeggList();
    DispchkS();
}

frmMast::~frmMast() = default;

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
