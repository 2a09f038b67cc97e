#include "duplication/forms/frmanno.h"

#include "lookups/lookups.h"
#include "textbox/txtfrmt.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace zq {

frmAnno::frmAnno(Session& session, QWidget* parent) : QWidget(parent), session_(session) {
    setObjectName(QStringLiteral("frmAnno"));
    setProperty("x_Form", QStringLiteral("0"));
    setWindowTitle(QString::fromUtf8(YearCopyRun::caption()));
    createControls();

    // The TARV year of the new archives: the login year, any other typed or picked.
    cmbFlds(1)->setEditText(QString::number(session_.DataLogin.year));
    fillAreas();
}

frmAnno::~frmAnno() = default;

QComboBox* frmAnno::cmbFlds(int i) const {
    auto it = cmbFlds_.find(i);
    return it == cmbFlds_.end() ? nullptr : it->second;
}

QComboBox* frmAnno::addPicker(QGridLayout* grid, int row, int index, const char* label) {
    auto* combo = new QComboBox(this);
    combo->setObjectName(QStringLiteral("cmbFlds_%1").arg(index));
    combo->setMinimumContentsLength(24);
    if (label) {
        auto* caption = new QLabel(QString::fromUtf8(label), this);
        caption->setBuddy(combo);
        grid->addWidget(caption, row, 0);
    }
    grid->addWidget(combo, row, 1, 1, 2);
    cmbFlds_[index] = combo;
    pickers_[index] = std::make_unique<ComboPicker>(combo);
    return combo;
}

void frmAnno::createControls() {
    auto* grid = new QGridLayout;
    addPicker(grid, 0, 2, "AREA Annualità Origine:");
    // The child areas are the form's, not a pick: they show what the run will copy.
    addPicker(grid, 1, 0, "AREE da Duplicare:");
    addPicker(grid, 2, 3, "PARENT:");

    txtName_ = new txtFrmt(this);
    txtName_->setObjectName(QStringLiteral("txtFlds_0"));
    txtPath_ = new txtFrmt(this);
    txtPath_->setObjectName(QStringLiteral("txtFlds_1"));
    for (txtFrmt* t : {txtName_, txtPath_}) {
        t->setDialogs(&session_.dialogs());
        t->setText(QString());
    }
    grid->addWidget(new QLabel(QStringLiteral("AREA Annualità Nuova:"), this), 3, 0);
    grid->addWidget(txtName_, 3, 1, 1, 2);
    cmdExplore_ = new QPushButton(QStringLiteral("..."), this);
    cmdExplore_->setObjectName(QStringLiteral("cmdExplore"));
    grid->addWidget(new QLabel(QStringLiteral("Percorso PARENT:"), this), 4, 0);
    grid->addWidget(txtPath_, 4, 1);
    grid->addWidget(cmdExplore_, 4, 2);

    QComboBox* year = addPicker(grid, 5, 1, "NUOVO ANNO:");
    year->setEditable(true);
    for (int y = 2001; y <= 2012; ++y) year->addItem(QString::number(y));
    grid->setColumnStretch(1, 1);

    auto* column = new QVBoxLayout(this);
    column->addLayout(grid);
    for (int i = 0; i < 3; ++i) {
        lblElab_[i] = new QLabel(this);
        lblElab_[i]->setObjectName(QStringLiteral("lblElab_%1").arg(i));
        lblElab_[i]->hide();
        column->addWidget(lblElab_[i]);
    }
    column->addStretch(1);
    progress_ = std::make_unique<ElabProgress>(lblElab_[0], lblElab_[1], lblElab_[2]);

    auto* bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("picCNTR"));
    auto* buttons = new QHBoxLayout(bar);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->addStretch(1);
    cmdCopy_ = new QPushButton(QStringLiteral("&Duplica"), bar);
    cmdCopy_->setObjectName(QStringLiteral("cmdCopy"));
    cmdExit_ = new QPushButton(QStringLiteral("&Esci"), bar);
    cmdExit_->setObjectName(QStringLiteral("cmdExit"));
    buttons->addWidget(cmdCopy_);
    buttons->addWidget(cmdExit_);
    column->addWidget(bar);

    connect(cmbFlds(2), &QComboBox::activated, this, [this] { cmbFlds_Click(2); });
    connect(cmdExplore_, &QPushButton::clicked, this, &frmAnno::cmdExplore_Click);
    connect(cmdCopy_, &QPushButton::clicked, this, &frmAnno::cmdCopy_Click);
    connect(cmdExit_, &QPushButton::clicked, this, &QWidget::close);
}

void frmAnno::fillAreas() {
    Lookups lookups(session_);
    for (int index : {2, 3}) {
        lookups.LeggAree(pickers_[index]->take(), 0, /*showParent=*/true, /*all=*/false);
        pickers_[index]->show();
    }
}

void frmAnno::cmbFlds_Click(int index) {
    if (index != 2) return;
    Picker& children = pickers_[0]->picker();
    children.clear();
    const int source = pickers_[2]->listIndex();
    if (source >= 0) {
        YearCopyRun::childAreasOf(session_, long(cmbFlds(2)->itemData(source).toLongLong()), children);
        // The run goes through every child; the first one is shown.
        if (children.listCount() > 0) children.setListIndex(0);
    }
    pickers_[0]->show();
}

void frmAnno::cmdExplore_Click() {
    const auto picked = session_.dialogs().pickFolder(YearCopyRun::caption(), txtPath_->text().toStdString());
    // A cancelled dialog leaves what was typed.
    if (picked) txtPath_->setText(QString::fromStdString(*picked));
}

void frmAnno::cmdCopy_Click() {
    YearCopyRequest request;
    request.childAreas = pickers_[0]->picker();
    request.newYearName = txtName_->text().toStdString();
    request.parentFolder = txtPath_->text().toStdString();
    const int parentIndex = pickers_[3]->listIndex();
    if (parentIndex >= 0) request.parentAreaId = long(cmbFlds(3)->itemData(parentIndex).toLongLong());
    request.yearText = cmbFlds(1)->currentText().toStdString();

    std::vector<std::string> names;
    for (const auto& item : request.childAreas.items()) names.push_back(item.text);
    progress_->setAreas(std::move(names));

    cmdCopy_->setEnabled(false);
    YearCopyRun run(session_, *progress_);
    last_ = run.cmdCopy_Click(request);
    if (last_.enableButton) {
        cmdCopy_->setEnabled(true);
        return;
    }
    // The button stays disabled: another run needs the form opened again.
    if (last_.completed) fillAreas();
}

}  // namespace zq
