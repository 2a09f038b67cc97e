#pragma once
// The grid widget the list class drives: a table with one optional fixed header row
// (row 0, drawn by the horizontal header) and one optional fixed column (column 0,
// drawn by the vertical header, where the list writes its row marker ">>").
//
// Rows and columns are counted as the list counts them: fixed ones included, so
// data rows start at fixedRows() and TextMatrix(0, c) is the header of column c.
// The grid keeps its own current cell (row(), col()), which may also lie in the
// fixed column; changing it, by code or by the user, raises LeaveCell before the
// change and RowColChange and EnterCell after it. Clicks on the header row and on
// the blank area past the last row do not move the cursor and raise nothing. Sizes are in pixels; the list converts.

#include <QString>
#include <QTableWidget>

#include <vector>

namespace zq {

class FlexGrid : public QTableWidget {
    Q_OBJECT
public:
    explicit FlexGrid(QWidget* parent = nullptr);

    /// Row count, fixed row included.
    int rows() const;
    /// Sets the row count; new data rows are blank and of the default height.
    void setRows(int n);
    /// Column count, fixed column included.
    int cols() const;
    void setCols(int n);
    /// 0 or 1: whether row 0 is the fixed header row.
    int fixedRows() const { return fixedRows_; }
    /// Accepts 0 or 1 (throws std::out_of_range otherwise); keeps every text in place.
    void setFixedRows(int n);
    /// 0 or 1: whether column 0 is the fixed column.
    int fixedCols() const { return fixedCols_; }
    void setFixedCols(int n);

    /// Text of any cell, fixed ones included; throws std::out_of_range outside the grid.
    QString textMatrix(int row, int col) const;
    void setTextMatrix(int row, int col, const QString& text);

    /// The current cell.
    int row() const { return row_; }
    int col() const { return col_; }
    void setRow(int row);
    void setCol(int col);
    /// Selects the block from the current cell to (rowSel, colSel).
    void setSelectionEnd(int rowSel, int colSel);

    /// First scrollable row shown.
    int topRow() const;
    void setTopRow(int row);

    int rowHeightPx(int row) const;
    void setRowHeightPx(int row, int px);
    int colWidthPx(int col) const;
    void setColWidthPx(int col, int px);

    /// Alignment code (GridAlign) of a column, and of the current cell.
    int colAlignment(int col) const;
    void setColAlignment(int col, int code);
    int cellAlignment() const;
    void setCellAlignment(int code);

    /// Font switches, font and colours of the current cell.
    void setCellFontFlags(bool bold, bool italic, bool underline, bool strikeOut);
    void setCellFont(const QString& name, double size);
    void setCellColors(const QColor& fore, const QColor& back);

    /// Cell rectangle in this widget's coordinates (scrolling included).
    QRect cellRect(int row, int col) const;

    /// Applies a column format string (see FormatString): column count, header texts,
    /// alignments and widths.
    void setFormatString(const QString& text);
    QString formatString() const { return formatString_; }

    /// Cell-merging switches, kept for the forms; cells are not drawn merged.
    int mergeCells() const { return mergeCells_; }
    void setMergeCells(int mode) { mergeCells_ = mode; }
    bool mergeRow(int row) const;
    void setMergeRow(int row, bool on);
    bool mergeCol(int col) const;
    void setMergeCol(int col, bool on);

signals:
    void Click();
    void DblClick();
    /// A key went down; handlers may change the code, 0 consumes the key.
    void KeyDown(int& keyCode, int& shift);
    /// A key typed a character; handlers may change it, 0 consumes it.
    void KeyPress(int& keyAscii);
    void LeaveCell();
    void EnterCell();
    void RowColChange();
    void GotFocus();
    void LostFocus();
    void Scroll();

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    void checkCell(int row, int col) const;
    QTableWidgetItem* itemFor(int row, int col, bool create);
    const QTableWidgetItem* itemFor(int row, int col) const;
    void applyAlignment(QTableWidgetItem* item, int col, const QString& text);
    int effectiveAlignment(const QTableWidgetItem* item, int col) const;
    void moveTo(int row, int col);
    void syncView();
    void onViewCurrentChanged(int row, int col);
    void fillHeaderItems();
    void layoutNow() const;
    void setFixed(int& member, int n, bool rowsAxis);
    std::vector<std::vector<QString>> snapshot() const;
    void restore(const std::vector<std::vector<QString>>& texts);

    int fixedRows_ = 1;
    int fixedCols_ = 1;
    int row_ = 1;
    int col_ = 1;
    bool syncing_ = false;
    bool swallowRelease_ = false;  ///< the release that ends a double click
    QString corner_;
    QString formatString_;
    std::vector<int> colAlign_;
    int mergeCells_ = 0;
    std::vector<bool> mergeRows_;
    std::vector<bool> mergeCols_;
};

}  // namespace zq
