#pragma once
// The list's side stores, kept beside the grid text:
//  - bkmk:   the record key of each grid row (0 or less: no stored record);
//  - dBmk:   the keys of deleted rows, in deletion order (a lone 0: none yet);
//  - ni_rig, ni_col, ni_edt, ni_tip: per-cell attributes, 100 columns wide;
//  - BkRC:   a per-cell number, rows × grid columns.
// bkmk and the ni_ stores stay row-aligned with the grid: they grow, shift and
// shrink together. BkRC is only sized, never shifted. The class gives the ni_
// stores and BkRC no meaning; forms use them as storage.

#include <cstdint>
#include <string>
#include <vector>

namespace zq {

/// Row-aligned side stores of one list.
class RowStores {
public:
    /// Width of every ni_ store (columns 0 .. 99).
    static constexpr int kNiCols = 100;

    /// Upper bound of bkmk and the ni_ stores; -1 before the first sizing.
    int upperBound() const { return int(bkmk_.size()) - 1; }

    /// Resizes bkmk and the ni_ stores to rows 0 .. n, keeping contents; row n gets
    /// key 0 and, in columns 0 .. gridCols − 1, the attributes 0, 0, true, "".
    /// Rows skipped over when n jumps by more than one hold 0, 0, false, "".
    void redim(int n, int gridCols);
    /// Sizes the stores to the grid's rows and empties the deleted-key list.
    void init(int gridRows, int gridCols);

    /// Key of a row; a row above the upper bound first grows the stores to it.
    int bkmk(int row, int gridCols);
    void setBkmk(int row, int key, int gridCols);

    std::int16_t niRig(int row, int col, int gridCols);
    void setNiRig(int row, int col, std::int16_t v, int gridCols);
    std::int16_t niCol(int row, int col, int gridCols);
    void setNiCol(int row, int col, std::int16_t v, int gridCols);
    bool niEdt(int row, int col, int gridCols);
    void setNiEdt(int row, int col, bool v, int gridCols);
    std::string niTip(int row, int col, int gridCols);
    void setNiTip(int row, int col, std::string v, int gridCols);

    /// Upper bound of the deleted-key list.
    int nDbmk() const { return int(dBmk_.size()) - 1; }
    /// Deleted key i; an index above the upper bound first grows the list (new 0s).
    int dBmk(int i);
    void setDBmk(int i, int key);
    /// Records the key of a deleted row: the first lands in element 0.
    void recordDeleted(int key);

    /// Moves the rows at, and below, `row` one down within 0 .. lastRow (lastRow must
    /// be within the bound) and clears `row` to its initial values.
    void shiftDown(int row, int lastRow, int gridCols);
    /// Moves rows row+1 .. lastRow one up and clears lastRow.
    void shiftUp(int row, int lastRow, int gridCols);
    /// Drops every row above n.
    void shrink(int n);

    /// Sizes BkRC to rows × cols, all 0.
    void initBkRC(int rows, int cols);
    /// BkRC cell; a row above the upper bound first grows the store to it.
    int bkRC(int row, int col, int gridCols);
    void setBkRC(int row, int col, int v, int gridCols);

private:
    struct Cell {
        std::int16_t rig = 0;
        std::int16_t col = 0;
        bool edt = false;
        std::string tip;
    };
    using NiRow = std::vector<Cell>;

    Cell& cell(int row, int col, int gridCols);
    void growTo(int row, int gridCols);
    void resetRow(int row, int gridCols);
    void copyRow(int from, int to);
    std::vector<int>& bkrcRow(int row, int gridCols);

    std::vector<int> bkmk_;
    std::vector<NiRow> ni_;
    std::vector<int> dBmk_{0};
    std::vector<std::vector<int>> bkrc_;
};

}  // namespace zq
