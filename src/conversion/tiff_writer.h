#pragma once
// A multi-page TIFF file being written, one page (image file directory) after another.
// Owns the libtiff handle; libtiff's diagnostics for this file are collected here rather
// than printed, so that parallel conversions do not share an error handler.

#include "conversion/conversion_settings.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

typedef struct tiff TIFF;

namespace zq {

/// Pixel layout of one page.
enum class PageLayout { Rgb24, Grey8, Bilevel1 };

struct PageFormat {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    PageLayout layout = PageLayout::Rgb24;
    int dpi = 200;
    TiffCompression compression = TiffCompression::Lzw;  ///< ignored for Bilevel1 (Group 4)
    int pageNumber = 0;                                   ///< 0-based
    int pageCount = 1;

    /// Bytes of one packed row in this layout.
    std::size_t rowBytes() const;
};

class TiffWriter {
public:
    /// Fills `row` (rowBytes() bytes) with image row `y`, top to bottom.
    using RowSource = std::function<void(std::uint32_t y, std::uint8_t* row)>;

    /// Creates (or truncates) the file. Throws zq::Error.
    explicit TiffWriter(const std::filesystem::path& path);
    ~TiffWriter();
    TiffWriter(const TiffWriter&) = delete;
    TiffWriter& operator=(const TiffWriter&) = delete;

    /// Appends one page whose rows come from `rows`. Throws zq::Error.
    void writePage(const PageFormat& format, const RowSource& rows);
    /// Writes the last directory and closes the file. Throws zq::Error.
    void close();

private:
    struct Closer {
        void operator()(TIFF* t) const noexcept;
    };
    [[noreturn]] void fail(const std::string& what) const;
    void setTags(const PageFormat& f, std::uint32_t rowsPerStrip);
    static int onError(TIFF*, void* self, const char* module, const char* fmt, va_list ap);

    std::filesystem::path path_;
    std::string lastError_;
    std::unique_ptr<TIFF, Closer> tif_;
};

}  // namespace zq
