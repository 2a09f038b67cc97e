#include "conversion/pdf_converter.h"

#include "common/error.h"
#include "conversion/pdf_pages.h"
#include "conversion/pixel_rows.h"
#include "conversion/staged_file.h"
#include "conversion/tiff_writer.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>

namespace zq {
namespace {

using PagesPtr = std::unique_ptr<PdfPages>;

// A colour-mode page without any colour pixel is stored as 8-bit grey: the same pixel
// values in a third of the bytes to compress and to keep.
bool isGreyPage(const PageView& page) {
    for (std::uint32_t y = 0; y < page.height; ++y)
        if (!rgbRowIsGrey(page.row(y), page.width)) return false;
    return true;
}

PageLayout storedLayout(const PageView& page) {
    if (page.layout == PageLayout::Rgb24 && isGreyPage(page)) return PageLayout::Grey8;
    return page.layout;
}

TiffWriter::RowSource rowSource(const PageView& page, PageLayout stored) {
    const std::size_t width = page.width;
    if (stored == PageLayout::Bilevel1) {
        // The rasteriser pads each row's last byte with white (1) bits: black-ones keep
        // the padding white.
        const std::size_t bytes = (width + 7) / 8;
        return [=](std::uint32_t y, std::uint8_t* row) { whiteOnesToBlackOnes(page.row(y), row, bytes); };
    }
    if (page.layout == PageLayout::Rgb24 && stored == PageLayout::Grey8)
        return [=](std::uint32_t y, std::uint8_t* row) { rgbGreyRowToGrey(page.row(y), row, width); };
    const std::size_t bytes = page.layout == PageLayout::Rgb24 ? 3 * width : width;
    return [=](std::uint32_t y, std::uint8_t* row) { std::memcpy(row, page.row(y), bytes); };
}

int writePages(PdfPages& pages, const std::filesystem::path& out, const ConversionSettings& s) {
    TiffWriter tiff(out);
    const int count = pages.count();
    for (int i = 0; i < count; ++i) {
        const PageView page = pages.render(i);
        PageFormat f;
        f.width = page.width;
        f.height = page.height;
        f.layout = storedLayout(page);
        f.dpi = s.dpi;
        f.compression = s.compression;
        f.pageNumber = i;
        f.pageCount = count;
        tiff.writePage(f, rowSource(page, f.layout));
    }
    tiff.close();
    return count;
}

ConversionResult convertOpened(PdfPages& pages, const std::filesystem::path& tiff, const ConversionSettings& s) {
    // A conversion killed mid-write (kill -9, power cut) left its hidden work file
    // beside the target, where nothing else would ever remove it.
    StagedFile::removeAbandoned(tiff);
    StagedFile staged(tiff);
    const int written = writePages(pages, staged.tempPath(), s);
    staged.commit();
    return {ConversionStatus::Converted, written};
}

}  // namespace

PdfConverter::PdfConverter(ConversionSettings settings) : settings_(std::move(settings)) {}

ConversionResult PdfConverter::convert(const std::filesystem::path& pdf, const std::filesystem::path& tiff) const {
    PagesPtr pages = PdfPages::open(pdf, settings_);
    if (!pages) return {};
    return convertOpened(*pages, tiff, settings_);
}

std::string PdfConverter::convertDocument(const std::string& pdfPath) const {
    PagesPtr pages = PdfPages::open(pdfPath, settings_);
    if (!pages) return {};
    std::string tiff = tiffPathFor(pdfPath);
    if (tiff.empty()) return {};
    convertOpened(*pages, tiff, settings_);
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
