#pragma once
// grdComm: the one class through which a list form drives its grid. The form binds
// its grid with InitGrid and from then on reads and writes cells, sizes columns and
// asks for geometry through this object. The class turns the grid's own events into
// a richer set: the row marker ">>" in column 0, keyboard row insertion (Insert) and
// deletion (Delete), appending with Enter, veto points before each row change
// (a Before… handler sets CanInsertRow / CanDeleteRow / CanAppendRow to false) and
// events after it. It also opens in-place editors over the current cell: the form's
// own controls, whose kind comes from the first three letters of their object name
// ("TXT", "TDB", "CMB", "LST", "FME", "CHK"), and writes their value back.
//
// Beside the grid text it keeps row-aligned side stores (bkmk, dBmk, ni_*, BkRC; see
// RowStores). Geometry is in twips in the coordinates of the grid's container.
//
// Expected calls from a form: InitGrid; to fill the list InitBkmk, Rows =
// FixedRows + 1, then the TextMatrix writes of the current row and AddNewRw before
// each further record; GridEdit from the list's KeyPress (with the key) and DblClick
// (with 32); TextEdit from the editor's KeyDown and AggiGrid from the editor's
// LostFocus and the list's LeaveCell and EnterCell (EditorHook does the editor side).

#include "listctl/editor_kind.h"
#include "listctl/flex_grid.h"
#include "listctl/row_stores.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <vector>

class QAbstractButton;
class QColor;
class QWidget;

namespace zq {

class Dialogs;

class grdComm : public QObject {
    Q_OBJECT
public:
    /// Messages of the list go through dialogs.
    explicit grdComm(Dialogs& dialogs, QObject* parent = nullptr);

    /// Binds and prepares the grid: limits, title, column format string, the column
    /// a new row's cursor goes to, the grid's position as the form knows it, and the
    /// data-row height in twips (raised to 315 when below 316).
    void InitGrid(FlexGrid* grid, int MaxRows, const QString& title, const QString& format,
                  int NewRowCol, int gridLeft, int gridTop, int rowHeight);
    /// Key handling inside an open editor; call from the editor's KeyDown.
    void TextEdit(QWidget* editor, int KeyCode, int Shift);
    /// Opens the editor over the current cell, seeded from the key (32 or 13: the cell
    /// text). options: the form's option buttons, used by "FME" frames only.
    void GridEdit(QWidget* editor, int KeyAscii, const std::vector<QAbstractButton*>& options = {});
    /// Writes an open editor's value into the current cell and hides the editor.
    void AggiGrid(QWidget* editor);
    /// Sizes bkmk and the ni_ stores to the grid's rows and empties dBmk.
    void InitBkmk();
    /// Sizes BkRC to the grid's rows and columns, all 0.
    void InitBkRC();
    int bkmk(int row);
    void setBkmk(int row, int key);
    int BkRC(int row, int col);
    void setBkRC(int row, int col, int value);
    /// Does nothing (kept for the forms that call it).
    void DispArrw() {}
    /// Resizes bkmk and the ni_ stores to rows 0 .. n; row n gets its initial values.
    void Redim_Bkmk(int n);
    /// Appends one empty row at the end, without events.
    void AddNewRw();
    /// The Enter step: next row, or a new row at the end.
    void AppdRiga();
    /// Inserts an empty row at the current row.
    void InseRiga();
    /// Deletes the current row (the only data row is emptied instead).
    void CancRiga();
    /// Upper bound of dBmk.
    int n_dbmk() const { return stores_.nDbmk(); }
    /// Key of the i-th deleted row.
    int dBmk(int i) { return stores_.dBmk(i); }
    void setDBmk(int i, int key) { stores_.setDBmk(i, key); }
    int MaxRows() const { return maxRows_; }
    void setMaxRows(int n) { maxRows_ = n; }
    /// Formats and fills one cell: alignment, bold/italic/underline/strike-through,
    /// fore and back colour, font; text through the value-formatting codes when
    /// format is not empty.
    void CellFrmt(int row, int col, const QString& text, const QString& format, int alignment,
                  bool bold, bool italic, bool underline, bool strikeOut, const QColor& fore,
                  const QColor& back, const QString& fontName, double fontSize, double fontWidth);
    bool CanDeleteRow() const { return canDelete_; }
    void setCanDeleteRow(bool v) { canDelete_ = v; }
    bool CanInsertRow() const { return canInsert_; }
    void setCanInsertRow(bool v) { canInsert_ = v; }
    bool CanAppendRow() const { return canAppend_; }
    void setCanAppendRow(bool v) { canAppend_ = v; }
    int Col() const;
    void setCol(int col);
    int Row() const;
    void setRow(int row);
    /// Focuses the grid when it is visible.
    void SetFocus();
    /// Moves the grid (twips).
    void Move(double left, double top, double width, double height);
    double Left() const;
    void setLeft(double v);
    double Top() const;
    void setTop(double v);
    double Height() const;
    void setHeight(double v);
    double ColWidth(int col) const;
    void setColWidth(int col, double twips);
    double ColHeight(int row) const;
    void setColHeight(int row, double twips);
    int FixedRows() const;
    /// Raises Rows to n + 1 first when they are not above n.
    void setFixedRows(int n);
    int FixedCols() const;
    void setFixedCols(int n);
    int Rows() const;
    void setRows(int n);
    int Cols() const;
    void setCols(int n);
    QString TextMatrix(int row, int col) const;
    void setTextMatrix(int row, int col, const QString& text);
    double Width() const;
    void setWidth(double v);
    int MergeCells() const;
    void setMergeCells(int mode);
    bool MergeRow(int row) const;
    void setMergeRow(int row, bool on);
    bool MergeCol(int col) const;
    void setMergeCol(int col, bool on);
    int ColAlignment(int col) const;
    void setColAlignment(int col, int code);
    int CellAlignment() const;
    void setCellAlignment(int code);
    /// Text of the current cell.
    QString Text() const;
    void setText(const QString& text);
    /// Makes col the current column and returns grid left + the cell's left (twips).
    int ColLeft(int col);
    /// Grid top + fixed rows + rows from TopRow to row − 1 (twips); a row at or above
    /// TopRow gives the top of the first scrollable row.
    int ColTop(int row);
    /// The grid's container.
    QWidget* Container() const;
    std::int16_t ni_rig(int row, int col);
    void setNi_rig(int row, int col, std::int16_t v);
    std::int16_t ni_col(int row, int col);
    void setNi_col(int row, int col, std::int16_t v);
    bool ni_edt(int row, int col);
    void setNi_edt(int row, int col, bool v);
    QString ni_tip(int row, int col);
    void setNi_tip(int row, int col, const QString& v);
    /// Grid left + position of column col (twips, container coordinates).
    int ColPos(int col) const;
    /// Grid top + position of row row (twips, container coordinates).
    int RowPos(int row) const;
    int TopRow() const;
    void setTopRow(int row);
    /// (grid height − fixed rows) ÷ RowHgt, halves to even.
    int NumVisibleRows() const;
    /// Selects the whole row.
    void SelectRow(int row);
    /// Row, selection and TopRow on row, when 1 ≤ row ≤ Rows − 1; else nothing.
    void ScrollToRow(int row);

    /// Data-row height in twips as InitGrid settled it.
    int RowHgt() const { return rowHgt_; }
    /// Column a new row's cursor goes to.
    int NewRowCol() const { return newRowCol_; }
    /// Title of the list's messages.
    QString ListTitle() const { return title_; }
    /// Row that carries the row marker.
    int LastRow() const { return lastRow_; }
    /// Grid position as the form passed it to InitGrid; kept, not used.
    int GridLeft() const { return gridLeft_; }
    int GridTop() const { return gridTop_; }
    /// True while CellFrmt runs.
    bool isBusy() const { return busy_; }
    /// The bound grid (nullptr before InitGrid).
    FlexGrid* grid() const { return grid_; }

signals:
    void Click();
    void DblClick();
    void RowDeleted();
    void RowInserted();
    void RowAppended();
    void KeyDown(int& KeyCode, int& Shift);
    void KeyPress(int& KeyAscii);
    void LeaveCell();
    void EnterCell();
    void AfterDeleteRow();
    void AfterInsertRow();
    void AfterAppendRow();
    void BeforeDeleteRow();
    void BeforeInsertRow();
    void BeforeAppendRow();
    void GotFocus();
    void LostFocus();
    void Scroll();
    void RowColChange();

private:
    FlexGrid& g() const;
    void yield();
    void writeMarker(int row);
    void clearMarker(int row);
    void rowChangeStep();
    void onGridKeyDown(int& keyCode, int& shift);
    void onGridKeyPress(int& keyAscii);
    void focusGridAndYield();
    QRect cellRectIn(QWidget* target) const;
    void openTxt(QWidget* editor, int keyAscii);
    void openCmb(QWidget* editor, int keyAscii);
    void openTdbLst(QWidget* editor, int keyAscii);
    void openFme(QWidget* frame, int keyAscii, const std::vector<QAbstractButton*>& options);
    void openChk(QWidget* box, int keyAscii);
    void showEditor(QWidget* editor, QWidget* focusTarget = nullptr);
    void editorLeft(QWidget* editor, EditorKind kind);
    void editorRight(QWidget* editor, EditorKind kind);
    void editorUp(EditorKind kind);
    void editorDown(EditorKind kind);
    void shiftTextDown(int fromRow, int lastRow);
    void shiftTextUp(int fromRow, int lastRow);
    void clearRowText(int row);

    Dialogs& dialogs_;
    QPointer<FlexGrid> grid_;
    RowStores stores_;
    QString title_;
    int maxRows_ = 0;
    int newRowCol_ = 0;
    int gridLeft_ = 0;
    int gridTop_ = 0;
    int rowHgt_ = 315;
    bool canDelete_ = true;
    bool canInsert_ = true;
    bool canAppend_ = true;
    int lastRow_ = 0;
    bool busy_ = false;
};

}  // namespace zq
