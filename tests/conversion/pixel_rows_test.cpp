#include "conversion/pixel_rows.h"

#include <gtest/gtest.h>

#include <vector>

namespace zq {
namespace {

TEST(PixelRows, GreyRowsAreThoseWithoutAnyColouredPixel) {
    const std::vector<std::uint8_t> grey{255, 255, 255, 0, 0, 0, 128, 128, 128, 0x12, 0x12, 0x12};
    EXPECT_TRUE(rgbRowIsGrey(grey.data(), 4));
    std::vector<std::uint8_t> out(4);
    rgbGreyRowToGrey(grey.data(), out.data(), 4);
    EXPECT_EQ(out, (std::vector<std::uint8_t>{255, 0, 128, 0x12}));
    // One channel off by one anywhere in the row makes it a colour row.
    for (int channel = 0; channel < 3; ++channel) {
        for (std::size_t at = 0; at < 37; at += 9) {
            std::vector<std::uint8_t> row(37 * 3, 128);
            row[3 * at + static_cast<std::size_t>(channel)] = 129;
            EXPECT_FALSE(rgbRowIsGrey(row.data(), 37)) << "channel " << channel << " at " << at;
        }
    }
}

}  // namespace
}  // namespace zq
