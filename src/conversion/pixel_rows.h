#pragma once
// Row converters from the renderer's pixel layouts to the layouts TIFF pages store.
// Plain loops over bytes so the compiler can vectorise them; one call per row.

#include <cstddef>
#include <cstdint>

namespace zq {

/// Poppler's ARGB32 row (32-bit words 0xAARRGGBB in native order) to packed RGB bytes.
void argbRowToRgb(const std::uint8_t* argb, std::uint8_t* rgb, std::size_t width);
/// True when every pixel of the ARGB32 row has equal red, green and blue: the row
/// loses nothing when stored as 8-bit grey.
bool argbRowIsGrey(const std::uint8_t* argb, std::size_t width);
/// Grey value of an ARGB32 row whose pixels are all grey (argbRowIsGrey): the blue byte.
void argbGreyRowToGrey(const std::uint8_t* argb, std::uint8_t* grey, std::size_t width);
/// 8-bit grey row to 1-bit MSB-first, 1 = black (PhotometricInterpretation MinIsWhite):
/// a pixel darker than `threshold` is black. `bits` receives (width + 7) / 8 bytes.
void greyRowToBilevel(const std::uint8_t* grey, std::uint8_t* bits, std::size_t width,
                      std::uint8_t threshold);

}  // namespace zq
