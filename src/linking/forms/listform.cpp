#include "linking/forms/listform.h"

#include "common/progress.h"
// waitprogress.h converts its QPointer<frmWait> inline: it needs the whole class.
#include "config/frmwait.h"
#include "config/waitprogress.h"
#include "linking/forms/combopicker.h"
#include "listctl/fill_column.h"
#include "listctl/flex_grid.h"
#include "listctl/grdcomm.h"
#include "listctl/twips.h"

#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

namespace zq {

ListForm::ListForm(Session& session, Progress* wait, const char* name, const char* caption, QWidget* parent)
    : QWidget(parent), session_(session), lookups_(session) {
    setObjectName(QString::fromLatin1(name));
    setWindowTitle(QString::fromUtf8(caption));
    if (!wait) {
        ownWait_ = std::make_unique<WaitProgress>(QString::fromStdString(session.programFolder().string()), this);
        wait = ownWait_.get();
    }
    wait_ = wait;

    auto* column = new QVBoxLayout(this);
    auto* parm = new QWidget(this);
    parm->setObjectName(QStringLiteral("picParm"));
    picParm_ = new QHBoxLayout(parm);
    picParm_->setContentsMargins(0, 0, 0, 0);
    picParm_->addStretch(1);
    column->addWidget(parm);

    grdList_ = new FlexGrid(this);
    grdList_->setObjectName(QStringLiteral("grdList"));
    column->addWidget(grdList_, 1);
    grdList_->installEventFilter(this);
    grdList_->viewport()->installEventFilter(this);

    auto* bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("picCNTR"));
    picCNTR_ = new QHBoxLayout(bar);
    picCNTR_->setContentsMargins(0, 0, 0, 0);
    picCNTR_->addStretch(1);
    cmdExit_ = new QPushButton(tr("&Esci"), bar);
    cmdExit_->setObjectName(QStringLiteral("cmdExit"));
    picCNTR_->addWidget(cmdExit_);
    column->addWidget(bar);
    connect(cmdExit_, &QPushButton::clicked, this, &QWidget::close);

    clsList_ = std::make_unique<grdComm>(session.dialogs());
    connect(clsList_.get(), &grdComm::Scroll, this, [this] { placeRowControls(); });
}

ListForm::~ListForm() {
    // The form's own part is gone: nothing may redraw its row controls any more.
    grdList_->removeEventFilter(this);
    grdList_->viewport()->removeEventFilter(this);
    clsList_->disconnect(this);
}

QComboBox* ListForm::cmbFlds(int index) const {
    auto it = cmbFlds_.find(index);
    return it == cmbFlds_.end() ? nullptr : it->second;
}

ComboPicker& ListForm::picker(int index) const { return *pickers_.at(index); }

QComboBox* ListForm::addPicker(int index, const char* label) {
    auto* caption = new QLabel(QString::fromUtf8(label), this);
    auto* combo = new QComboBox(this);
    combo->setObjectName(QStringLiteral("cmbFlds_%1").arg(index));
    // Wide enough for its longest company or area where the window has room; never
    // narrower than 18 characters.
    combo->setMinimumContentsLength(18);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    caption->setBuddy(combo);
    // Pickers line up left to right in the order the form adds them.
    const int at = picParm_->count() - 1;
    picParm_->insertWidget(at, caption);
    picParm_->insertWidget(at + 1, combo);
    cmbFlds_[index] = combo;
    pickers_[index] = std::make_unique<ComboPicker>(combo);
    return combo;
}

QPushButton* ListForm::addButton(const char* name, const char* caption) {
    auto* b = new QPushButton(QString::fromUtf8(caption), cmdExit_->parentWidget());
    b->setObjectName(QString::fromLatin1(name));
    picCNTR_->insertWidget(picCNTR_->indexOf(cmdExit_), b);
    return b;
}

void ListForm::addToBar(QWidget* w) {
    w->setParent(cmdExit_->parentWidget());
    // Before the stretch that pushes the buttons to the right.
    int stretch = 0;
    while (stretch < picCNTR_->count() && !picCNTR_->itemAt(stretch)->spacerItem()) ++stretch;
    picCNTR_->insertWidget(stretch, w);
}

void ListForm::initList(const char* format, int newRowCol) {
    clsList_->InitGrid(grdList_, 0, windowTitle(), QString::fromUtf8(format), newRowCol, 0, 0, 315);
}

void ListForm::fillGrid(int count, const std::function<void(int row, int n)>& write) {
    grdComm& list = *clsList_;
    list.InitBkmk();
    list.setRows(list.FixedRows() + 1);
    for (int c = list.FixedCols(); c < list.Cols(); ++c) list.setTextMatrix(list.FixedRows(), c, QString());
    for (int n = 1; n <= count; ++n) {
        write(list.Rows() - 1, n);
        list.AddNewRw();
    }
    list.setTopRow(list.FixedRows());
}

std::unique_ptr<CheckColumn> ListForm::addCheckColumn(int col, CheckEntries entries) {
    auto checks = std::make_unique<CheckColumn>(*clsList_, col, std::move(entries), this);
    connect(clsList_.get(), &grdComm::Click, checks.get(), &CheckColumn::gridClick);
    return checks;
}

bool ListForm::connected() {
    if (session_.connected()) return true;
    if (!toldNotConnected_) {
        toldNotConnected_ = true;
        session_.dialogs().message(
            Message{Session::notConnectedText(), windowTitle().toStdString(), Buttons::Ok, Icon::Exclamation});
    }
    return false;
}

void ListForm::companyYearAreaPicked(int index) {
    switch (index) {
        case 0:
            lookups_.CambDitt(picker(0).take(), picker(1).take(), /*allYears=*/false);
            picker(1).show();
            if (cmbFlds(1)->currentIndex() >= 0) companyYearAreaPicked(1);
            break;
        case 1:
            lookups_.CambEser(picker(0).take(), picker(1).take());
            break;
        case 2:
            LeggList();
            placeRowControls();
            break;
        default:
            break;
    }
}

ListForm::WaitWindow::WaitWindow(ListForm& form) : form_(form) {
    if (form_.waitDepth_++ == 0) form_.wait_->begin();
}

ListForm::WaitWindow::~WaitWindow() {
    if (--form_.waitDepth_ == 0) form_.wait_->end();
}

int ListForm::visibleEntries(int count) const {
    const int top = clsList_->TopRow();
    const int last = std::min(top + clsList_->NumVisibleRows() - 1, count);
    return std::max(0, last - top + 1);
}

QSize ListForm::sizeHint() const {
    if (!clsList_->grid()) return QWidget::sizeHint();
    int columns = 0;
    for (int c = 0; c < clsList_->Cols(); ++c)
        columns += twipsToPx(c == fillColumn_ ? fillMinimum_ : clsList_->ColWidth(c));
    const QMargins margins = layout()->contentsMargins();
    const int grid = columns + 2 * grdList_->frameWidth() + grdList_->verticalScrollBar()->sizeHint().width();
    return QWidget::sizeHint().expandedTo(QSize(grid + margins.left() + margins.right(), 0));
}

void ListForm::setFillColumn(int col, int minTwips) {
    fillColumn_ = col;
    fillMinimum_ = minTwips;
}

bool ListForm::eventFilter(QObject* watched, QEvent* e) {
    // Whatever moved or sized the grid (the form's layout, a resize), the columns and
    // the row controls follow it.
    // The viewport is sized after the grid itself, so the columns fit on its resize.
    if (watched == grdList_->viewport() && e->type() == QEvent::Resize) {
        fitFillColumn();
        placeRowControls();
    } else if (watched == grdList_ && (e->type() == QEvent::Resize || e->type() == QEvent::Move)) {
        placeRowControls();
    }
    return QWidget::eventFilter(watched, e);
}

void ListForm::fitFillColumn() {
    if (fillColumn_ >= 0) zq::fitFillColumn(*clsList_, fillColumn_, fillMinimum_);
}

}  // namespace zq
