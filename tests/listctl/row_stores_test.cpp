#include "listctl/row_stores.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace zq {
namespace {

constexpr int kCols = 4;

// The keys of rows 0..4.
std::vector<int> keys(RowStores& s)
{
    std::vector<int> out;
    for (int r = 0; r <= 4; ++r)
        out.push_back(s.bkmk(r, kCols));
    return out;
}

TEST(RowStoresTest, InitSizesToTheGridAndEmptiesTheDeletedKeys)
{
    RowStores s;
    EXPECT_EQ(s.upperBound(), -1);
    s.recordDeleted(9);
    s.init(/*gridRows=*/3, kCols);
    EXPECT_EQ(s.upperBound(), 2);
    EXPECT_EQ(s.nDbmk(), 0);
    EXPECT_EQ(s.dBmk(0), 0);
    EXPECT_EQ(s.bkmk(2, kCols), 0);
    EXPECT_TRUE(s.niEdt(2, kCols - 1, kCols));
    EXPECT_FALSE(s.niEdt(2, kCols, kCols)) << "only the grid's columns are initialised";
    EXPECT_EQ(s.niTip(2, 0, kCols), "");
}

TEST(RowStoresTest, RedimKeepsContentsAndInitialisesOnlyTheLastRow)
{
    RowStores s;
    s.init(2, kCols);
    s.setBkmk(1, 55, kCols);
    s.setNiTip(1, 2, "x", kCols);
    s.redim(5, kCols);
    EXPECT_EQ(s.upperBound(), 5);
    EXPECT_EQ(s.bkmk(1, kCols), 55);
    EXPECT_EQ(s.niTip(1, 2, kCols), "x");
    EXPECT_TRUE(s.niEdt(5, 0, kCols));
    // Rows skipped over by the jump keep the store's blank values.
    EXPECT_FALSE(s.niEdt(3, 0, kCols));
    EXPECT_EQ(s.niRig(3, 0, kCols), 0);
}

TEST(RowStoresTest, AccessAboveTheBoundGrowsTheStores)
{
    RowStores s;
    s.init(2, kCols);
    EXPECT_EQ(s.bkmk(7, kCols), 0);
    EXPECT_EQ(s.upperBound(), 7);
    s.setNiCol(9, 99, 3, kCols);
    EXPECT_EQ(s.upperBound(), 9);
    EXPECT_EQ(s.niCol(9, 99, kCols), 3);
    EXPECT_TRUE(s.niEdt(9, 1, kCols));
    EXPECT_THROW(s.niRig(1, 100, kCols), std::out_of_range);
    EXPECT_THROW(s.bkmk(-1, kCols), std::out_of_range);
}

TEST(RowStoresTest, DeletedKeysLandFromElementZero)
{
    RowStores s;
    s.init(3, kCols);
    s.recordDeleted(17);
    EXPECT_EQ(s.nDbmk(), 0);
    s.recordDeleted(23);
    s.recordDeleted(4);
    EXPECT_EQ(s.nDbmk(), 2);
    EXPECT_EQ((std::vector<int>{s.dBmk(0), s.dBmk(1), s.dBmk(2), s.dBmk(5)}), (std::vector<int>{17, 23, 4, 0}));
    EXPECT_EQ(s.nDbmk(), 5) << "reading above the bound grows the list";
    s.setDBmk(7, 70);
    EXPECT_EQ(s.dBmk(7), 70);
}

TEST(RowStoresTest, ShiftDownAndUpMoveKeysAndAttributesTogether)
{
    RowStores s;
    s.init(4, kCols);
    for (int r = 1; r <= 3; ++r) {
        s.setBkmk(r, r * 10, kCols);
        s.setNiRig(r, 1, std::int16_t(r), kCols);
        s.setNiEdt(r, 1, false, kCols);
    }
    s.redim(4, kCols);
    s.shiftDown(2, 4, kCols);
    EXPECT_EQ(keys(s), (std::vector<int>{0, 10, 0, 20, 30}));
    EXPECT_TRUE(s.niEdt(2, 1, kCols));
    EXPECT_EQ(s.niRig(2, 1, kCols), 0);
    EXPECT_EQ(s.niRig(3, 1, kCols), 2);
    EXPECT_FALSE(s.niEdt(4, 1, kCols));

    s.shiftUp(1, 4, kCols);
    EXPECT_EQ(keys(s), (std::vector<int>{0, 0, 20, 30, 0}));
    EXPECT_TRUE(s.niEdt(4, 1, kCols));
    s.shrink(3);
    EXPECT_EQ(s.upperBound(), 3);
}

TEST(RowStoresTest, BkRCIsSizedByInitAndGrowsByRow)
{
    RowStores s;
    s.initBkRC(2, kCols);
    s.setBkRC(1, 3, 42, kCols);
    EXPECT_EQ(s.bkRC(1, 3, kCols), 42);
    EXPECT_EQ(s.bkRC(6, 2, kCols), 0);
    EXPECT_THROW(s.bkRC(1, kCols, kCols), std::out_of_range);
    s.initBkRC(2, kCols);
    EXPECT_EQ(s.bkRC(1, 3, kCols), 0);
}

}  // namespace
}  // namespace zq
