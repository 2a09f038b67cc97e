#pragma once
// Small, valid PDF files written byte by byte for the conversion tests: text pages with
// coloured marks at known places, and "scanned" pages made of one raster image each.

#include <filesystem>
#include <string>
#include <vector>

namespace zq::test {

/// A4 portrait in PDF points.
inline constexpr double kPageWidthPt = 595;
inline constexpr double kPageHeightPt = 842;

/// Writes a PDF of `pages` A4 pages. Page i (1-based) shows "Pagina i" in Helvetica, a
/// pure red square 72 pt wide whose top-left corner is 72 pt from the left and top edges,
/// and a black square of the same size 72 pt from the right and bottom edges.
void writeTextPdf(const std::filesystem::path& path, int pages, const std::string& title = "Documento");
/// As writeTextPdf, one page per entry; a false entry draws the square in mid grey
/// (0.5) instead of red, so that page holds no colour at all.
void writeTextPdf(const std::filesystem::path& path, const std::vector<bool>& redPages,
                  const std::string& title = "Documento");

/// Writes a PDF of `pages` A4 pages, each covered by one RGB image of `w` x `h` pixels:
/// a horizontal grey ramp (left black, right white) stored uncompressed.
void writeImagePdf(const std::filesystem::path& path, int pages, int w = 200, int h = 283);

/// Writes a one-page PDF covered by one image of `w` x `h` pixels whose channels run
/// through every level in different directions (a scanned sheet stand-in): RGB, or with
/// `grey` one 8-bit grey channel. With `throughClipPath` the page first sets a clip path
/// that holds the whole page: the same picture, drawn by the rasteriser's general path.
void writePatternPdf(const std::filesystem::path& path, int w, int h, bool throughClipPath, bool grey = false);

/// Pixel position in a page rendered at `dpi` of a point `pt` from the left/top edge.
inline int px(double pt, int dpi) { return static_cast<int>(pt * dpi / 72.0); }

}  // namespace zq::test
