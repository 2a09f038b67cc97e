#include "listctl/flex_grid.h"

#include "listctl/format_string.h"
#include "textbox/vb_keys.h"

#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <utility>

namespace zq {

namespace {

// A new grid's sizes: 240-twip rows and 960-twip columns.
constexpr int kDefaultRowPx = 16;
constexpr int kDefaultColPx = 64;
// Room around a header text when the format string sizes its column.
constexpr int kHeaderPaddingPx = 8;
constexpr int kCellAlignRole = Qt::UserRole + 1;

bool looksNumeric(const QString& text)
{
    bool ok = false;
    QString t = text.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    t.toDouble(&ok);
    return ok;
}

Qt::Alignment qtAlignment(int code, const QString& text)
{
    if (code < 0 || code > 8)
        return Qt::AlignVCenter | (looksNumeric(text) ? Qt::AlignRight : Qt::AlignLeft);
    static const Qt::Alignment horizontal[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    static const Qt::Alignment vertical[] = {Qt::AlignTop, Qt::AlignVCenter, Qt::AlignBottom};
    return horizontal[code / 3] | vertical[code % 3];
}

bool isNavigationKey(int key)
{
    switch (key) {
    case Qt::Key_Left: case Qt::Key_Right: case Qt::Key_Up: case Qt::Key_Down:
    case Qt::Key_PageUp: case Qt::Key_PageDown: case Qt::Key_Home: case Qt::Key_End:
        return true;
    default:
        return false;
    }
}

void setupHeader(QHeaderView* header)
{
    header->setMinimumSectionSize(1);
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setHighlightSections(false);
}

}  // namespace

FlexGrid::FlexGrid(QWidget* parent) : QTableWidget(parent)
{
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setTabKeyNavigation(false);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setWordWrap(false);

    setupHeader(horizontalHeader());
    setupHeader(verticalHeader());
    // The header row is not a place to click: a click there must not move the cursor.
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setFixedHeight(kDefaultRowPx);
    horizontalHeader()->setDefaultSectionSize(kDefaultColPx);
    verticalHeader()->setDefaultSectionSize(kDefaultRowPx);
    verticalHeader()->setFixedWidth(kDefaultColPx);

    setRowCount(1);
    setColumnCount(1);
    colAlign_.assign(2, int(GridAlign::General));
    fillHeaderItems();
    syncView();

    connect(this, &QTableWidget::currentCellChanged, this,
            [this](int r, int c, int, int) { if (!syncing_) onViewCurrentChanged(r, c); });
    // The fixed column is the row's handle: pressing it makes that row current.
    connect(verticalHeader(), &QHeaderView::sectionPressed, this,
            [this](int r) { moveTo(r + fixedRows_, col_); });
    connect(verticalHeader(), &QHeaderView::sectionClicked, this, [this](int) { emit Click(); });
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int) { emit Scroll(); });
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this](int) { emit Scroll(); });
}

int FlexGrid::rows() const { return fixedRows_ + rowCount(); }
int FlexGrid::cols() const { return fixedCols_ + columnCount(); }

void FlexGrid::setRows(int n)
{
    if (n < fixedRows_)
        throw std::out_of_range("grid: " + std::to_string(n) + " rows, fewer than the fixed rows");
    syncing_ = true;
    setRowCount(n - fixedRows_);
    fillHeaderItems();
    syncing_ = false;
    if (row_ > n - 1) {
        // The current row went away: the cursor moves up to the new last row.
        row_ = std::max(n - 1, 0);
        syncView();
        emit RowColChange();
        emit EnterCell();
        return;
    }
    syncView();
}

void FlexGrid::setCols(int n)
{
    if (n < fixedCols_)
        throw std::out_of_range("grid: " + std::to_string(n) + " columns, fewer than the fixed columns");
    syncing_ = true;
    setColumnCount(n - fixedCols_);
    fillHeaderItems();
    syncing_ = false;
    colAlign_.resize(std::size_t(n), int(GridAlign::General));
    if (col_ > n - 1)
        col_ = std::max(n - 1, 0);
    syncView();
}

void FlexGrid::fillHeaderItems()
{
    for (int r = 0; r < rowCount(); ++r) {
        if (!verticalHeaderItem(r)) {
            auto* item = new QTableWidgetItem(QString());
            item->setTextAlignment(Qt::AlignCenter);
            setVerticalHeaderItem(r, item);
        }
    }
    for (int c = 0; c < columnCount(); ++c) {
        if (!horizontalHeaderItem(c))
            setHorizontalHeaderItem(c, new QTableWidgetItem(QString()));
    }
}

std::vector<std::vector<QString>> FlexGrid::snapshot() const
{
    std::vector<std::vector<QString>> texts(static_cast<std::size_t>(rows()),
                                            std::vector<QString>(static_cast<std::size_t>(cols())));
    for (int r = 0; r < rows(); ++r)
        for (int c = 0; c < cols(); ++c)
            texts[std::size_t(r)][std::size_t(c)] = textMatrix(r, c);
    return texts;
}

void FlexGrid::restore(const std::vector<std::vector<QString>>& texts)
{
    for (int r = 0; r < int(texts.size()); ++r)
        for (int c = 0; c < int(texts[std::size_t(r)].size()); ++c)
            setTextMatrix(r, c, texts[std::size_t(r)][std::size_t(c)]);
}

void FlexGrid::setFixed(int& member, int n, bool rowsAxis)
{
    if (n < 0 || n > 1)
        throw std::out_of_range("grid: only 0 or 1 fixed rows and columns are supported");
    if (rowsAxis && rows() <= n)
        setRows(n + 1);
    if (!rowsAxis && cols() <= n)
        setCols(n + 1);
    if (member == n)
        return;
    const auto texts = snapshot();
    const int totalRows = rows();
    const int totalCols = cols();
    syncing_ = true;
    clear();
    member = n;
    setRowCount(totalRows - fixedRows_);
    setColumnCount(totalCols - fixedCols_);
    fillHeaderItems();
    syncing_ = false;
    horizontalHeader()->setVisible(fixedRows_ == 1);
    verticalHeader()->setVisible(fixedCols_ == 1);
    restore(texts);
    syncView();
}

void FlexGrid::setFixedRows(int n) { setFixed(fixedRows_, n, /*rowsAxis=*/true); }
void FlexGrid::setFixedCols(int n) { setFixed(fixedCols_, n, /*rowsAxis=*/false); }

void FlexGrid::checkCell(int row, int col) const
{
    if (row < 0 || row >= rows() || col < 0 || col >= cols())
        throw std::out_of_range("grid: cell (" + std::to_string(row) + ", " + std::to_string(col) +
                                ") outside " + std::to_string(rows()) + " x " + std::to_string(cols()));
}

QTableWidgetItem* FlexGrid::itemFor(int row, int col, bool create)
{
    if (row < fixedRows_ && col < fixedCols_)
        return nullptr;
    if (row < fixedRows_)
        return horizontalHeaderItem(col - fixedCols_);
    if (col < fixedCols_)
        return verticalHeaderItem(row - fixedRows_);
    QTableWidgetItem* it = item(row - fixedRows_, col - fixedCols_);
    if (!it && create) {
        it = new QTableWidgetItem();
        it->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        setItem(row - fixedRows_, col - fixedCols_, it);
    }
    return it;
}

const QTableWidgetItem* FlexGrid::itemFor(int row, int col) const
{
    return const_cast<FlexGrid*>(this)->itemFor(row, col, /*create=*/false);
}

QString FlexGrid::textMatrix(int row, int col) const
{
    checkCell(row, col);
    if (row < fixedRows_ && col < fixedCols_)
        return corner_;
    const QTableWidgetItem* it = itemFor(row, col);
    return it ? it->text() : QString();
}

void FlexGrid::setTextMatrix(int row, int col, const QString& text)
{
    checkCell(row, col);
    if (row < fixedRows_ && col < fixedCols_) {
        corner_ = text;
        return;
    }
    QTableWidgetItem* it = itemFor(row, col, /*create=*/true);
    it->setText(text);
    if (col >= fixedCols_)
        applyAlignment(it, col, text);
}

int FlexGrid::effectiveAlignment(const QTableWidgetItem* item, int col) const
{
    const QVariant own = item ? item->data(kCellAlignRole) : QVariant();
    if (own.isValid())
        return own.toInt();
    return colAlign_[std::size_t(col)];
}

void FlexGrid::applyAlignment(QTableWidgetItem* item, int col, const QString& text)
{
    item->setTextAlignment(qtAlignment(effectiveAlignment(item, col), text));
}

void FlexGrid::setRow(int row)
{
    checkCell(row, 0);
    moveTo(row, col_);
}

void FlexGrid::setCol(int col)
{
    checkCell(0, col);
    moveTo(row_, col);
}

void FlexGrid::moveTo(int row, int col)
{
    if (row == row_ && col == col_) {
        syncView();
        return;
    }
    emit LeaveCell();
    row_ = row;
    col_ = col;
    syncView();
    emit RowColChange();
    emit EnterCell();
}

void FlexGrid::syncView()
{
    syncing_ = true;
    if (row_ >= fixedRows_ && row_ < rows() && columnCount() > 0)
        setCurrentCell(row_ - fixedRows_, std::max(col_ - fixedCols_, 0));
    else
        setCurrentIndex(QModelIndex());
    syncing_ = false;
}

void FlexGrid::onViewCurrentChanged(int row, int col)
{
    if (row < 0 || col < 0)
        return;
    moveTo(row + fixedRows_, col + fixedCols_);
}

void FlexGrid::setSelectionEnd(int rowSel, int colSel)
{
    checkCell(rowSel, colSel);
    if (rowCount() == 0 || columnCount() == 0)
        return;
    auto clampRow = [this](int r) { return std::clamp(r - fixedRows_, 0, rowCount() - 1); };
    auto clampCol = [this](int c) { return std::clamp(c - fixedCols_, 0, columnCount() - 1); };
    const QModelIndex from = model()->index(clampRow(row_), clampCol(col_));
    const QModelIndex to = model()->index(clampRow(rowSel), clampCol(colSel));
    selectionModel()->select(QItemSelection(from, to), QItemSelectionModel::ClearAndSelect);
}

void FlexGrid::layoutNow() const
{
    const_cast<FlexGrid*>(this)->executeDelayedItemsLayout();
}

int FlexGrid::topRow() const
{
    layoutNow();
    if (rowCount() == 0)
        return fixedRows_;
    return fixedRows_ + std::max(rowAt(0), 0);
}

void FlexGrid::setTopRow(int row)
{
    if (rowCount() == 0)
        return;
    layoutNow();
    verticalScrollBar()->setValue(std::clamp(row, fixedRows_, rows() - 1) - fixedRows_);
}

int FlexGrid::rowHeightPx(int row) const
{
    checkCell(row, 0);
    return row < fixedRows_ ? horizontalHeader()->height() : rowHeight(row - fixedRows_);
}

void FlexGrid::setRowHeightPx(int row, int px)
{
    checkCell(row, 0);
    if (row < fixedRows_) {
        horizontalHeader()->setFixedHeight(px);
        updateGeometries();
        return;
    }
    setRowHeight(row - fixedRows_, px);
}

int FlexGrid::colWidthPx(int col) const
{
    checkCell(0, col);
    return col < fixedCols_ ? verticalHeader()->minimumWidth() : columnWidth(col - fixedCols_);
}

void FlexGrid::setColWidthPx(int col, int px)
{
    checkCell(0, col);
    if (col < fixedCols_) {
        verticalHeader()->setFixedWidth(px);
        updateGeometries();
        return;
    }
    setColumnWidth(col - fixedCols_, px);
}

int FlexGrid::colAlignment(int col) const
{
    checkCell(0, col);
    return colAlign_[std::size_t(col)];
}

void FlexGrid::setColAlignment(int col, int code)
{
    checkCell(0, col);
    colAlign_[std::size_t(col)] = code;
    if (col < fixedCols_)
        return;
    for (int r = 0; r < rows(); ++r) {
        if (QTableWidgetItem* it = itemFor(r, col, /*create=*/false))
            applyAlignment(it, col, it->text());
    }
}

int FlexGrid::cellAlignment() const
{
    checkCell(row_, col_);
    return effectiveAlignment(itemFor(row_, col_), col_);
}

void FlexGrid::setCellAlignment(int code)
{
    checkCell(row_, col_);
    QTableWidgetItem* it = itemFor(row_, col_, /*create=*/true);
    if (!it)
        return;
    it->setData(kCellAlignRole, code);
    applyAlignment(it, col_, it->text());
}

void FlexGrid::setCellFontFlags(bool bold, bool italic, bool underline, bool strikeOut)
{
    QTableWidgetItem* it = itemFor(row_, col_, /*create=*/true);
    if (!it)
        return;
    QFont f = it->font();
    f.setBold(bold);
    f.setItalic(italic);
    f.setUnderline(underline);
    f.setStrikeOut(strikeOut);
    it->setFont(f);
}

void FlexGrid::setCellFont(const QString& name, double size)
{
    QTableWidgetItem* it = itemFor(row_, col_, /*create=*/true);
    if (!it)
        return;
    QFont f = it->font();
    if (!name.isEmpty())
        f.setFamily(name);
    if (size > 0)
        f.setPointSizeF(size);
    it->setFont(f);
}

void FlexGrid::setCellColors(const QColor& fore, const QColor& back)
{
    QTableWidgetItem* it = itemFor(row_, col_, /*create=*/true);
    if (!it)
        return;
    it->setForeground(fore);
    it->setBackground(back);
}

QRect FlexGrid::cellRect(int row, int col) const
{
    checkCell(row, col);
    layoutNow();
    int x = 0, w = 0, y = 0, h = 0;
    if (col < fixedCols_) {
        x = verticalHeader()->geometry().x();
        w = verticalHeader()->width();
    } else {
        x = viewport()->geometry().x() + columnViewportPosition(col - fixedCols_);
        w = columnWidth(col - fixedCols_);
    }
    if (row < fixedRows_) {
        y = horizontalHeader()->geometry().y();
        h = horizontalHeader()->height();
    } else {
        y = viewport()->geometry().y() + rowViewportPosition(row - fixedRows_);
        h = rowHeight(row - fixedRows_);
    }
    return QRect(x, y, w, h);
}

void FlexGrid::setFormatString(const QString& text)
{
    formatString_ = text;
    const FormatString fs = FormatString::parse(text.toStdString());
    const auto& columns = fs.columns();
    if (!columns.empty())
        setCols(int(columns.size()));
    const QFontMetrics metrics(horizontalHeader()->font());
    for (int c = 0; c < int(columns.size()); ++c) {
        const QString header = QString::fromStdString(columns[std::size_t(c)].header);
        setColAlignment(c, int(columns[std::size_t(c)].align));
        if (fixedRows_ > 0)
            setTextMatrix(0, c, header);
        setColWidthPx(c, metrics.horizontalAdvance(header) + kHeaderPaddingPx);
    }
    const auto& rowHeaders = fs.rowHeaders();
    for (int r = 1; r < int(rowHeaders.size()); ++r) {
        if (rows() <= r)
            setRows(r + 1);
        setTextMatrix(r, 0, QString::fromStdString(rowHeaders[std::size_t(r)]));
    }
}

bool FlexGrid::mergeRow(int row) const
{
    checkCell(row, 0);
    return std::size_t(row) < mergeRows_.size() && mergeRows_[std::size_t(row)];
}

void FlexGrid::setMergeRow(int row, bool on)
{
    checkCell(row, 0);
    if (std::size_t(row) >= mergeRows_.size())
        mergeRows_.resize(std::size_t(row) + 1, false);
    mergeRows_[std::size_t(row)] = on;
}

bool FlexGrid::mergeCol(int col) const
{
    checkCell(0, col);
    return std::size_t(col) < mergeCols_.size() && mergeCols_[std::size_t(col)];
}

void FlexGrid::setMergeCol(int col, bool on)
{
    checkCell(0, col);
    if (std::size_t(col) >= mergeCols_.size())
        mergeCols_.resize(std::size_t(col) + 1, false);
    mergeCols_[std::size_t(col)] = on;
}

void FlexGrid::keyPressEvent(QKeyEvent* e)
{
    const int original = VbKeys::keyCode(*e);
    int code = original;
    int shift = VbKeys::shiftMask(*e);
    emit KeyDown(code, shift);
    e->accept();
    if (original != 0 && code == 0)
        return;
    if (isNavigationKey(e->key()))
        QTableWidget::keyPressEvent(e);
    int ascii = VbKeys::keyAscii(*e);
    if (ascii != 0)
        emit KeyPress(ascii);
}

void FlexGrid::mouseReleaseEvent(QMouseEvent* e)
{
    QTableWidget::mouseReleaseEvent(e);
    // A double click is one Click and one DblClick, not two Clicks.
    if (std::exchange(swallowRelease_, false))
        return;
    // Like the header row, the blank area past the last row or column is no cell:
    // a click there must not act on the current row.
    if (e->button() == Qt::LeftButton && indexAt(e->position().toPoint()).isValid())
        emit Click();
}

void FlexGrid::mouseDoubleClickEvent(QMouseEvent* e)
{
    QTableWidget::mouseDoubleClickEvent(e);
    if (e->button() != Qt::LeftButton)
        return;
    swallowRelease_ = true;
    emit DblClick();
}

void FlexGrid::focusInEvent(QFocusEvent* e)
{
    QTableWidget::focusInEvent(e);
    emit GotFocus();
}

void FlexGrid::focusOutEvent(QFocusEvent* e)
{
    QTableWidget::focusOutEvent(e);
    emit LostFocus();
}

}  // namespace zq
