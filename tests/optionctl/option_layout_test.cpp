#include "optionctl/option_layout.h"

#include <gtest/gtest.h>

namespace zq {
namespace {

struct LayoutCase {
    int width, height;
    QRect first, second;
};

TEST(OptionLayout, HalvesInTwips) {
    const LayoutCase cases[] = {
        {2000, 300, QRect(0, 0, 1000, 300), QRect(1000, 0, 1000, 300)},
        {3001, 255, QRect(0, 0, 1500, 255), QRect(1500, 0, 1500, 255)},
        {0, 0, QRect(0, 0, 0, 0), QRect(0, 0, 0, 0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        EXPECT_EQ(OptionLayout::placeTwips(0, c.width, c.height), c.first);
        EXPECT_EQ(OptionLayout::placeTwips(1, c.width, c.height), c.second);
    }
}

TEST(OptionLayout, PixelsFollowTheTwipRule) {
    // 200 px = 3000 twips: the second choice starts at 1500 twips = 100 px.
    EXPECT_EQ(OptionLayout::placePixels(0, 200, 20), QRect(0, 0, 100, 20));
    EXPECT_EQ(OptionLayout::placePixels(1, 200, 20), QRect(100, 0, 100, 20));
    // An odd width: the second half reaches the right edge.
    const QRect second = OptionLayout::placePixels(1, 133, 20);
    EXPECT_EQ(second.left() + second.width(), 133);
}

}  // namespace
}  // namespace zq
