#pragma once
// How PDF documents become TIFF images: resolution, colour depth and compression.
//
// An installation may override the defaults with a key=value file named
// "zel_QUIRNOVA.conversion" in the program folder (one setting per line, '#' starts a
// comment, blanks around keys and values are ignored, unknown keys are reported):
//
//     # office scanner archive: small black-and-white pages
//     dpi=200              # 50 .. 1200
//     mode=colour          # colour | grey (8-bit) | bw (1-bit, CCITT Group 4)
//     compression=lzw      # lzw | deflate   (colour and grey; bw is always Group 4)
//     threshold=128        # bw only: grey levels below it become black (1 .. 255)
//     antialias=no         # yes | no: smooth text and line edges (colour and grey)
//     threads=0            # files converted at once by ConvTable; 0 = one per core
//
// In colour mode a page with colour is stored as 24-bit RGB and a page without any
// colour pixel as 8-bit grey (the same pixel values, a third of the size).
//
// Why these defaults: LZW is the lossless coder every TIFF reader knows, Deflate (level
// 3) measured about 40% faster and 10-15% smaller on the office's kind of pages and is
// there for installations whose viewers read it. Smoothing is off as in Ghostscript's
// TIFF output: it makes rendered text pages about three times larger.
//
// A missing file gives the defaults; a malformed line throws zq::Error naming the line.

#include <filesystem>
#include <string>

namespace zq {

/// Colour depth of the pages written.
enum class ColourMode { Colour, Grey, BlackWhite };
/// Lossless compression of colour and grey pages (black-and-white pages use Group 4).
enum class TiffCompression { Lzw, Deflate };

struct ConversionSettings {
    int dpi = 200;                                    ///< rendering resolution, both axes
    ColourMode mode = ColourMode::Colour;
    TiffCompression compression = TiffCompression::Lzw;
    int threshold = 128;                              ///< grey level splitting black from white
    bool antialias = false;                           ///< smooth edges (ignored for bw)
    unsigned threads = 0;                             ///< parallel files; 0 = hardware threads

    /// The number of files ConvTable converts at once (threads, or the core count).
    unsigned effectiveThreads() const;
};

/// The settings file's name, looked for in the program folder.
inline constexpr const char* kConversionSettingsFile = "zel_QUIRNOVA.conversion";

/// Parses the key=value text of a settings file over the defaults; throws zq::Error.
ConversionSettings parseConversionSettings(const std::string& text);
/// Reads "<programFolder>/zel_QUIRNOVA.conversion"; the defaults when it does not exist.
ConversionSettings loadConversionSettings(const std::filesystem::path& programFolder);

}  // namespace zq
