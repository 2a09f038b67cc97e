#pragma once
// An image that a page draws smaller than it is stored (a scanned sheet: one 300 dpi
// image on a page rendered at 200 dpi), written straight into the page's raster.
//
// Splash draws such an image in three passes: it scales the whole image into a bitmap
// of its own, then sends every pixel of that bitmap through its general compositing
// pipe, then composites the page with the paper. For an opaque image that lands upright
// and unclipped on the page none of that can change a pixel: the scaled value is what
// the page gets. Here each output row is averaged from the image rows as they are
// decoded (the same box average over the same source pixels as Splash's scaler, in the
// same fixed-point arithmetic) and stored in the page's layout at once: RGB, 8-bit grey,
// or 1 bit split at the threshold as the rasteriser's screen splits it.
//
// Only the case above is taken; any other image (rotated, clipped, enlarged, masked,
// translucent, inside a transparency group, with a transfer function, in a colour space
// other than device grey or RGB) is left to Splash.

#include <optional>

class GfxImageColorMap;
class GfxState;
class Splash;
class SplashBitmap;
class Stream;

namespace zq {

/// Where an image lands in the page raster.
struct ImagePlacement {
    int x0 = 0, y0 = 0;          ///< top-left pixel
    int width = 0, height = 0;   ///< pixels covered (smaller than the image's own size)
};

/// Where `state` puts an image of `imageWidth` x `imageHeight` in `colorMap`'s colours
/// on `page`, when drawDownscaledImage can draw it with the very pixels Splash would
/// give; nothing otherwise.
std::optional<ImagePlacement> downscaledPlacement(GfxState* state, Splash* splash, SplashBitmap* page,
                                                  GfxImageColorMap* colorMap, int imageWidth, int imageHeight);

/// Decodes the image in `str` row by row and stores its box average at `at` in `page`
/// (RGB8, Mono8 or Mono1; Mono1 pixels below `threshold` are black). Closes `str`.
void drawDownscaledImage(Stream* str, int imageWidth, int imageHeight, GfxImageColorMap* colorMap,
                         SplashBitmap* page, const ImagePlacement& at, int threshold);

}  // namespace zq
