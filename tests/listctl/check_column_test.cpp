// The check-box column over a list: boxes per visible row, entries holding the ticks.

#include "list_fixture.h"

#include "listctl/check_column.h"
#include "listctl/overlay_column.h"
#include "listctl/twips.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QTest>

#include <cmath>
#include <set>

namespace zq::test {
namespace {

class CheckColumnTest : public ListFixture {
protected:
    static constexpr int kCheckCol = 3;

    void SetUp() override
    {
        ListFixture::SetUp();
        init(0);
        list->setColHeight(0, 315);
        checks = std::make_unique<CheckColumn>(
            *list, kCheckCol,
            CheckEntries{[this] { return int(selected.size()); },
                         [this](int n) { return bool(selected.at(std::size_t(n - 1))); },
                         [this](int n, bool on) { selected.at(std::size_t(n - 1)) = on; }});
        checks->setOnClick([this] { ++clicks; });
        QObject::connect(list.get(), &grdComm::Scroll, checks.get(), &CheckColumn::DispchkS);
        QObject::connect(list.get(), &grdComm::Click, checks.get(), &CheckColumn::gridClick);
    }

    /// Loads n entries; the grid gets one empty row after them, as the forms leave it.
    void load(int n, std::set<int> ticked = {})
    {
        selected.assign(std::size_t(n), false);
        for (int t : ticked)
            selected[std::size_t(t - 1)] = true;
        fill(n);
        list->AddNewRw();
        checks->DispchkS();
        clicks = 0;
    }

    int visibleBoxes() const
    {
        int n = 0;
        for (int i = 1; i <= checks->loadedBoxes(); ++i)
            n += checks->box(i)->isVisible() ? 1 : 0;
        return n;
    }

    std::set<int> tickedEntries() const
    {
        std::set<int> out;
        for (std::size_t i = 0; i < selected.size(); ++i)
            if (selected[i]) out.insert(int(i) + 1);
        return out;
    }

    /// The check cell of grid row `row`, in the pixels of the list's container.
    QRect cellOf(int row) const
    {
        return QRect(twipsToPx(list->ColPos(kCheckCol)), twipsToPx(list->RowPos(row)),
                     twipsToPx(list->ColWidth(kCheckCol)), twipsToPx(list->ColHeight(row)));
    }

    void clickCell(int row, int col)
    {
        const QRect cell = grid->cellRect(row, col);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          cell.center() - grid->viewport()->geometry().topLeft());
    }

    std::vector<char> selected;
    std::unique_ptr<CheckColumn> checks;
    int clicks = 0;
};

TEST_F(CheckColumnTest, BoxesOnlyOnRowsWithEntriesAndSpareOnesHideOnReload)
{
    load(3, {2});
    EXPECT_EQ(list->NumVisibleRows(), 9);
    EXPECT_EQ(checks->loadedBoxes(), 3);
    EXPECT_EQ(visibleBoxes(), 3);
    for (int i = 1; i <= 3; ++i) {
        SCOPED_TRACE(i);
        QCheckBox* b = checks->box(i);
        EXPECT_EQ(b->isChecked(), i == 2);
        EXPECT_TRUE(cellOf(i).contains(b->geometry()));
    }
    EXPECT_EQ(checks->box(4), nullptr) << "the empty last row gets no box";
    EXPECT_EQ(tickedEntries(), (std::set<int>{2}));

    // Reloading a longer, then a shorter list: the spare boxes hide.
    load(30);
    EXPECT_EQ(visibleBoxes(), 9);
    load(2, {1});
    EXPECT_EQ(visibleBoxes(), 2);
    EXPECT_TRUE(checks->box(1)->isChecked() && !checks->box(2)->isChecked());
    for (int i = 3; i <= checks->loadedBoxes(); ++i)
        EXPECT_TRUE(checks->box(i)->isHidden()) << i;
}

TEST_F(CheckColumnTest, ScrollingMovesTicksWithTheirEntries)
{
    load(30, {5, 12});
    EXPECT_TRUE(checks->box(5)->isChecked());
    list->setTopRow(5);  // the grid's Scroll event redraws the column
    ASSERT_EQ(list->TopRow(), 5);
    for (int i = 1; i <= 9; ++i) {
        SCOPED_TRACE(i);
        const int entry = list->TopRow() + i - 1;
        EXPECT_EQ(checks->box(i)->isChecked(), entry == 5 || entry == 12);
        EXPECT_TRUE(cellOf(entry).contains(checks->box(i)->geometry()));
    }
    EXPECT_EQ(tickedEntries(), (std::set<int>{5, 12})) << "redrawing changes no entry";
    clicks = 0;

    QTest::mouseClick(checks->box(3), Qt::LeftButton);  // entry 7
    EXPECT_EQ(tickedEntries(), (std::set<int>{5, 7, 12}));
    EXPECT_EQ(clicks, 1);
    QTest::mouseClick(checks->box(1), Qt::LeftButton);  // entry 5
    EXPECT_EQ(tickedEntries(), (std::set<int>{7, 12})) << "only the box itself clears a tick";

    list->setTopRow(10);
    clickCell(13, 1);
    EXPECT_EQ(tickedEntries(), (std::set<int>{7, 12, 13})) << "a click on a row ticks the entry shown there";
    EXPECT_TRUE(checks->box(4)->isChecked());
}

TEST_F(CheckColumnTest, AClickOnARowTicksItNeverClearsAndTheHeaderOrBelowChangeNothing)
{
    load(5, {2});
    clickCell(2, 1);
    EXPECT_EQ(list->Row(), 2);
    EXPECT_EQ(tickedEntries(), (std::set<int>{2}));
    EXPECT_EQ(clicks, 0) << "an unchanged box runs no click";
    clickCell(4, 2);
    EXPECT_EQ(tickedEntries(), (std::set<int>{2, 4}));
    EXPECT_TRUE(checks->box(4)->isChecked());
    EXPECT_EQ(clicks, 1);
    clickCell(6, 2);  // the empty row after the entries
    EXPECT_EQ(tickedEntries(), (std::set<int>{2, 4}));

    list->setRow(3);
    const QRect header = grid->cellRect(0, kCheckCol);
    QTest::mouseClick(grid->horizontalHeader()->viewport(), Qt::LeftButton, {},
                      QPoint(header.center().x() - grid->viewport()->geometry().x(), header.height() / 2));
    const QRect lastRow = grid->cellRect(list->Rows() - 1, kCheckCol);
    const QPoint below = lastRow.center() + QPoint(0, 2 * lastRow.height());
    ASSERT_LT(below.y(), grid->viewport()->geometry().bottom());
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, below - grid->viewport()->geometry().topLeft());
    EXPECT_EQ(list->Row(), 3);
    EXPECT_EQ(tickedEntries(), (std::set<int>{2, 4}));
    EXPECT_FALSE(checks->box(3)->isChecked());
    EXPECT_EQ(clicks, 1);
}

TEST_F(CheckColumnTest, OverlayColumnCreatesElementsOnDemand)
{
    load(4);
    int made = 0;
    OverlayColumn pics(*list, 1, [&](int i) {
        ++made;
        return new QLabel(QStringLiteral("p%1").arg(i), form.get());
    });
    EXPECT_EQ(pics.existing(1), nullptr);
    pics.place(3, 3, 40, 40);
    EXPECT_EQ(made, 3);
    EXPECT_TRUE(pics.existing(3)->isVisible());
    EXPECT_TRUE(pics.existing(1)->isHidden()) << "created on the way, not shown";
    EXPECT_EQ(pics.existing(3)->pos(), OverlayColumn::position(*list, 1, 3, 40, 40));
    EXPECT_EQ(pics.existing(3)->pos(), QPoint(int(std::lround((list->ColPos(1) + 40) / 15.0)),
                                             int(std::lround((list->RowPos(3) + 40) / 15.0))));
    pics.place(1, 1, 40, 40);
    EXPECT_EQ(made, 3);
    pics.hideAbove(1);
    EXPECT_TRUE(pics.existing(3)->isHidden());
    EXPECT_TRUE(pics.existing(1)->isVisible());
    EXPECT_EQ(pics.rowOf(2), list->TopRow() + 1);
}

}  // namespace
}  // namespace zq::test
