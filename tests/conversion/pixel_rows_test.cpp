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

// Runs of drawn and of bare pixels, settled a word at a time, and smoothed edges between
// them, at every alignment, in grey and RGB rows.
TEST(PixelRows, CompositingOnWhiteKeepsDrawnPixelsWhitensBarePaperAndBlendsEdges) {
    const std::size_t width = 45;
    std::vector<std::uint8_t> alpha(width);
    for (std::size_t x = 0; x < width; ++x) alpha[x] = x < 17 ? 255 : x < 33 ? 0 : static_cast<std::uint8_t>(x * 53);
    for (const int comps : {1, 3}) {
        std::vector<std::uint8_t> px(width * comps);
        for (std::size_t i = 0; i < px.size(); ++i) px[i] = static_cast<std::uint8_t>(i * 29);
        const std::vector<std::uint8_t> drawn = px;
        compositeOnWhite(px.data(), alpha.data(), width, comps);
        for (std::size_t i = 0; i < px.size(); ++i) {
            SCOPED_TRACE("comps " + std::to_string(comps) + " value " + std::to_string(i));
            const int a = alpha[i / comps];
            const double exact = ((255 - a) * 255 + a * drawn[i]) / 255.0;
            if (a == 255) EXPECT_EQ(px[i], drawn[i]);
            else if (a == 0) EXPECT_EQ(px[i], 255);
            else EXPECT_NEAR(px[i], exact, 1.0);
        }
    }
}

}  // namespace
}  // namespace zq
