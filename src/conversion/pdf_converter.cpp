#include "conversion/pdf_converter.h"

#include "common/error.h"
#include "conversion/pixel_rows.h"
#include "conversion/staged_file.h"
#include "conversion/tiff_writer.h"

#include <poppler-document.h>
#include <poppler-image.h>
#include <poppler-page-renderer.h>
#include <poppler-page.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>

namespace zq {
namespace {

using DocumentPtr = std::unique_ptr<poppler::document>;
using PagePtr = std::unique_ptr<poppler::page>;

DocumentPtr openPdf(const std::filesystem::path& pdf) {
    DocumentPtr doc(poppler::document::load_from_file(pdf.string()));
    if (!doc || doc->is_locked() || doc->pages() < 1) return nullptr;
    return doc;
}

// Grey and black-and-white pages are rendered straight to 8-bit grey: a third of the
// memory traffic of ARGB and no conversion pass.
poppler::image::format_enum renderFormat(ColourMode mode) {
    return mode == ColourMode::Colour ? poppler::image::format_argb32 : poppler::image::format_gray8;
}

// A colour-mode page without any colour pixel is stored as 8-bit grey: the same pixel
// values in a third of the bytes to compress and to keep.
bool isGreyPage(const poppler::image& img) {
    const auto* base = reinterpret_cast<const std::uint8_t*>(img.const_data());
    const std::size_t stride = static_cast<std::size_t>(img.bytes_per_row());
    for (int y = 0; y < img.height(); ++y)
        if (!argbRowIsGrey(base + y * stride, static_cast<std::size_t>(img.width()))) return false;
    return true;
}

PageLayout layoutOf(ColourMode mode, const poppler::image& img) {
    switch (mode) {
    case ColourMode::Colour: return isGreyPage(img) ? PageLayout::Grey8 : PageLayout::Rgb24;
    case ColourMode::Grey: return PageLayout::Grey8;
    case ColourMode::BlackWhite: return PageLayout::Bilevel1;
    }
    return PageLayout::Rgb24;
}

void configure(poppler::page_renderer& r, const ConversionSettings& s) {
    r.set_image_format(renderFormat(s.mode));
    r.set_paper_color(0xffffffff);
    // Smoothed edges would only be thresholded away again on 1-bit pages.
    const bool smooth = s.antialias && s.mode != ColourMode::BlackWhite;
    r.set_render_hint(poppler::page_renderer::antialiasing, smooth);
    r.set_render_hint(poppler::page_renderer::text_antialiasing, smooth);
}

TiffWriter::RowSource rowSource(const poppler::image& img, ColourMode mode, PageLayout layout, int threshold) {
    const auto* base = reinterpret_cast<const std::uint8_t*>(img.const_data());
    const std::size_t stride = static_cast<std::size_t>(img.bytes_per_row());
    const std::size_t width = static_cast<std::size_t>(img.width());
    switch (mode) {
    case ColourMode::Colour:
        if (layout == PageLayout::Grey8)
            return [=](std::uint32_t y, std::uint8_t* row) { argbGreyRowToGrey(base + y * stride, row, width); };
        return [=](std::uint32_t y, std::uint8_t* row) { argbRowToRgb(base + y * stride, row, width); };
    case ColourMode::Grey:
        return [=](std::uint32_t y, std::uint8_t* row) { std::memcpy(row, base + y * stride, width); };
    case ColourMode::BlackWhite: {
        const auto t = static_cast<std::uint8_t>(threshold);
        return [=](std::uint32_t y, std::uint8_t* row) { greyRowToBilevel(base + y * stride, row, width, t); };
    }
    }
    return {};
}

int writePages(poppler::document& doc, const std::filesystem::path& out, const ConversionSettings& s) {
    poppler::page_renderer renderer;
    configure(renderer, s);
    TiffWriter tiff(out);
    const int count = doc.pages();
    for (int i = 0; i < count; ++i) {
        PagePtr page(doc.create_page(i));
        if (!page) throw Error(0, "page " + std::to_string(i + 1) + " of the PDF is missing", "conversion");
        const poppler::image img = renderer.render_page(page.get(), s.dpi, s.dpi);
        if (!img.is_valid() || img.width() < 1 || img.height() < 1)
            throw Error(0, "page " + std::to_string(i + 1) + " of the PDF cannot be rendered", "conversion");
        PageFormat f;
        f.width = static_cast<std::uint32_t>(img.width());
        f.height = static_cast<std::uint32_t>(img.height());
        f.layout = layoutOf(s.mode, img);
        f.dpi = s.dpi;
        f.compression = s.compression;
        f.pageNumber = i;
        f.pageCount = count;
        tiff.writePage(f, rowSource(img, s.mode, f.layout, s.threshold));
    }
    tiff.close();
    return count;
}

ConversionResult convertOpened(poppler::document& doc, const std::filesystem::path& tiff,
                               const ConversionSettings& s) {
    // A conversion killed mid-write (kill -9, power cut) left its hidden work file
    // beside the target, where nothing else would ever remove it.
    StagedFile::removeAbandoned(tiff);
    StagedFile staged(tiff);
    const int pages = writePages(doc, staged.tempPath(), s);
    staged.commit();
    return {ConversionStatus::Converted, pages};
}

}  // namespace

PdfConverter::PdfConverter(ConversionSettings settings) : settings_(std::move(settings)) {}

ConversionResult PdfConverter::convert(const std::filesystem::path& pdf, const std::filesystem::path& tiff) const {
    DocumentPtr doc = openPdf(pdf);
    if (!doc) return {};
    return convertOpened(*doc, tiff, settings_);
}

std::string PdfConverter::convertDocument(const std::string& pdfPath) const {
    DocumentPtr doc = openPdf(pdfPath);
    if (!doc) return {};
    std::string tiff = tiffPathFor(pdfPath);
    if (tiff.empty()) return {};
    convertOpened(*doc, tiff, settings_);
    return tiff;
}

std::string PdfConverter::tiffPathFor(const std::string& pdfPath) {
    // Only the file name is searched: a ".pdf" in a folder name must not send the TIFF
    // of every document of the archive to one and the same file outside its folder.
    const auto sep = pdfPath.find_last_of("/\\");
    const std::size_t nameStart = sep == std::string::npos ? 0 : sep + 1;
    std::string lower = pdfPath;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const auto dot = lower.find(".pdf", nameStart);
    if (dot == std::string::npos) return {};
    return pdfPath.substr(0, dot) + ".tif";
}

}  // namespace zq
