#include "conversion/pixel_rows.h"

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

void whiteOnesToBlackOnes(const std::uint8_t* in, std::uint8_t* out, std::size_t bytes) {
    for (std::size_t i = 0; i < bytes; ++i) out[i] = static_cast<std::uint8_t>(~in[i]);
}

}  // namespace zq
