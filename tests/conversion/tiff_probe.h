#pragma once
// Reads back the TIFF files the converter writes, with libtiff, for the tests' checks.

#include <cstdint>
#include <filesystem>
#include <vector>

namespace zq::test {

struct TiffPageInfo {
    std::uint32_t width = 0, height = 0;
    std::uint16_t bitsPerSample = 0, samplesPerPixel = 0, compression = 0, photometric = 0;
    float xResolution = 0, yResolution = 0;
    std::uint16_t pageNumber = 0, pageCount = 0;
};

/// Every page of the file; throws std::runtime_error when libtiff cannot open it.
std::vector<TiffPageInfo> readTiffPages(const std::filesystem::path& path);

/// One page decoded to RGBA (top-left origin), for pixel checks.
class TiffRaster {
public:
    TiffRaster(const std::filesystem::path& path, int page);
    std::uint32_t width() const { return w_; }
    std::uint32_t height() const { return h_; }
    std::uint8_t r(std::uint32_t x, std::uint32_t y) const { return at(x, y) & 0xff; }
    std::uint8_t g(std::uint32_t x, std::uint32_t y) const { return (at(x, y) >> 8) & 0xff; }
    std::uint8_t b(std::uint32_t x, std::uint32_t y) const { return (at(x, y) >> 16) & 0xff; }

private:
    std::uint32_t at(std::uint32_t x, std::uint32_t y) const { return px_.at(std::size_t{y} * w_ + x); }
    std::uint32_t w_ = 0, h_ = 0;
    std::vector<std::uint32_t> px_;
};

}  // namespace zq::test
