#include "conversion/tiff_writer.h"

#include "common/error.h"

#include <tiffio.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <vector>

namespace zq {
namespace {

// LZW and Deflate restart their dictionaries at every strip: strips of about 256 KB
// keep the ratio close to one strip per page while readers can still load pages
// piecewise.
constexpr std::size_t kStripBytes = 256 * 1024;

// Deflate level 3: nearly the size of the default level 6 at about half its time.
constexpr int kDeflateLevel = 3;

struct OptionsDeleter {
    void operator()(TIFFOpenOptions* o) const noexcept { TIFFOpenOptionsFree(o); }
};

}  // namespace

std::size_t PageFormat::rowBytes() const {
    switch (layout) {
    case PageLayout::Rgb24: return std::size_t{width} * 3;
    case PageLayout::Grey8: return width;
    case PageLayout::Bilevel1: return (std::size_t{width} + 7) / 8;
    }
    return 0;
}

void TiffWriter::Closer::operator()(TIFF* t) const noexcept { TIFFClose(t); }

int TiffWriter::onError(TIFF*, void* self, const char* module, const char* fmt, va_list ap) {
    char text[512];
    std::vsnprintf(text, sizeof text, fmt, ap);
    auto* w = static_cast<TiffWriter*>(self);
    w->lastError_ = std::string(module ? module : "libtiff") + ": " + text;
    return 1;  // handled: keep it off the process-wide handler
}

TiffWriter::TiffWriter(const std::filesystem::path& path) : path_(path) {
    std::unique_ptr<TIFFOpenOptions, OptionsDeleter> opts(TIFFOpenOptionsAlloc());
    TIFFOpenOptionsSetErrorHandlerExtR(opts.get(), &TiffWriter::onError, this);
    TIFFOpenOptionsSetWarningHandlerExtR(opts.get(), &TiffWriter::onError, this);
    tif_.reset(TIFFOpenExt(path.c_str(), "w", opts.get()));
    if (!tif_) fail("cannot create");
}

TiffWriter::~TiffWriter() = default;

void TiffWriter::fail(const std::string& what) const {
    throw Error(0, "TIFF " + path_.string() + ": " + what + (lastError_.empty() ? "" : " (" + lastError_ + ")"),
                "conversion");
}

void TiffWriter::setTags(const PageFormat& f, std::uint32_t rowsPerStrip) {
    TIFF* t = tif_.get();
    TIFFSetField(t, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE);
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, f.width);
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, f.height);
    TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(t, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
    TIFFSetField(t, TIFFTAG_XRESOLUTION, static_cast<float>(f.dpi));
    TIFFSetField(t, TIFFTAG_YRESOLUTION, static_cast<float>(f.dpi));
    TIFFSetField(t, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    TIFFSetField(t, TIFFTAG_PAGENUMBER, static_cast<std::uint16_t>(f.pageNumber),
                 static_cast<std::uint16_t>(f.pageCount));
    TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, rowsPerStrip);
    if (f.layout == PageLayout::Bilevel1) {
        TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 1);
        TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 1);
        TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
        TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX4);
        return;
    }
    const bool rgb = f.layout == PageLayout::Rgb24;
    TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, rgb ? 3 : 1);
    TIFFSetField(t, TIFFTAG_PHOTOMETRIC, rgb ? PHOTOMETRIC_RGB : PHOTOMETRIC_MINISBLACK);
    // No horizontal predictor: measured on rendered document pages it makes both coders
    // slower and the files larger (sharp text edges become two differences instead of
    // one step), and on scanned pages it gains nothing.
    if (f.compression == TiffCompression::Deflate) {
        TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_ADOBE_DEFLATE);
        TIFFSetField(t, TIFFTAG_ZIPQUALITY, kDeflateLevel);
    } else {
        TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
    }
}

void TiffWriter::writePage(const PageFormat& f, const RowSource& rows) {
    if (!tif_) fail("already closed");
    if (f.width == 0 || f.height == 0) fail("empty page");
    const std::size_t rowBytes = f.rowBytes();
    // Group 4 codes each row against the previous one: a single strip per page costs
    // nothing and is what fax-oriented readers expect.
    const std::uint32_t rowsPerStrip =
        f.layout == PageLayout::Bilevel1
            ? f.height
            : std::clamp<std::uint32_t>(static_cast<std::uint32_t>(kStripBytes / rowBytes), 1, f.height);
    setTags(f, rowsPerStrip);

    std::vector<std::uint8_t> strip(rowBytes * rowsPerStrip);
    tstrip_t stripNo = 0;
    for (std::uint32_t y0 = 0; y0 < f.height; y0 += rowsPerStrip, ++stripNo) {
        const std::uint32_t n = std::min(rowsPerStrip, f.height - y0);
        for (std::uint32_t i = 0; i < n; ++i) rows(y0 + i, strip.data() + i * rowBytes);
        if (TIFFWriteEncodedStrip(tif_.get(), stripNo, strip.data(), static_cast<tmsize_t>(n * rowBytes)) < 0)
            fail("cannot write page " + std::to_string(f.pageNumber + 1));
    }
    if (!TIFFWriteDirectory(tif_.get())) fail("cannot finish page " + std::to_string(f.pageNumber + 1));
}

void TiffWriter::close() {
    if (!tif_) return;
    const bool flushed = TIFFFlush(tif_.get()) != 0;
    tif_.reset();
    if (!flushed) fail("cannot flush");
}

}  // namespace zq
