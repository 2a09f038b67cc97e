// Geometry in twips for overlays, scrolling and the cell-formatting call.

#include "list_fixture.h"

#include "listctl/fill_column.h"
#include "listctl/format_string.h"
#include "listctl/twips.h"

#include <QTest>

namespace zq::test {
namespace {

using GeometryTest = ListFixture;

TEST_F(GeometryTest, TwipsRoundToWholeRowsAndPixelsInTheContainer)
{
    init(0);
    EXPECT_EQ(list->ColHeight(0), 240.0) << "the header row of a new grid";
    list->setColHeight(0, 315);
    const struct {
        int heightTwips;
        int expected;
    } cases[] = {{3000, 9}, {2850, 8}, {3150, 9}, {630, 1}, {315, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.heightTwips);
        list->setHeight(c.heightTwips);
        EXPECT_EQ(list->Height(), c.heightTwips);
        EXPECT_EQ(list->NumVisibleRows(), c.expected);
    }

    // Move and widths round to pixels.
    list->Move(150, 300, 6000, 3000);
    EXPECT_EQ(grid->geometry(), QRect(10, 20, 400, 200));
    list->setColWidth(2, 1500.4);
    EXPECT_EQ(list->ColWidth(2), 1500.0);
    list->setColWidth(0, 450);
    EXPECT_EQ(list->ColWidth(0), 450.0);
    EXPECT_EQ(list->ColPos(1) - list->ColPos(0), 450);
    list->setColHeight(99, 500);  // swallowed

    // Positions are twips in the container; ColLeft makes the column current.
    fill(20);
    EXPECT_EQ(list->Left(), 150);
    EXPECT_EQ(list->Top(), 300);
    EXPECT_EQ(list->Container(), form.get());
    for (int col = 0; col < list->Cols(); ++col) {
        SCOPED_TRACE(col);
        EXPECT_EQ(list->ColPos(col), (grid->x() + grid->cellRect(1, col).x()) * 15);
    }
    EXPECT_EQ(list->ColPos(2) - list->ColPos(1), list->ColWidth(1));
    EXPECT_EQ(list->RowPos(2) - list->RowPos(1), 315);
    EXPECT_EQ(list->RowPos(1) - list->RowPos(0), 315) << "the header row";
    EXPECT_EQ(list->ColTop(1), list->RowPos(1));
    EXPECT_EQ(list->ColTop(4), list->RowPos(4));

    list->setRow(2);
    list->setCol(1);
    EXPECT_EQ(list->ColLeft(3), list->ColPos(3));
    EXPECT_EQ(list->Col(), 3);
    EXPECT_EQ(list->ColLeft(99), 0) << "errors are swallowed";

    list->setCol(2);
    EXPECT_EQ(list->Text(), "D2") << "Text follows the current cell";
    list->setText("nuovo");
    EXPECT_EQ(list->TextMatrix(2, 2), "nuovo");
    EXPECT_THROW(list->TextMatrix(list->Rows(), 0), std::out_of_range);

    // A fill column takes the width the data columns leave free, never less than its minimum.
    fitFillColumn(*list, 2, 600);
    EXPECT_EQ(list->ColWidth(2), pxToTwips(grid->viewport()->width()) - list->ColWidth(1) - list->ColWidth(3));
    fitFillColumn(*list, 2, 15000);
    EXPECT_EQ(list->ColWidth(2), 15000.0);
}

TEST_F(GeometryTest, ScrollToRowScrollsAndSelectsOnlyInsideTheGrid)
{
    init(0);
    fill(30);
    list->setRow(3);
    list->setCol(2);
    auto scrolled = count(&grdComm::Scroll);
    list->ScrollToRow(0);
    list->ScrollToRow(list->Rows());
    list->ScrollToRow(-4);
    EXPECT_EQ(list->Row(), 3);
    EXPECT_EQ(list->Col(), 2);
    EXPECT_EQ(list->TopRow(), 1);
    EXPECT_EQ(*scrolled, 0);

    list->ScrollToRow(12);
    EXPECT_EQ(list->Row(), 12);
    EXPECT_EQ(list->Col(), 0);
    EXPECT_EQ(list->TopRow(), 12);
    EXPECT_GE(*scrolled, 1);
    EXPECT_EQ(list->ColTop(12), list->RowPos(12));
    EXPECT_EQ(list->ColTop(5), list->ColTop(12)) << "rows above TopRow count as the first shown";
    EXPECT_EQ(list->ColTop(14) - list->ColTop(12), 630);
    const auto selected = grid->selectedRanges();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(selected[0].topRow(), 11);
    EXPECT_EQ(selected[0].leftColumn(), 0);
    EXPECT_EQ(selected[0].rightColumn(), list->Cols() - 2);
}

TEST_F(GeometryTest, CellFrmtFormatsTheValueAndStylesTheCell)
{
    init(0);
    fill(3);
    list->CellFrmt(2, 3, "1234,5", "#,##0.00", int(GridAlign::RightCenter), true, false, true, false,
                   Qt::red, Qt::yellow, "", 0, 0);
    EXPECT_EQ(list->TextMatrix(2, 3), "1.234,50");
    EXPECT_EQ(list->Row(), 2);
    EXPECT_EQ(list->Col(), 3);
    EXPECT_EQ(list->CellAlignment(), int(GridAlign::RightCenter));
    EXPECT_FALSE(list->isBusy());
    const QTableWidgetItem* item = grid->item(1, 2);
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(item->font().bold() && item->font().underline() && !item->font().italic());
    EXPECT_EQ(item->foreground().color(), QColor(Qt::red));
    EXPECT_EQ(item->background().color(), QColor(Qt::yellow));
    EXPECT_EQ(item->textAlignment(), int(Qt::AlignRight | Qt::AlignVCenter));

    list->CellFrmt(1, 1, "abc", "", int(GridAlign::LeftTop), false, false, false, false, Qt::black,
                   Qt::white, "", 0, 0);
    EXPECT_EQ(list->TextMatrix(1, 1), "abc");
    EXPECT_EQ(grid->item(0, 0)->textAlignment(), int(Qt::AlignLeft | Qt::AlignTop)) << "code 0 is an alignment too";
}

TEST_F(GeometryTest, EverythingThatTouchesTheGridFailsBeforeInitGrid)
{
    EXPECT_THROW(list->Rows(), std::logic_error);
    EXPECT_THROW(list->setTextMatrix(1, 1, "x"), std::logic_error);
    EXPECT_THROW(list->AppdRiga(), std::logic_error);
    EXPECT_EQ(list->ColLeft(1), 0) << "ColLeft swallows the error";
    list->setMaxRows(3);
    EXPECT_EQ(list->MaxRows(), 3) << "the limit needs no grid";
}

}  // namespace
}  // namespace zq::test
