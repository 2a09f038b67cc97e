#include "tiff_probe.h"

#include <tiffio.h>

#include <memory>
#include <stdexcept>

namespace zq::test {
namespace {

struct TiffCloser {
    void operator()(TIFF* t) const noexcept { TIFFClose(t); }
};
using TiffPtr = std::unique_ptr<TIFF, TiffCloser>;

TiffPtr openTiff(const std::filesystem::path& path) {
    TiffPtr t(TIFFOpen(path.c_str(), "r"));
    if (!t) throw std::runtime_error("libtiff cannot open " + path.string());
    return t;
}

}  // namespace

std::vector<TiffPageInfo> readTiffPages(const std::filesystem::path& path) {
    TiffPtr t = openTiff(path);
    std::vector<TiffPageInfo> pages;
    do {
        TiffPageInfo p;
        TIFFGetField(t.get(), TIFFTAG_IMAGEWIDTH, &p.width);
        TIFFGetField(t.get(), TIFFTAG_IMAGELENGTH, &p.height);
        TIFFGetFieldDefaulted(t.get(), TIFFTAG_BITSPERSAMPLE, &p.bitsPerSample);
        TIFFGetFieldDefaulted(t.get(), TIFFTAG_SAMPLESPERPIXEL, &p.samplesPerPixel);
        TIFFGetFieldDefaulted(t.get(), TIFFTAG_COMPRESSION, &p.compression);
        TIFFGetField(t.get(), TIFFTAG_PHOTOMETRIC, &p.photometric);
        TIFFGetField(t.get(), TIFFTAG_XRESOLUTION, &p.xResolution);
        TIFFGetField(t.get(), TIFFTAG_YRESOLUTION, &p.yResolution);
        TIFFGetField(t.get(), TIFFTAG_PAGENUMBER, &p.pageNumber, &p.pageCount);
        pages.push_back(p);
    } while (TIFFReadDirectory(t.get()));
    return pages;
}

TiffRaster::TiffRaster(const std::filesystem::path& path, int page) {
    TiffPtr t = openTiff(path);
    if (!TIFFSetDirectory(t.get(), static_cast<tdir_t>(page)))
        throw std::runtime_error("no page " + std::to_string(page) + " in " + path.string());
    TIFFGetField(t.get(), TIFFTAG_IMAGEWIDTH, &w_);
    TIFFGetField(t.get(), TIFFTAG_IMAGELENGTH, &h_);
    px_.resize(std::size_t{w_} * h_);
    if (!TIFFReadRGBAImageOriented(t.get(), w_, h_, px_.data(), ORIENTATION_TOPLEFT, 0))
        throw std::runtime_error("libtiff cannot decode page " + std::to_string(page) + " of " + path.string());
}

}  // namespace zq::test
