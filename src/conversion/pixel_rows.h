#pragma once
// Row converters from the rasteriser's pixel layouts to the layouts TIFF pages store.
// Plain loops over bytes so the compiler can vectorise them; one call per row.

#include <cstddef>
#include <cstdint>

namespace zq {

/// True when every pixel of the packed RGB row has equal red, green and blue: the row
/// loses nothing when stored as 8-bit grey.
bool rgbRowIsGrey(const std::uint8_t* rgb, std::size_t width);
/// Grey value of a packed RGB row whose pixels are all grey (rgbRowIsGrey).
void rgbGreyRowToGrey(const std::uint8_t* rgb, std::uint8_t* grey, std::size_t width);
/// Lays a row drawn with coverage (`alpha`, one byte per pixel) on white paper:
/// value = (255 - a) * 255 + a * value, divided by 255 as the rasteriser divides (its
/// own compositing pass gives the very same bytes). `comps` is 1 (grey) or 3 (RGB).
void compositeOnWhite(std::uint8_t* pixels, const std::uint8_t* alpha, std::size_t width, int comps);
/// A 1-bit row with 1 = white (the rasteriser's sense) to 1 = black (the TIFF's
/// PhotometricInterpretation MinIsWhite, which fax readers expect): `bytes` bytes.
void whiteOnesToBlackOnes(const std::uint8_t* in, std::uint8_t* out, std::size_t bytes);

}  // namespace zq
