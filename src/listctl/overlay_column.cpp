#include "listctl/overlay_column.h"

#include "listctl/grdcomm.h"
#include "listctl/twips.h"

#include <QWidget>

#include <stdexcept>

namespace zq {

OverlayColumn::OverlayColumn(grdComm& list, int column, Factory make)
    : list_(list), column_(column), make_(std::move(make))
{
}

QWidget* OverlayColumn::element(int i)
{
    if (i < 1)
        throw std::out_of_range("overlay: element " + std::to_string(i) + " (elements start at 1)");
    while (loaded() < i) {
        QWidget* w = make_(loaded() + 1);
        if (!w)
            throw std::runtime_error("overlay: the factory made no control");
        w->hide();
        elements_.push_back(w);
    }
    return elements_[std::size_t(i - 1)];
}

QWidget* OverlayColumn::existing(int i) const
{
    return i >= 1 && i <= loaded() ? elements_[std::size_t(i - 1)] : nullptr;
}

QPoint OverlayColumn::position(const grdComm& list, int column, int row, int dxTwips, int dyTwips)
{
    return QPoint(twipsToPx(list.ColPos(column) + dxTwips), twipsToPx(list.RowPos(row) + dyTwips));
}

void OverlayColumn::place(int i, int row, int dxTwips, int dyTwips)
{
    QWidget* w = element(i);
    QPoint at = position(list_, column_, row, dxTwips, dyTwips);
    QWidget* container = list_.Container();
    if (container && w->parentWidget() && w->parentWidget() != container)
        at = w->parentWidget()->mapFromGlobal(container->mapToGlobal(at));
    w->move(at);
    w->raise();
    w->show();
}

void OverlayColumn::hideAbove(int lastShown)
{
    for (int i = std::max(lastShown + 1, 1); i <= loaded(); ++i)
        elements_[std::size_t(i - 1)]->hide();
}

int OverlayColumn::rowOf(int i) const { return list_.TopRow() + i - 1; }

}  // namespace zq
