#include "listctl/row_stores.h"

#include <algorithm>
#include <stdexcept>

namespace zq {

namespace {

void checkIndex(int i, const char* what)
{
    if (i < 0)
        throw std::out_of_range(std::string(what) + ": negative index");
}

}  // namespace

void RowStores::redim(int n, int gridCols)
{
    checkIndex(n, "bkmk");
    bkmk_.resize(std::size_t(n) + 1, 0);
    ni_.resize(std::size_t(n) + 1, NiRow(kNiCols));
    resetRow(n, gridCols);
}

void RowStores::init(int gridRows, int gridCols)
{
    redim(std::max(gridRows - 1, 0), gridCols);
    dBmk_.assign(1, 0);
}

void RowStores::resetRow(int row, int gridCols)
{
    bkmk_[std::size_t(row)] = 0;
    NiRow& r = ni_[std::size_t(row)];
    const int cols = std::min(gridCols, kNiCols);
    for (int c = 0; c < cols; ++c)
        r[std::size_t(c)] = Cell{0, 0, true, {}};
}

void RowStores::growTo(int row, int gridCols)
{
    checkIndex(row, "bkmk");
    if (row > upperBound())
        redim(row, gridCols);
}

RowStores::Cell& RowStores::cell(int row, int col, int gridCols)
{
    if (col < 0 || col >= kNiCols)
        throw std::out_of_range("ni_ store: column " + std::to_string(col) + " outside 0..99");
    growTo(row, gridCols);
    return ni_[std::size_t(row)][std::size_t(col)];
}

int RowStores::bkmk(int row, int gridCols)
{
    growTo(row, gridCols);
    return bkmk_[std::size_t(row)];
}

void RowStores::setBkmk(int row, int key, int gridCols)
{
    growTo(row, gridCols);
    bkmk_[std::size_t(row)] = key;
}

std::int16_t RowStores::niRig(int row, int col, int gc) { return cell(row, col, gc).rig; }
void RowStores::setNiRig(int row, int col, std::int16_t v, int gc) { cell(row, col, gc).rig = v; }
std::int16_t RowStores::niCol(int row, int col, int gc) { return cell(row, col, gc).col; }
void RowStores::setNiCol(int row, int col, std::int16_t v, int gc) { cell(row, col, gc).col = v; }
bool RowStores::niEdt(int row, int col, int gc) { return cell(row, col, gc).edt; }
void RowStores::setNiEdt(int row, int col, bool v, int gc) { cell(row, col, gc).edt = v; }
std::string RowStores::niTip(int row, int col, int gc) { return cell(row, col, gc).tip; }
void RowStores::setNiTip(int row, int col, std::string v, int gc) { cell(row, col, gc).tip = std::move(v); }

int RowStores::dBmk(int i)
{
    checkIndex(i, "dBmk");
    if (i > nDbmk())
        dBmk_.resize(std::size_t(i) + 1, 0);
    return dBmk_[std::size_t(i)];
}

void RowStores::setDBmk(int i, int key)
{
    dBmk(i);
    dBmk_[std::size_t(i)] = key;
}

void RowStores::recordDeleted(int key)
{
    if (dBmk_.back() > 0)
        dBmk_.push_back(0);
    dBmk_.back() = key;
}

void RowStores::copyRow(int from, int to)
{
    bkmk_[std::size_t(to)] = bkmk_[std::size_t(from)];
    ni_[std::size_t(to)] = ni_[std::size_t(from)];
}

void RowStores::shiftDown(int row, int lastRow, int gridCols)
{
    growTo(lastRow, gridCols);
    for (int i = lastRow; i > row; --i)
        copyRow(i - 1, i);
    resetRow(row, gridCols);
}

void RowStores::shiftUp(int row, int lastRow, int gridCols)
{
    growTo(lastRow, gridCols);
    for (int i = row; i < lastRow; ++i)
        copyRow(i + 1, i);
    resetRow(lastRow, gridCols);
}

void RowStores::shrink(int n)
{
    if (n + 1 < int(bkmk_.size())) {
        bkmk_.resize(std::size_t(std::max(n, 0)) + 1);
        ni_.resize(bkmk_.size());
    }
}

void RowStores::initBkRC(int rows, int cols)
{
    bkrc_.assign(std::size_t(std::max(rows, 0)), std::vector<int>(std::size_t(std::max(cols, 0)), 0));
}

std::vector<int>& RowStores::bkrcRow(int row, int gridCols)
{
    checkIndex(row, "BkRC");
    if (row >= int(bkrc_.size()))
        bkrc_.resize(std::size_t(row) + 1, std::vector<int>(std::size_t(std::max(gridCols, 0)), 0));
    return bkrc_[std::size_t(row)];
}

int RowStores::bkRC(int row, int col, int gridCols)
{
    std::vector<int>& r = bkrcRow(row, gridCols);
    if (col < 0 || col >= int(r.size()))
        throw std::out_of_range("BkRC: column " + std::to_string(col) + " outside the store");
    return r[std::size_t(col)];
}

void RowStores::setBkRC(int row, int col, int v, int gridCols)
{
    bkRC(row, col, gridCols);
    bkrc_[std::size_t(row)][std::size_t(col)] = v;
}

}  // namespace zq
