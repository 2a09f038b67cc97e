#include "conversion/pixel_rows.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace zq {
namespace {

std::vector<std::uint8_t> argbRow(const std::vector<std::uint32_t>& words) {
    std::vector<std::uint8_t> bytes(words.size() * 4);
    std::memcpy(bytes.data(), words.data(), bytes.size());  // native order, as poppler stores it
    return bytes;
}

TEST(PixelRows, ArgbToRgbKeepsChannelOrder) {
    const auto in = argbRow({0xffff0000, 0xff00ff00, 0xff0000ff, 0xff123456, 0x00abcdef});
    std::vector<std::uint8_t> out(15);
    argbRowToRgb(in.data(), out.data(), 5);
    EXPECT_EQ(out, (std::vector<std::uint8_t>{255, 0, 0, 0, 255, 0, 0, 0, 255, 0x12, 0x34, 0x56, 0xab, 0xcd, 0xef}));
}

TEST(PixelRows, GreyRowsAreThoseWithoutAnyColouredPixel) {
    const auto grey = argbRow({0xffffffff, 0xff000000, 0xff808080, 0x00121212});
    EXPECT_TRUE(argbRowIsGrey(grey.data(), 4));
    std::vector<std::uint8_t> out(4);
    argbGreyRowToGrey(grey.data(), out.data(), 4);
    EXPECT_EQ(out, (std::vector<std::uint8_t>{255, 0, 128, 0x12}));
    // One channel off by one anywhere in the row makes it a colour row.
    for (std::uint32_t odd : {0xff818080u, 0xff807f80u, 0xff808081u}) {
        for (std::size_t at = 0; at < 37; at += 9) {
            std::vector<std::uint32_t> words(37, 0xff808080);
            words[at] = odd;
            EXPECT_FALSE(argbRowIsGrey(argbRow(words).data(), words.size())) << std::hex << odd << " at " << at;
        }
    }
}

TEST(PixelRows, BilevelPacksMsbFirstWithWhitePadding) {
    // Widths around the byte boundary: every dark pixel is a 1 bit at its place.
    for (std::size_t width : {1u, 7u, 8u, 9u, 15u, 16u, 17u, 33u}) {
        SCOPED_TRACE(width);
        std::vector<std::uint8_t> grey(width);
        for (std::size_t x = 0; x < width; ++x) grey[x] = (x % 3 == 0) ? 10 : 250;
        std::vector<std::uint8_t> bits((width + 7) / 8, 0xAA);
        greyRowToBilevel(grey.data(), bits.data(), width, 128);
        for (std::size_t x = 0; x < bits.size() * 8; ++x) {
            const bool black = (bits[x / 8] >> (7 - x % 8)) & 1;
            EXPECT_EQ(black, x < width && x % 3 == 0) << "pixel " << x;
        }
    }
}

TEST(PixelRows, BilevelThresholdIsStrict) {
    const std::uint8_t grey[] = {127, 128, 129, 0, 255, 99, 100, 101};
    std::uint8_t bits = 0;
    greyRowToBilevel(grey, &bits, 8, 128);
    EXPECT_EQ(bits, 0b10010111);
    greyRowToBilevel(grey, &bits, 8, 100);
    EXPECT_EQ(bits, 0b00010100);
}

}  // namespace
}  // namespace zq
