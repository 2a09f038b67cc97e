#include "lookups/picker.h"

#include <gtest/gtest.h>

namespace zq {
namespace {

TEST(Picker, SelectionStaysWithinTheItems) {
    Picker p;
    EXPECT_EQ(p.listIndex(), -1);
    EXPECT_EQ(p.text(), "");
    EXPECT_EQ(p.addItem("2024"), 0);
    EXPECT_EQ(p.addItem("2023"), 1);
    p.setItemData(1, 77);
    p.setListIndex(1);
    EXPECT_EQ(p.text(), "2023");
    EXPECT_EQ(p.itemData(p.listIndex()), 77);
    p.setListIndex(2);
    EXPECT_EQ(p.listIndex(), -1);
    p.setListIndex(0);
    p.clear();
    EXPECT_EQ(p.listIndex(), -1);
    EXPECT_EQ(p.listCount(), 0);
    EXPECT_THROW(p.list(0), std::out_of_range);
}

}  // namespace
}  // namespace zq
