#pragma once
// One column of a list that takes the width the others leave free in the grid's
// viewport, so a window made wider shows more of its descriptions instead of an empty
// band on the right. Called whenever the viewport changes size.

namespace zq {

class grdComm;

/// Widens (or narrows) column `col` of `list` to the viewport's width less the other
/// columns, never below `minTwips`. Nothing happens before the list is bound to a grid.
void fitFillColumn(grdComm& list, int col, double minTwips);

}  // namespace zq
