#include "conversion/conversion_settings.h"

#include "common/error.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <thread>

namespace zq {
namespace {

TEST(ConversionSettings, ReadsEveryKeyWithCommentsBlanksAndCrLf) {
    const ConversionSettings s = parseConversionSettings(
        "# archivio scansioni\r\n"
        "  DPI = 300 \r\n"
        "mode=bw   # fax\r\n"
        "\r\n"
        "compression=Deflate\r\n"
        "threshold=100\r\n"
        "antialias=yes\r\n"
        "threads=3\r\n");
    EXPECT_EQ(s.dpi, 300);
    EXPECT_EQ(s.mode, ColourMode::BlackWhite);
    EXPECT_EQ(s.compression, TiffCompression::Deflate);
    EXPECT_EQ(s.threshold, 100);
    EXPECT_TRUE(s.antialias);
    EXPECT_EQ(s.effectiveThreads(), 3u);
    EXPECT_EQ(parseConversionSettings("mode=grey").mode, ColourMode::Grey);
    EXPECT_EQ(parseConversionSettings("mode=gray").mode, ColourMode::Grey);
}

TEST(ConversionSettings, RejectsMalformedLinesNamingTheLine) {
    const struct {
        const char* text;
        const char* fragment;
    } cases[] = {
        {"dpi=200\ncolori", "line 2"},
        {"dpi=20", "line 1"},
        {"dpi=2000", "50 to 1200"},
        {"dpi=2OO", "not a number"},
        {"mode=seppia", "mode"},
        {"compression=jpeg", "compression"},
        {"threshold=0", "1 to 255"},
        {"antialias=forse", "yes nor no"},
        {"risoluzione=200", "unknown setting 'risoluzione'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            parseConversionSettings(c.text);
            ADD_FAILURE() << "accepted";
        } catch (const Error& e) {
            EXPECT_NE(e.description().find(c.fragment), std::string::npos) << e.description();
        }
    }
}

TEST(ConversionSettings, WithoutAFileTheDefaultsAre200DpiColourLzwWithoutSmoothing) {
    test::TempDir dir;
    const ConversionSettings d = loadConversionSettings(dir.path());
    EXPECT_EQ(d.dpi, 200);
    EXPECT_EQ(d.mode, ColourMode::Colour);
    EXPECT_EQ(d.compression, TiffCompression::Lzw);
    EXPECT_EQ(d.threshold, 128);
    EXPECT_FALSE(d.antialias);
    EXPECT_EQ(d.effectiveThreads(), std::max(1u, std::thread::hardware_concurrency()));

    std::ofstream(dir / kConversionSettingsFile) << "dpi=150\nmode=grey\n";
    const ConversionSettings s = loadConversionSettings(dir.path());
    EXPECT_EQ(s.dpi, 150);
    EXPECT_EQ(s.mode, ColourMode::Grey);
}

}  // namespace
}  // namespace zq
