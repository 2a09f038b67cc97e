#include "optionctl/option_layout.h"

#include <gtest/gtest.h>

namespace zq {
namespace {

TEST(OptionLayout, HalvesInTwipsAndPixels) {
    const struct {
        int width, height;
        QRect first, second;
    } cases[] = {
        {2000, 300, QRect(0, 0, 1000, 300), QRect(1000, 0, 1000, 300)},
        {3001, 255, QRect(0, 0, 1500, 255), QRect(1500, 0, 1500, 255)},
        {0, 0, QRect(0, 0, 0, 0), QRect(0, 0, 0, 0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        EXPECT_EQ(OptionLayout::placeTwips(0, c.width, c.height), c.first);
        EXPECT_EQ(OptionLayout::placeTwips(1, c.width, c.height), c.second);
    }
    // An odd width in pixels: the second half reaches the right edge.
    EXPECT_EQ(OptionLayout::placePixels(0, 133, 20), QRect(0, 0, 66, 20));
    EXPECT_EQ(OptionLayout::placePixels(1, 133, 20), QRect(66, 0, 67, 20));
}

}  // namespace
}  // namespace zq
