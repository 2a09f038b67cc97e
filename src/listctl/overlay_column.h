#pragma once
// Controls laid over one column of a list, one per visible data row: element i
// (1-based) stands for the i-th visible data row counted from the list's TopRow,
// so which entry it shows depends on the scroll position. Elements are created on
// demand by the form's factory and reused; the form repositions them whenever the
// visible rows change (after loading and on the list's Scroll event).
//
//   OverlayColumn pics(list, 1, [&](int) { return new QLabel(list.Container()); });
//   for (int r = list.TopRow(), i = 1; i <= list.NumVisibleRows(); ++r, ++i)
//       pics.place(i, r, 40, 40);

#include <QPoint>

#include <functional>
#include <vector>

class QWidget;

namespace zq {

class grdComm;

/// A create-on-demand array of per-row controls over one list column.
class OverlayColumn {
public:
    /// Makes element i; its parent should be the list's container.
    using Factory = std::function<QWidget*(int index)>;

    OverlayColumn(grdComm& list, int column, Factory make);

    int column() const { return column_; }
    /// Number of elements created so far (they are 1 .. loaded()).
    int loaded() const { return int(elements_.size()); }
    /// Element i, created (with any missing below it) when not loaded yet.
    QWidget* element(int i);
    /// Element i when loaded, else nullptr.
    QWidget* existing(int i) const;
    /// Top-left corner, in pixels of the list's container, of a control placed
    /// dx, dy twips from the left of `column` and the top of grid row `row`.
    static QPoint position(const grdComm& list, int column, int row, int dxTwips, int dyTwips);
    /// Moves element i over grid row `row` (offsets in twips), brings it to the
    /// front and shows it.
    void place(int i, int row, int dxTwips, int dyTwips);
    /// Hides every loaded element numbered above lastShown.
    void hideAbove(int lastShown);
    /// Grid row that element i stands for at the current scroll position.
    int rowOf(int i) const;

private:
    grdComm& list_;
    int column_;
    Factory make_;
    std::vector<QWidget*> elements_;  // element i at index i − 1
};

}  // namespace zq
