#pragma once
// The check-box column of a selection list: one check box per visible data row,
// laid over the list's check column in the middle of its cell; the column is widened
// when a box would not fit in it. The entries, not the boxes, hold the selection: the form hands in accessors
// to its 1-based entry array. Box i stands for entry TopRow + i − 1.
//
//   CheckColumn checks(clsList, 7, {count, isSelected, setSelected});
//   checks.setOnClick([&] { cmdColl->setEnabled(true); });
//   checks.DispchkS();                       // after loading and on clsList Scroll
//   connect(&clsList, &grdComm::Click, &checks, &CheckColumn::gridClick);
//
// A box that changes value, by the user or by DispchkS, runs chkList_Click as the
// original's check boxes did, so the entry and the box never disagree.

#include "listctl/overlay_column.h"

#include <QObject>
#include <QSize>

#include <functional>

class QCheckBox;

namespace zq {

class grdComm;

/// How a check column reaches the form's entries (numbered from 1).
struct CheckEntries {
    std::function<int()> count;                     ///< number of entries
    std::function<bool(int)> selected;              ///< selected flag of entry n
    std::function<void(int, bool)> setSelected;     ///< sets the flag of entry n
};

class CheckColumn : public QObject {
    Q_OBJECT
public:
    /// Boxes are created in the list's container, over `column`.
    CheckColumn(grdComm& list, int column, CheckEntries entries, QObject* parent = nullptr);

    /// Runs after a box changed an entry (forms enable their action button here).
    void setOnClick(std::function<void()> onClick) { onClick_ = std::move(onClick); }

    /// Redraws the column: one box per visible row that has an entry, ticked as its
    /// entry; boxes beyond the last such row are hidden.
    void DispchkS();
    /// Box `index` changed: its entry takes the box's state, then the click callback.
    void chkList_Click(int index);
    /// A click on the grid ticks the box of the current row (never clears it).
    void gridClick();

    /// Box i when loaded, else nullptr.
    QCheckBox* box(int i) const;
    /// Number of boxes created so far.
    int loadedBoxes() const { return boxes_.loaded(); }

private:
    QWidget* makeBox(int index);

    grdComm& list_;
    CheckEntries entries_;
    OverlayColumn boxes_;
    std::function<void()> onClick_;
    QSize boxSize_;  ///< every box's size: the style's check box without a caption
};

}  // namespace zq
