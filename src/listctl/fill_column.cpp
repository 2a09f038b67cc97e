#include "listctl/fill_column.h"

#include "listctl/flex_grid.h"
#include "listctl/grdcomm.h"
#include "listctl/twips.h"

#include <algorithm>

namespace zq {

void fitFillColumn(grdComm& list, int col, double minTwips) {
    FlexGrid* grid = list.grid();
    if (!grid || col < 0 || col >= list.Cols()) return;
    // The fixed column is the grid's row header, beside the viewport, not in it.
    double others = 0;
    for (int c = list.FixedCols(); c < list.Cols(); ++c)
        if (c != col) others += list.ColWidth(c);
    const double room = pxToTwips(grid->viewport()->width()) - others;
    list.setColWidth(col, std::max(minTwips, room));
}

}  // namespace zq
