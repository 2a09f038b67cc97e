#include "listctl/check_column.h"

#include "listctl/grdcomm.h"
#include "listctl/twips.h"

#include <QCheckBox>

#include <algorithm>

namespace zq {

namespace {

// Room left around a box inside its column, in pixels on each side.
constexpr int kBoxMarginPx = 2;

}  // namespace

CheckColumn::CheckColumn(grdComm& list, int column, CheckEntries entries, QObject* parent)
    : QObject(parent), list_(list), entries_(std::move(entries)),
      boxes_(list, column, [this](int index) { return makeBox(index); })
{
    // The column the form laid out in twips may be narrower than a box at today's
    // styles and fonts: it widens so the box fits inside it.
    boxSize_ = QCheckBox().sizeHint();
    const double least = pxToTwips(boxSize_.width() + 2 * kBoxMarginPx);
    if (list_.grid() && list_.ColWidth(column) < least)
        list_.setColWidth(column, least);
}

QWidget* CheckColumn::makeBox(int index)
{
    auto* box = new QCheckBox(list_.Container());
    box->setObjectName(QStringLiteral("chkList_%1").arg(index));
    box->resize(boxSize_);
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
    // Each box sits in the middle of its cell, whatever the column's width and the
    // row's height.
    const int column = boxes_.column();
    const double dx = std::max(0.0, (list_.ColWidth(column) - pxToTwips(boxSize_.width())) / 2);
    for (int r = top; r <= last && r <= count; ++r) {
        const int i = r - top + 1;
        const double dy = std::max(0.0, (list_.ColHeight(r) - pxToTwips(boxSize_.height())) / 2);
        boxes_.place(i, r, int(dx), int(dy));
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
