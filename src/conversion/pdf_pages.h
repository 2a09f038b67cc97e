#pragma once
// One opened PDF and the rasterised pages it yields, from poppler's Splash rasteriser
// driven directly rather than through poppler-cpp:
//  - one output device serves every page of the document, so its font engine and glyph
//    cache are built once per document (poppler-cpp builds them again for each page,
//    which on text pages costs more than the drawing);
//  - pages come out packed in the layout the TIFF stores (RGB, 8-bit grey, 1-bit), with
//    no copy and no conversion pass;
//  - 1-bit pages are thresholded by the rasteriser itself, pixel by pixel, at the grey
//    level the settings give: the black pixels of a grey rendering split at that level,
//    without the alpha channel, the compositing pass over it and 8 times the memory;
//  - an image drawn smaller than it is stored (a scanned sheet) is averaged straight
//    into the page (page_image.h) rather than scaled and composited pixel by pixel;
//  - colour and grey pages are laid on the white paper by a loop that settles bare
//    and fully drawn runs a word at a time (pixel_rows.h), in place of Splash's pass.
// Each of these gives the bytes Splash's own path gives.
//
// Poppler's process-wide parameters are created on first use; its diagnostics (English,
// about damaged files it repairs) are kept off the terminal.
//
// Thread safety: each PdfPages belongs to one thread; several may render at once.

#include "conversion/conversion_settings.h"
#include "conversion/tiff_writer.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>

namespace zq {

/// A rendered page, valid until the next render() of the same document.
struct PageView {
    const std::uint8_t* data = nullptr;  ///< first row, top of the page
    std::size_t stride = 0;              ///< bytes from one row to the next
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    /// Rgb24, Grey8, or Bilevel1 with 1 = white (the rasteriser's own sense)
    PageLayout layout = PageLayout::Rgb24;

    const std::uint8_t* row(std::uint32_t y) const { return data + y * stride; }
};

class PdfPages {
public:
    /// The document at `pdf`, rendered as `s` says (mode, dpi, threshold, antialias);
    /// nullptr when it is not a readable PDF (missing, damaged, encrypted, no pages).
    static std::unique_ptr<PdfPages> open(const std::filesystem::path& pdf, const ConversionSettings& s);
    ~PdfPages();
    PdfPages(const PdfPages&) = delete;
    PdfPages& operator=(const PdfPages&) = delete;

    /// The number of pages (at least 1).
    int count() const;
    /// Renders page `index` (0-based). Throws zq::Error when the page cannot be drawn.
    PageView render(int index);

private:
    struct State;
    explicit PdfPages(std::unique_ptr<State> state);
    std::unique_ptr<State> state_;
};

}  // namespace zq
