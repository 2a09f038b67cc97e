#include "linking/forms/frmfree.h"

#include "linking/free_run.h"
#include "listctl/check_column.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QSignalBlocker>

namespace zq {

const char* const frmFree::kFormat = "    |  N.  |<Area|<Descrizione|Ditta|Anno|Tipo Assoc.|Tipo Documento|       ";

frmFree::frmFree(Session& session, Progress* wait, QWidget* parent)
    : FreeListForm(session, wait, "frmFree", "Scollegamento tabelle al database TARV", &LinkList::linked, parent) {
    chk_All_ = new QCheckBox(tr("Seleziona Tutti"), this);
    chk_All_->setObjectName(QStringLiteral("chk_All"));
    addToBar(chk_All_);
    cmdFree_ = addButton("cmdFree", "&Scollega");
    connect(chk_All_, &QCheckBox::clicked, this, &frmFree::chk_All_Click);
    connect(cmdFree_, &QPushButton::clicked, this, &frmFree::cmdFree_Click);

    initFreeList(kFormat);
    for (int index : {0, 1}) {
        const QSignalBlocker quiet(cmbFlds(index));
        cmbFlds(index)->setCurrentIndex(-1);
    }
    DispchkS();
}

frmFree::~frmFree() = default;

void frmFree::chk_All_Click() {
    const bool on = chk_All_->isChecked();
    // Only the rows on screen: a box left over from a longer list or a taller window
    // is hidden and stands for no row shown.
    for (int i = 1; i <= checks().loadedBoxes(); ++i)
        if (QCheckBox* box = checks().box(i); box && !box->isHidden()) box->setChecked(on);
    chk_All_->setText(on ? tr("Deseleziona Tutti") : tr("Seleziona Tutti"));
}

void frmFree::cmdFree_Click() {
    FreeRun run(session_);
    if (!run.cmdFree_Click(entries_, /*allCompanies=*/cmbFlds(0)->currentIndex() < 1).completed) return;
    LeggList();
    DispchkS();
}

}  // namespace zq
