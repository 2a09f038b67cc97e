#include "conversion/pixel_rows.h"

#include <bit>
#include <cstring>

namespace zq {
namespace {

// Byte offsets of the colour channels inside one native-order 0xAARRGGBB word.
constexpr int kB = std::endian::native == std::endian::little ? 0 : 3;
constexpr int kG = std::endian::native == std::endian::little ? 1 : 2;
constexpr int kR = std::endian::native == std::endian::little ? 2 : 1;

}  // namespace

void argbRowToRgb(const std::uint8_t* argb, std::uint8_t* rgb, std::size_t width) {
    for (std::size_t x = 0; x < width; ++x) {
        const std::uint8_t* p = argb + 4 * x;
        std::uint8_t* q = rgb + 3 * x;
        q[0] = p[kR];
        q[1] = p[kG];
        q[2] = p[kB];
    }
}

bool argbRowIsGrey(const std::uint8_t* argb, std::size_t width) {
    // No early exit inside the loop: a branch-free OR over the row vectorises, and a
    // colour row is usually found within the first rows of a page anyway.
    unsigned diff = 0;
    for (std::size_t x = 0; x < width; ++x) {
        const std::uint8_t* p = argb + 4 * x;
        diff |= static_cast<unsigned>(p[kR] ^ p[kG]) | static_cast<unsigned>(p[kG] ^ p[kB]);
    }
    return diff == 0;
}

void argbGreyRowToGrey(const std::uint8_t* argb, std::uint8_t* grey, std::size_t width) {
    for (std::size_t x = 0; x < width; ++x) grey[x] = argb[4 * x + kB];
}

void greyRowToBilevel(const std::uint8_t* grey, std::uint8_t* bits, std::size_t width,
                      std::uint8_t threshold) {
    const std::size_t full = width / 8;
    for (std::size_t i = 0; i < full; ++i) {
        const std::uint8_t* g = grey + 8 * i;
        unsigned b = 0;
        for (int k = 0; k < 8; ++k) b = (b << 1) | (g[k] < threshold ? 1u : 0u);
        bits[i] = static_cast<std::uint8_t>(b);
    }
    if (const std::size_t rest = width % 8) {
        unsigned b = 0;
        for (std::size_t k = 0; k < rest; ++k) b = (b << 1) | (grey[8 * full + k] < threshold ? 1u : 0u);
        bits[full] = static_cast<std::uint8_t>(b << (8 - rest));  // padding bits stay white
    }
}

}  // namespace zq
