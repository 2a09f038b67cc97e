#include "listctl/check_column.h"

#include "listctl/grdcomm.h"

#include <QCheckBox>

namespace zq {

namespace {

// Where a box sits inside its cell, in twips from the column's left and the row's top.
constexpr int kBoxDx = 60;
constexpr int kBoxDy = 90;

}  // namespace

CheckColumn::CheckColumn(grdComm& list, int column, CheckEntries entries, QObject* parent)
    : QObject(parent), list_(list), entries_(std::move(entries)),
      boxes_(list, column, [this](int index) { return makeBox(index); })
{
}

QWidget* CheckColumn::makeBox(int index)
{
    auto* box = new QCheckBox(list_.Container());
    box->setObjectName(QStringLiteral("chkList_%1").arg(index));
    box->adjustSize();
    connect(box, &QCheckBox::toggled, this, [this, index] { chkList_Click(index); });
    return box;
}

QCheckBox* CheckColumn::box(int i) const
{
    return static_cast<QCheckBox*>(boxes_.existing(i));
}

void CheckColumn::DispchkS()
{
    if (!list_.grid())
        return;
    const int top = list_.TopRow();
    const int last = top + list_.NumVisibleRows() - 1;
    const int count = entries_.count();
    int placed = 0;
    for (int r = top; r <= last && r <= count; ++r) {
        const int i = r - top + 1;
        boxes_.place(i, r, kBoxDx, kBoxDy);
        box(i)->setChecked(entries_.selected(r));
        placed = i;
    }
    boxes_.hideAbove(placed);
}

void CheckColumn::chkList_Click(int index)
{
    QCheckBox* b = box(index);
    if (!b)
        return;
    const int entry = list_.TopRow() + index - 1;
    // A box can only speak for an entry that exists.
    if (entry >= 1 && entry <= entries_.count())
        entries_.setSelected(entry, b->isChecked());
    if (onClick_)
        onClick_();
}

void CheckColumn::gridClick()
{
    if (!list_.grid() || list_.Row() < list_.FixedRows())
        return;
    const int i = list_.Row() - list_.TopRow() + 1;
    QCheckBox* b = box(i);
    // A hidden box stands for no entry (a row past the end of the list).
    if (b && !b->isHidden())
        b->setChecked(true);
}

}  // namespace zq
