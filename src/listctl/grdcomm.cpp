#include "listctl/grdcomm.h"

#include "common/dialogs.h"
#include "common/product.h"
#include "listctl/editor_access.h"
#include "listctl/editor_kind.h"
#include "listctl/key_filter.h"
#include "listctl/twips.h"
#include "runtime/format.h"
#include "runtime/value.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QColor>
#include <QComboBox>
#include <QCoreApplication>
#include <QScrollBar>

#include <cmath>
#include <stdexcept>

namespace zq {

namespace {

constexpr int kMinRowHgt = 316;    // a row height below this becomes kRaisedRowHgt
constexpr int kRaisedRowHgt = 315;
const QString kMarker = QStringLiteral(">>");

// The original's Trim: blanks only.
QString trimBlanks(const QString& s)
{
    int from = 0;
    int to = int(s.size());
    while (from < to && s.at(from) == QLatin1Char(' '))
        ++from;
    while (to > from && s.at(to - 1) == QLatin1Char(' '))
        --to;
    return s.mid(from, to - from);
}

int twips(int px) { return int(pxToTwips(px)); }

}  // namespace

grdComm::grdComm(Dialogs& dialogs, QObject* parent) : QObject(parent), dialogs_(dialogs) {}

FlexGrid& grdComm::g() const
{
    if (!grid_)
        throw std::logic_error("grdComm: no grid bound (InitGrid has not run)");
    return *grid_;
}

void grdComm::yield()
{
    // Lets focus changes and repaints settle; typed keys wait for the handler to end.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

// ---------------------------------------------------------------- binding

void grdComm::InitGrid(FlexGrid* grid, int MaxRows, const QString& title, const QString& format,
                       int NewRowCol, int gridLeft, int gridTop, int rowHeight)
{
    if (grid_)
        grid_->disconnect(this);
    grid_ = grid;
    connect(grid, &FlexGrid::GotFocus, this, [this] {
        yield();
        if (Row() >= FixedRows()) writeMarker(Row());
        emit GotFocus();
    });
    connect(grid, &FlexGrid::EnterCell, this, [this] {
        yield();
        if (Row() >= FixedRows()) writeMarker(Row());
        emit EnterCell();
    });
    connect(grid, &FlexGrid::LostFocus, this, [this] {
        yield();
        clearMarker(Row());
        emit LostFocus();
    });
    connect(grid, &FlexGrid::LeaveCell, this, [this] {
        yield();
        clearMarker(Row());
        emit LeaveCell();
    });
    connect(grid, &FlexGrid::RowColChange, this, [this] { rowChangeStep(); });
    connect(grid, &FlexGrid::Click, this, &grdComm::Click);
    connect(grid, &FlexGrid::DblClick, this, &grdComm::DblClick);
    connect(grid, &FlexGrid::Scroll, this, &grdComm::Scroll);
    connect(grid, &FlexGrid::KeyDown, this, &grdComm::onGridKeyDown);
    connect(grid, &FlexGrid::KeyPress, this, &grdComm::onGridKeyPress);

    maxRows_ = MaxRows;
    newRowCol_ = NewRowCol;
    gridLeft_ = gridLeft;
    gridTop_ = gridTop;
    title_ = title;
    rowHgt_ = rowHeight < kMinRowHgt ? kRaisedRowHgt : rowHeight;
    grid->setFormatString(format);
    if (Rows() > FixedRows())
        setColHeight(FixedRows(), rowHgt_);
    yield();
    canDelete_ = canInsert_ = canAppend_ = true;
    lastRow_ = 0;
}

// ---------------------------------------------------------------- row marker

void grdComm::writeMarker(int row)
{
    if (row >= 0 && row < Rows())
        g().setTextMatrix(row, 0, kMarker);
}

void grdComm::clearMarker(int row)
{
    if (row >= 0 && row < Rows())
        g().setTextMatrix(row, 0, QString());
}

void grdComm::rowChangeStep()
{
    if (Row() == lastRow_)
        return;
    if (lastRow_ < Rows())
        clearMarker(lastRow_);
    lastRow_ = Row();
    if (lastRow_ >= FixedRows()) {
        writeMarker(lastRow_);
        emit RowColChange();
    }
}

// ---------------------------------------------------------------- keys on the grid

void grdComm::onGridKeyDown(int& keyCode, int& shift)
{
    const int rowsBefore = Rows();
    if (keyCode == 45) {
        InseRiga();
        if (Rows() > rowsBefore) {
            setCol(newRowCol_);
            emit RowInserted();
            return;
        }
    } else if (keyCode == 46) {
        CancRiga();
        if (Rows() == FixedRows() + 1 || Rows() < rowsBefore) {
            emit RowDeleted();
            return;
        }
    }
    emit KeyDown(keyCode, shift);
}

void grdComm::onGridKeyPress(int& keyAscii)
{
    const int rowsBefore = Rows();
    if (keyAscii != 13) {
        emit KeyPress(keyAscii);
        return;
    }
    AppdRiga();
    if (Rows() > rowsBefore) {
        setCol(newRowCol_);
        setRow(Rows() - 1);
        emit RowAppended();
    }
}

// ---------------------------------------------------------------- rows

void grdComm::Redim_Bkmk(int n) { stores_.redim(n, Cols()); }

void grdComm::InitBkmk() { stores_.init(Rows(), Cols()); }

void grdComm::InitBkRC() { stores_.initBkRC(Rows(), Cols()); }

void grdComm::AddNewRw()
{
    setRows(Rows() + 1);
    Redim_Bkmk(Rows() - 1);
    setColHeight(Rows() - 1, rowHgt_);
}

void grdComm::AppdRiga()
{
    emit BeforeAppendRow();
    if (!canAppend_)
        return;
    if (Row() < Rows() - 1) {
        clearMarker(Row());
        setRow(Row() + 1);
        setCol(FixedCols());
        writeMarker(Row());
        return;
    }
    if (maxRows_ > Rows() || maxRows_ == 0) {
        clearMarker(Row());
        AddNewRw();
        setRow(Rows() - 1);
        setCol(newRowCol_);
        writeMarker(Row());
    }
    emit AfterAppendRow();
}

void grdComm::shiftTextDown(int fromRow, int lastRow)
{
    for (int i = lastRow; i > fromRow; --i)
        for (int c = FixedCols(); c < Cols(); ++c)
            g().setTextMatrix(i, c, g().textMatrix(i - 1, c));
}

void grdComm::shiftTextUp(int fromRow, int lastRow)
{
    for (int i = fromRow; i < lastRow; ++i)
        for (int c = FixedCols(); c < Cols(); ++c)
            g().setTextMatrix(i, c, g().textMatrix(i + 1, c));
}

void grdComm::clearRowText(int row)
{
    for (int c = FixedCols(); c < Cols(); ++c)
        g().setTextMatrix(row, c, QString());
}

void grdComm::InseRiga()
{
    emit BeforeInsertRow();
    if (!canInsert_)
        return;
    // Inserting at a fixed row would push the header texts down into the data.
    if (Row() < FixedRows())
        return;
    if (maxRows_ >= 1 && maxRows_ <= Rows()) {
        dialogs_.message({"Impossibile aggiungere righe!\r\nL'elenco è pieno", title_.toStdString(),
                          Buttons::OkCancel, Icon::Information});
        return;
    }
    setRows(Rows() + 1);
    setColHeight(Rows() - 1, rowHgt_);
    Redim_Bkmk(Rows() - 1);
    const int row = Row();
    stores_.shiftDown(row, Rows() - 1, Cols());
    shiftTextDown(row, Rows() - 1);
    clearRowText(row);
    emit AfterInsertRow();
}

void grdComm::CancRiga()
{
    emit BeforeDeleteRow();
    yield();
    if (!canDelete_ || Rows() <= FixedRows())
        return;
    // Deleting "at" a fixed row would pull the data up into the header.
    const int row = Row();
    if (row < FixedRows())
        return;
    const int key = stores_.bkmk(row, Cols());
    if (key >= 1)
        stores_.recordDeleted(key);
    stores_.shiftUp(row, Rows() - 1, Cols());
    shiftTextUp(row, Rows() - 1);
    clearRowText(Rows() - 1);
    if (Rows() > FixedRows() + 1)
        setRows(Rows() - 1);
    stores_.shrink(Rows() - 1);
    emit AfterDeleteRow();
}

// ---------------------------------------------------------------- side stores

int grdComm::bkmk(int row) { return stores_.bkmk(row, Cols()); }
void grdComm::setBkmk(int row, int key) { stores_.setBkmk(row, key, Cols()); }
int grdComm::BkRC(int row, int col) { return stores_.bkRC(row, col, Cols()); }
void grdComm::setBkRC(int row, int col, int value) { stores_.setBkRC(row, col, value, Cols()); }
std::int16_t grdComm::ni_rig(int row, int col) { return stores_.niRig(row, col, Cols()); }
void grdComm::setNi_rig(int row, int col, std::int16_t v) { stores_.setNiRig(row, col, v, Cols()); }
std::int16_t grdComm::ni_col(int row, int col) { return stores_.niCol(row, col, Cols()); }
void grdComm::setNi_col(int row, int col, std::int16_t v) { stores_.setNiCol(row, col, v, Cols()); }
bool grdComm::ni_edt(int row, int col) { return stores_.niEdt(row, col, Cols()); }
void grdComm::setNi_edt(int row, int col, bool v) { stores_.setNiEdt(row, col, v, Cols()); }
QString grdComm::ni_tip(int row, int col) { return QString::fromStdString(stores_.niTip(row, col, Cols())); }
void grdComm::setNi_tip(int row, int col, const QString& v) { stores_.setNiTip(row, col, v.toStdString(), Cols()); }

// ---------------------------------------------------------------- cells

void grdComm::CellFrmt(int row, int col, const QString& text, const QString& format, int alignment,
                       bool bold, bool italic, bool underline, bool strikeOut, const QColor& fore,
                       const QColor& back, const QString& fontName, double fontSize, double fontWidth)
{
    struct Busy {
        bool& flag;
        explicit Busy(bool& f) : flag(f) { flag = true; }
        ~Busy() { flag = false; }
    } busy(busy_);
    setRow(row);
    setCol(col);
    g().setCellAlignment(alignment);
    g().setCellFontFlags(bold, italic, underline, strikeOut);
    // The grid has no per-cell character width: fontWidth is accepted and not applied.
    (void)fontWidth;
    if (!fontName.isEmpty() || fontSize != 0)
        g().setCellFont(fontName, fontSize);
    g().setCellColors(fore, back);
    const QString shown = format.isEmpty()
        ? text
        : QString::fromStdString(formatValue(Value(text.toStdString()), format.toStdString()));
    setText(shown);
}

int grdComm::Col() const { return g().col(); }
void grdComm::setCol(int col) { g().setCol(col); }
int grdComm::Row() const { return g().row(); }
void grdComm::setRow(int row) { g().setRow(row); }
int grdComm::FixedRows() const { return g().fixedRows(); }
void grdComm::setFixedRows(int n) { g().setFixedRows(n); }
int grdComm::FixedCols() const { return g().fixedCols(); }
void grdComm::setFixedCols(int n) { g().setFixedCols(n); }
int grdComm::Rows() const { return g().rows(); }
void grdComm::setRows(int n) { g().setRows(n); }
int grdComm::Cols() const { return g().cols(); }
void grdComm::setCols(int n) { g().setCols(n); }
QString grdComm::TextMatrix(int row, int col) const { return g().textMatrix(row, col); }
void grdComm::setTextMatrix(int row, int col, const QString& text) { g().setTextMatrix(row, col, text); }
QString grdComm::Text() const { return g().textMatrix(Row(), Col()); }
void grdComm::setText(const QString& text) { g().setTextMatrix(Row(), Col(), text); }
int grdComm::MergeCells() const { return g().mergeCells(); }
void grdComm::setMergeCells(int mode) { g().setMergeCells(mode); }
bool grdComm::MergeRow(int row) const { return g().mergeRow(row); }
void grdComm::setMergeRow(int row, bool on) { g().setMergeRow(row, on); }
bool grdComm::MergeCol(int col) const { return g().mergeCol(col); }
void grdComm::setMergeCol(int col, bool on) { g().setMergeCol(col, on); }
int grdComm::ColAlignment(int col) const { return g().colAlignment(col); }
void grdComm::setColAlignment(int col, int code) { g().setColAlignment(col, code); }
int grdComm::CellAlignment() const { return g().cellAlignment(); }
void grdComm::setCellAlignment(int code) { g().setCellAlignment(code); }
QWidget* grdComm::Container() const { return g().parentWidget(); }

// ---------------------------------------------------------------- geometry

void grdComm::SetFocus()
{
    if (g().isVisible())
        g().setFocus();
}

void grdComm::Move(double left, double top, double width, double height)
{
    try {
        g().setGeometry(twipsToPx(left), twipsToPx(top), twipsToPx(width), twipsToPx(height));
    } catch (const std::exception&) {
    }
}

double grdComm::Left() const { return pxToTwips(g().x()); }
void grdComm::setLeft(double v) { g().move(twipsToPx(v), g().y()); }
double grdComm::Top() const { return pxToTwips(g().y()); }
void grdComm::setTop(double v) { g().move(g().x(), twipsToPx(v)); }
double grdComm::Width() const { return pxToTwips(g().width()); }
void grdComm::setWidth(double v) { g().resize(twipsToPx(v), g().height()); }
double grdComm::Height() const { return pxToTwips(g().height()); }
void grdComm::setHeight(double v) { g().resize(g().width(), twipsToPx(v)); }

double grdComm::ColWidth(int col) const { return pxToTwips(g().colWidthPx(col)); }

void grdComm::setColWidth(int col, double tw)
{
    try {
        g().setColWidthPx(col, twipsToPx(double(std::lround(tw))));
    } catch (const std::exception&) {
    }
}

double grdComm::ColHeight(int row) const { return pxToTwips(g().rowHeightPx(row)); }

void grdComm::setColHeight(int row, double tw)
{
    try {
        g().setRowHeightPx(row, twipsToPx(double(std::lround(tw))));
    } catch (const std::exception&) {
    }
}

int grdComm::ColLeft(int col)
{
    try {
        setCol(col);
        return twips(g().x() + g().cellRect(0, col).x());
    } catch (const std::exception&) {
        return 0;
    }
}

int grdComm::ColTop(int row)
{
    try {
        int y = g().y() + g().viewport()->geometry().y();
        for (int r = TopRow(); r < row && r < Rows(); ++r)
            y += g().rowHeightPx(r);
        return twips(y);
    } catch (const std::exception&) {
        return 0;
    }
}

int grdComm::ColPos(int col) const { return twips(g().x() + g().cellRect(0, col).x()); }
int grdComm::RowPos(int row) const { return twips(g().y() + g().cellRect(row, 0).y()); }
int grdComm::TopRow() const { return g().topRow(); }
void grdComm::setTopRow(int row) { g().setTopRow(row); }

int grdComm::NumVisibleRows() const
{
    double fixed = 0;
    for (int r = 0; r < FixedRows(); ++r)
        fixed += ColHeight(r);
    return int(roundHalfEven((Height() - fixed) / rowHgt_));
}

void grdComm::SelectRow(int row)
{
    setRow(row);
    setCol(0);
    g().setSelectionEnd(row, Cols() - 1);
}

void grdComm::ScrollToRow(int row)
{
    if (row < 1 || row > Rows() - 1)
        return;
    setRow(row);
    SelectRow(row);
    setTopRow(row);
}

// ---------------------------------------------------------------- in-place editors

QRect grdComm::cellRectIn(QWidget* target) const
{
    const QRect cell = g().cellRect(Row(), Col());
    const QPoint global = g().mapToGlobal(cell.topLeft());
    QWidget* parent = target->parentWidget();
    return QRect(parent ? parent->mapFromGlobal(global) : global, cell.size());
}

void grdComm::focusGridAndYield()
{
    g().setFocus();
    yield();
}

void grdComm::showEditor(QWidget* editor, QWidget* focusTarget)
{
    editor->show();
    editor->raise();
    (focusTarget ? focusTarget : editor)->setFocus();
    yield();
    writeMarker(Row());
}

void grdComm::openTxt(QWidget* editor, int keyAscii)
{
    editor->setGeometry(cellRectIn(editor));
    if (keyAscii == 13 || keyAscii == 32) {
        EditorAccess::setText(editor, Text());
    } else {
        if (keyAscii < 33)
            return;
        const int code = KeyFilter::byMask(EditorAccess::inputMask(editor).toStdString(), keyAscii);
        EditorAccess::setText(editor, code ? QString(QChar(code)) : QString());
        EditorAccess::setCaret(editor, 1);
    }
    showEditor(editor);
}

void grdComm::openCmb(QWidget* editor, int keyAscii)
{
    auto* combo = qobject_cast<QComboBox*>(editor);
    const QRect cell = cellRectIn(editor);
    editor->setGeometry(cell.x(), cell.y(), cell.width(), editor->height());
    QString search;
    if (keyAscii == 13 || keyAscii == 32)
        search = Text();
    else if (keyAscii < 33)
        return;
    else
        search = QString(QChar(keyAscii));
    if (combo) {
        combo->setCurrentIndex(-1);
        const QString wanted = trimBlanks(search.toUpper());
        for (int i = 0; !search.isEmpty() && i < combo->count(); ++i) {
            if (trimBlanks(combo->itemText(i).left(search.size()).toUpper()) == wanted) {
                combo->setCurrentIndex(i);
                break;
            }
        }
    }
    showEditor(editor);
}

void grdComm::openTdbLst(QWidget* editor, int keyAscii)
{
    editor->move(cellRectIn(editor).topLeft());
    if (keyAscii == 13 || keyAscii == 32)
        EditorAccess::setText(editor, Text());
    else if (keyAscii < 33)
        return;
    else
        EditorAccess::setText(editor, QString(QChar(keyAscii)));
    showEditor(editor);
}

void grdComm::openFme(QWidget* frame, int keyAscii, const std::vector<QAbstractButton*>& options)
{
    frame->move(cellRectIn(frame).topLeft());
    if (keyAscii < 32)
        return;
    const QString cell = Text();
    int code = keyAscii;
    if (keyAscii == 32 && !cell.isEmpty())
        code = cell.at(0).unicode();
    QString wanted(QChar(KeyFilter::upperLetter(code)));
    EditorAccess::setTag(frame, QString());
    QAbstractButton* found = nullptr;
    for (QAbstractButton* button : options) {
        if (!button || button->parentWidget() != frame)
            continue;
        // A space on an empty cell stands for the frame's first option.
        if (wanted == QLatin1String(" "))
            wanted = EditorAccess::tag(button);
        if (EditorAccess::tag(button) == wanted) {
            button->setChecked(true);
            EditorAccess::setTag(frame, EditorAccess::tag(button));
            found = button;
        }
    }
    yield();
    if (!found)
        return;
    if (keyAscii != 32) {
        // The typed code is the answer: it goes into the cell at once, without
        // showing the frame.
        EditorAccess::setTag(frame, EditorAccess::tag(found));
        setText(EditorAccess::tag(frame));
        frame->hide();
        return;
    }
    showEditor(frame, found);
}

void grdComm::openChk(QWidget* box, int keyAscii)
{
    const QRect cell = cellRectIn(box);
    box->move(cell.x() + (cell.width() - box->width()) / 2, cell.y() + (cell.height() - box->height()) / 2);
    showEditor(box);
    auto* check = qobject_cast<QCheckBox*>(box);
    if (!check || keyAscii < 32)
        return;
    switch (keyAscii) {
    case 'S': case 's': case 'Y': case 'y': check->setCheckState(Qt::Checked); break;
    case 'N': case 'n': check->setCheckState(Qt::Unchecked); break;
    case ' ': check->setCheckState(check->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked); break;
    default: break;
    }
}

void grdComm::GridEdit(QWidget* editor, int KeyAscii, const std::vector<QAbstractButton*>& options)
{
    if (!editor || Row() < FixedRows())
        return;
    try {
        switch (editorKindOf(editor->objectName().toStdString())) {
        case EditorKind::Txt: openTxt(editor, KeyAscii); break;
        case EditorKind::Cmb: openCmb(editor, KeyAscii); break;
        case EditorKind::Tdb:
        case EditorKind::Lst: openTdbLst(editor, KeyAscii); break;
        case EditorKind::Fme: openFme(editor, KeyAscii, options); break;
        case EditorKind::Chk: openChk(editor, KeyAscii); break;
        case EditorKind::Other: break;
        }
    } catch (const std::exception&) {
        // A control that refuses a property or the focus leaves the edit as it stands.
    }
}

void grdComm::AggiGrid(QWidget* editor)
{
    if (!editor || editor->isHidden())
        return;
    try {
        switch (editorKindOf(editor->objectName().toStdString())) {
        case EditorKind::Txt:
        case EditorKind::Tdb:
        case EditorKind::Lst: setText(EditorAccess::text(editor)); break;
        case EditorKind::Cmb: setText(trimBlanks(EditorAccess::text(editor))); break;
        case EditorKind::Fme: setText(EditorAccess::tag(editor)); break;
        case EditorKind::Chk: return;
        case EditorKind::Other: break;
        }
        editor->hide();
    } catch (const std::exception&) {
    }
}

void grdComm::editorLeft(QWidget* editor, EditorKind k)
{
    if (k == EditorKind::Fme)
        return;
    if ((k == EditorKind::Txt || k == EditorKind::Tdb) && EditorAccess::caret(editor) > 0)
        return;
    if (k == EditorKind::Cmb)
        focusGridAndYield();
    if (Col() > FixedCols()) {
        focusGridAndYield();
        setCol(Col() - 1);
        emit RowColChange();
    }
}

void grdComm::editorRight(QWidget* editor, EditorKind k)
{
    if (k == EditorKind::Fme)
        return;
    if ((k == EditorKind::Txt || k == EditorKind::Tdb) &&
        EditorAccess::caret(editor) < EditorAccess::text(editor).size())
        return;
    if (k == EditorKind::Cmb)
        focusGridAndYield();
    if (Col() < Cols() - 1) {
        focusGridAndYield();
        setCol(Col() + 1);
        emit RowColChange();
    }
}

void grdComm::editorUp(EditorKind k)
{
    if (k == EditorKind::Tdb || k == EditorKind::Cmb || k == EditorKind::Lst)
        return;
    if (Row() > FixedRows()) {
        focusGridAndYield();
        setRow(Row() - 1);
        rowChangeStep();
    }
}

void grdComm::editorDown(EditorKind k)
{
    if (k == EditorKind::Tdb || k == EditorKind::Cmb || k == EditorKind::Lst)
        return;
    if (Row() < Rows() - 1) {
        focusGridAndYield();
        setRow(Row() + 1);
        rowChangeStep();
        return;
    }
    if (Rows() < maxRows_) {
        setRows(Rows() + 1);
        setColHeight(Rows() - 1, rowHgt_);
        emit RowAppended();
        rowChangeStep();
        Redim_Bkmk(Rows() - 1);
        focusGridAndYield();
        setRow(Rows() - 1);
        return;
    }
    dialogs_.message({"Fine dell'elenco.", kProductName, Buttons::Ok, Icon::Exclamation});
}

void grdComm::TextEdit(QWidget* editor, int KeyCode, int Shift)
{
    if (!editor || KeyCode < 13 || KeyCode > 46)
        return;
    const EditorKind kind = editorKindOf(editor->objectName().toStdString());
    switch (KeyCode) {
    case 13:
        focusGridAndYield();
        if (kind != EditorKind::Chk)
            editor->hide();
        break;
    case 27:
        // Hidden first, so that the focus change commits nothing: the edit is dropped.
        if (kind != EditorKind::Chk)
            editor->hide();
        g().setFocus();
        break;
    case 37: editorLeft(editor, kind); break;
    case 39: editorRight(editor, kind); break;
    case 38: editorUp(kind); break;
    case 40: editorDown(kind); break;
    case 46:
        if (kind != EditorKind::Cmb)
            break;
        if (auto* combo = qobject_cast<QComboBox*>(editor))
            combo->setCurrentIndex(-1);
        focusGridAndYield();
        editor->hide();
        break;
    default:
        break;
    }
}

}  // namespace zq
