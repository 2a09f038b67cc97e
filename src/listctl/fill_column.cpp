#include "listctl/fill_column.h"

#include "listctl/flex_grid.h"
#include "listctl/grdcomm.h"
#include "listctl/twips.h"

#include <algorithm>

namespace zq {

void fitFillColumn(grdComm& list, int col, double minTwips) {
    FlexGrid* grid = list.grid();
    if (!grid || col < 0 || col >= list.Cols()) return;
    double others = 0;
    for (int c = 0; c < list.Cols(); ++c)
        if (c != col) others += list.ColWidth(c);
    const double room = pxToTwips(grid->viewport()->width()) - others;
    list.setColWidth(col, std::max(minTwips, room));
}

}  // namespace zq
