// What the list's Insert and Delete tests cannot reach: sizing, growth and bounds.

#include "listctl/row_stores.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace zq {
namespace {

constexpr int kCols = 4;

TEST(RowStoresTest, InitRedimAndAccessAboveTheBound)
{
    RowStores s;
    EXPECT_EQ(s.upperBound(), -1);
    s.recordDeleted(9);
    s.recordDeleted(8);
    s.init(/*gridRows=*/2, kCols);
    EXPECT_EQ(s.upperBound(), 1);
    EXPECT_EQ(s.nDbmk(), 0) << "init empties the deleted keys";
    EXPECT_EQ(s.dBmk(0), 0);
    EXPECT_TRUE(s.niEdt(1, kCols - 1, kCols));
    EXPECT_FALSE(s.niEdt(1, kCols, kCols)) << "only the grid's columns are initialised";

    s.setBkmk(1, 55, kCols);
    s.setNiTip(1, 2, "x", kCols);
    s.redim(5, kCols);
    EXPECT_EQ(s.upperBound(), 5);
    EXPECT_EQ(s.bkmk(1, kCols), 55);
    EXPECT_EQ(s.niTip(1, 2, kCols), "x");
    EXPECT_TRUE(s.niEdt(5, 0, kCols));
    EXPECT_FALSE(s.niEdt(3, 0, kCols)) << "rows skipped over by the jump keep blank values";

    s.setNiCol(9, 99, 3, kCols);
    EXPECT_EQ(s.upperBound(), 9);
    EXPECT_EQ(s.niCol(9, 99, kCols), 3);
    EXPECT_THROW(s.niRig(1, 100, kCols), std::out_of_range);
    EXPECT_THROW(s.bkmk(-1, kCols), std::out_of_range);
    s.shrink(3);
    EXPECT_EQ(s.upperBound(), 3);
    s.setDBmk(7, 70);
    EXPECT_EQ(s.dBmk(7), 70);
    EXPECT_EQ(s.nDbmk(), 7);

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
