#include "conversion/pixel_rows.h"

#include <algorithm>
#include <cstring>

namespace zq {

bool rgbRowIsGrey(const std::uint8_t* rgb, std::size_t width) {
    // No early exit inside the loop: a branch-free OR over the row vectorises, and a
    // colour row is usually found within the first rows of a page anyway.
    unsigned diff = 0;
    for (std::size_t x = 0; x < width; ++x) {
        const std::uint8_t* p = rgb + 3 * x;
        diff |= static_cast<unsigned>(p[0] ^ p[1]) | static_cast<unsigned>(p[1] ^ p[2]);
    }
    return diff == 0;
}

void rgbGreyRowToGrey(const std::uint8_t* rgb, std::uint8_t* grey, std::size_t width) {
    for (std::size_t x = 0; x < width; ++x) grey[x] = rgb[3 * x];
}

namespace {

// Most of a rendered page is bare paper (coverage 0) or fully drawn (255): runs of eight
// such pixels are settled a word at a time; the rest take the formula, which gives the
// same bytes for 0 and 255 too.
template <int C>
void compositeRow(std::uint8_t* px, const std::uint8_t* alpha, std::size_t width) {
    std::size_t x = 0;
    while (x < width) {
        if (x + 8 <= width) {
            std::uint64_t a8;
            std::memcpy(&a8, alpha + x, 8);
            if (a8 == ~std::uint64_t{0}) {
                x += 8;
                continue;
            }
            if (a8 == 0) {
                std::memset(px + C * x, 0xff, C * 8);
                x += 8;
                continue;
            }
        }
        const std::size_t end = std::min(width, x + 8);
        for (; x < end; ++x) {
            const std::uint32_t a = alpha[x];
            for (int c = 0; c < C; ++c) {
                const std::uint32_t v = (255 - a) * 255 + a * px[C * x + c];
                px[C * x + c] = static_cast<std::uint8_t>((v + (v >> 8) + 0x80) >> 8);
            }
        }
    }
}

}  // namespace

void compositeOnWhite(std::uint8_t* pixels, const std::uint8_t* alpha, std::size_t width, int comps) {
    if (comps == 3) compositeRow<3>(pixels, alpha, width);
    else compositeRow<1>(pixels, alpha, width);
}

void whiteOnesToBlackOnes(const std::uint8_t* in, std::uint8_t* out, std::size_t bytes) {
    for (std::size_t i = 0; i < bytes; ++i) out[i] = static_cast<std::uint8_t>(~in[i]);
}

}  // namespace zq
