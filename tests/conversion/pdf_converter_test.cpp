#include "conversion/pdf_converter.h"

#include "common/error.h"
#include "pdf_fixture.h"
#include "process_run.h"
#include "temp_dir.h"
#include "tiff_probe.h"

#include <gtest/gtest.h>
#include <tiffio.h>

#include <fstream>
#include <thread>

namespace zq {
namespace {

namespace fs = std::filesystem;
using test::px;

ConversionSettings at(int dpi, ColourMode mode = ColourMode::Colour,
                      TiffCompression c = TiffCompression::Lzw) {
    ConversionSettings s;
    s.dpi = dpi;
    s.mode = mode;
    s.compression = c;
    return s;
}

// Every name in the folder, sorted: a leftover of a conversion shows up here.
std::vector<std::string> namesIn(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

void writeText(const fs::path& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
}


TEST(PdfConverter, WritesOneColourPagePerPdfPageAt200Dpi) {
    test::TempDir dir;
    const fs::path pdf = dir / "fattura.pdf";
    test::writeTextPdf(pdf, 3);
    const std::string before = test::readFile(pdf);

    const ConversionResult r = PdfConverter().convert(pdf, dir / "fattura.tif");

    ASSERT_EQ(r.status, ConversionStatus::Converted);
    EXPECT_EQ(r.pages, 3);
    const auto pages = test::readTiffPages(dir / "fattura.tif");
    ASSERT_EQ(pages.size(), 3u);
    for (std::size_t i = 0; i < pages.size(); ++i) {
        SCOPED_TRACE("page " + std::to_string(i + 1));
        EXPECT_EQ(pages[i].width, 1653u);   // 595 pt at 200 dpi, rounded
        EXPECT_EQ(pages[i].height, 2339u);  // 842 pt
        EXPECT_EQ(pages[i].samplesPerPixel, 3);
        EXPECT_EQ(pages[i].bitsPerSample, 8);
        EXPECT_EQ(pages[i].photometric, PHOTOMETRIC_RGB);
        EXPECT_EQ(pages[i].compression, COMPRESSION_LZW);
        EXPECT_FLOAT_EQ(pages[i].xResolution, 200.f);
        EXPECT_EQ(pages[i].pageNumber, i);
        EXPECT_EQ(pages[i].pageCount, 3);
    }
    EXPECT_EQ(test::readFile(pdf), before) << "the PDF stays as it was";
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"fattura.pdf", "fattura.tif"}));
}

TEST(PdfConverter, ColourModeKeepsColoursAndStoresPagesWithoutColourAsGrey) {
    test::TempDir dir;
    test::writeTextPdf(dir / "misto.pdf", std::vector<bool>{false, true, false});
    const int dpi = 72;
    ASSERT_EQ(PdfConverter(at(dpi)).convert(dir / "misto.pdf", dir / "misto.tif").pages, 3);

    const auto pages = test::readTiffPages(dir / "misto.tif");
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[0].samplesPerPixel, 1);
    EXPECT_EQ(pages[0].photometric, PHOTOMETRIC_MINISBLACK);
    EXPECT_EQ(pages[1].samplesPerPixel, 3);
    EXPECT_EQ(pages[1].photometric, PHOTOMETRIC_RGB);
    EXPECT_EQ(pages[2].samplesPerPixel, 1);
    const int sq = px(108, dpi);
    const test::TiffRaster grey(dir / "misto.tif", 0);
    EXPECT_NEAR(grey.r(sq, sq), 128, 1) << "the grey square keeps its level";
    EXPECT_EQ(grey.r(5, 5), 255);
    // The colour page keeps its colours at their places, on white paper.
    const test::TiffRaster colour(dir / "misto.tif", 1);
    EXPECT_EQ(colour.r(sq, sq), 255);
    EXPECT_EQ(colour.g(sq, sq), 0);
    EXPECT_EQ(colour.b(sq, sq), 0);
    const int bx = px(test::kPageWidthPt - 108, dpi), by = px(test::kPageHeightPt - 108, dpi);
    EXPECT_EQ(colour.r(bx, by) + colour.g(bx, by) + colour.b(bx, by), 0);
    EXPECT_EQ(colour.r(5, 5) + colour.g(5, 5) + colour.b(5, 5), 3 * 255);
}

struct ModeCase {
    const char* name;
    ColourMode mode;
    TiffCompression compression;
    std::uint16_t samples, bits, tiffCompression, photometric;
    int redAsGrey;  // what the red square becomes, read back as grey
};

TEST(PdfConverter, WritesEachColourModeAndCompression) {
    const ModeCase cases[] = {
        {"colour lzw", ColourMode::Colour, TiffCompression::Lzw, 3, 8, COMPRESSION_LZW, PHOTOMETRIC_RGB, -1},
        {"colour deflate", ColourMode::Colour, TiffCompression::Deflate, 3, 8, COMPRESSION_ADOBE_DEFLATE,
         PHOTOMETRIC_RGB, -1},
        {"grey lzw", ColourMode::Grey, TiffCompression::Lzw, 1, 8, COMPRESSION_LZW, PHOTOMETRIC_MINISBLACK, 76},
        {"grey deflate", ColourMode::Grey, TiffCompression::Deflate, 1, 8, COMPRESSION_ADOBE_DEFLATE,
         PHOTOMETRIC_MINISBLACK, 76},
        {"bw", ColourMode::BlackWhite, TiffCompression::Lzw, 1, 1, COMPRESSION_CCITTFAX4, PHOTOMETRIC_MINISWHITE, 0},
    };
    test::TempDir dir;
    test::writeTextPdf(dir / "m.pdf", 2);
    const int dpi = 72;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path out = dir / (std::string(c.name) + ".tif");
        ASSERT_EQ(PdfConverter(at(dpi, c.mode, c.compression)).convert(dir / "m.pdf", out).pages, 2);
        const auto pages = test::readTiffPages(out);
        ASSERT_EQ(pages.size(), 2u);
        for (const auto& p : pages) {
            EXPECT_EQ(p.samplesPerPixel, c.samples);
            EXPECT_EQ(p.bitsPerSample, c.bits);
            EXPECT_EQ(p.compression, c.tiffCompression);
            EXPECT_EQ(p.photometric, c.photometric);
            EXPECT_EQ(p.width, 595u);
        }
        const test::TiffRaster page(out, 1);
        const int red = px(108, dpi);
        if (c.redAsGrey >= 0) {
            EXPECT_NEAR(page.r(red, red), c.redAsGrey, 2);
            EXPECT_EQ(page.r(red, red), page.b(red, red)) << "grey pages have no colour";
        }
        EXPECT_EQ(page.r(5, 5), 255) << "paper stays white";
        EXPECT_EQ(page.r(px(test::kPageWidthPt - 108, dpi), px(test::kPageHeightPt - 108, dpi)), 0);
    }
}

TEST(PdfConverter, BlackAndWhiteSplitsGreyAtTheThreshold) {
    test::TempDir dir;
    test::writeImagePdf(dir / "scan.pdf", 1, 256, 16);
    // The ramp runs from black at the left edge to white at the right edge: the column
    // where pixels turn white moves with the threshold.
    auto firstWhiteColumn = [&](int threshold) {
        ConversionSettings s = at(72, ColourMode::BlackWhite);
        s.threshold = threshold;
        const fs::path out = dir / ("t" + std::to_string(threshold) + ".tif");
        EXPECT_EQ(PdfConverter(s).convert(dir / "scan.pdf", out).pages, 1);
        const test::TiffRaster page(out, 0);
        const std::uint32_t y = page.height() / 2;
        std::uint32_t x = 0;
        while (x < page.width() && page.r(x, y) == 0) ++x;
        for (std::uint32_t k = x; k < page.width(); ++k) EXPECT_EQ(page.r(k, y), 255) << "column " << k;
        return static_cast<double>(x) / page.width();
    };
    EXPECT_NEAR(firstWhiteColumn(128), 0.5, 0.03);
    EXPECT_NEAR(firstWhiteColumn(64), 0.25, 0.03);
    EXPECT_NEAR(firstWhiteColumn(192), 0.75, 0.03);
}

// A scanned sheet (an image larger than the page raster) is written straight into the
// raster; it must come out pixel for pixel as the rasteriser's general path draws it.
TEST(PdfConverter, ScannedPagesComeOutAsTheRasteriserDrawsThem) {
    test::TempDir dir;
    const int dpi = 30;  // a 248 x 351 raster for a 372 x 527 image: 1.5 image pixels per page pixel
    for (const bool grey : {false, true}) {
        for (const ColourMode mode : {ColourMode::Colour, ColourMode::Grey, ColourMode::BlackWhite}) {
            SCOPED_TRACE(std::string(grey ? "grey" : "RGB") + " image, mode " +
                         std::to_string(static_cast<int>(mode)));
            test::writePatternPdf(dir / "direct.pdf", 372, 527, /*throughClipPath=*/false, grey);
            test::writePatternPdf(dir / "general.pdf", 372, 527, /*throughClipPath=*/true, grey);
            const PdfConverter conv(at(dpi, mode));
            ASSERT_EQ(conv.convert(dir / "direct.pdf", dir / "direct.tif").pages, 1);
            ASSERT_EQ(conv.convert(dir / "general.pdf", dir / "general.tif").pages, 1);
            EXPECT_EQ(test::readTiffPages(dir / "direct.tif")[0].bitsPerSample,
                      test::readTiffPages(dir / "general.tif")[0].bitsPerSample);
            const test::TiffRaster direct(dir / "direct.tif", 0), general(dir / "general.tif", 0);
            ASSERT_EQ(direct.width(), general.width());
            ASSERT_EQ(direct.height(), general.height());
            long differing = 0, black = 0;
            for (std::uint32_t y = 0; y < direct.height(); ++y)
                for (std::uint32_t x = 0; x < direct.width(); ++x) {
                    differing += direct.r(x, y) != general.r(x, y) || direct.g(x, y) != general.g(x, y) ||
                                 direct.b(x, y) != general.b(x, y);
                    black += direct.r(x, y) == 0;
                }
            EXPECT_EQ(differing, 0);
            if (mode == ColourMode::BlackWhite) {
                EXPECT_GT(black, direct.width() * direct.height() / 4) << "split, not blank";
            }
        }
    }
}

TEST(PdfConverter, ReportsCouldNotOpenAndWritesNothing) {
    test::TempDir dir;
    writeText(dir / "lettera.pdf", "Gentile cliente,\nnon sono un PDF.\n");
    writeText(dir / "vuoto.pdf", "");
    test::writeTextPdf(dir / "intero.pdf", 2);
    writeText(dir / "troncato.pdf", test::readFile(dir / "intero.pdf").substr(0, 12));
    fs::remove(dir / "intero.pdf");

    for (const char* name : {"lettera.pdf", "vuoto.pdf", "troncato.pdf", "manca.pdf"}) {
        SCOPED_TRACE(name);
        const ConversionResult r = PdfConverter(at(72)).convert(dir / name, dir / "out.tif");
        EXPECT_EQ(r.status, ConversionStatus::CouldNotOpen);
        EXPECT_EQ(r.pages, 0);
        EXPECT_EQ(PdfConverter(at(72)).convertDocument((dir / name).string()), "");
    }
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"lettera.pdf", "troncato.pdf", "vuoto.pdf"}));
}

TEST(PdfConverter, AFailedWriteLeavesNoFile) {
    test::TempDir dir;
    test::writeTextPdf(dir / "a.pdf", 1);
    EXPECT_THROW(PdfConverter(at(72)).convert(dir / "a.pdf", dir / "missing-folder" / "a.tif"), Error);
    EXPECT_FALSE(fs::exists(dir / "missing-folder"));
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"a.pdf"}));
}

TEST(PdfConverter, ConvertDocumentWritesBesideThePdfReplacingAnOlderTiff) {
    test::TempDir dir;
    fs::create_directories(dir / "00000000");
    test::writeTextPdf(dir / "00000000" / "Doc.Pdf.bak", 2);
    writeText(dir / "00000000" / "Doc.tif", "old content");
    const std::string pdf = (dir / "00000000" / "Doc.Pdf.bak").string();
    const std::string tif = PdfConverter(at(72)).convertDocument(pdf);
    EXPECT_EQ(tif, (dir / "00000000" / "Doc.tif").string());
    EXPECT_EQ(test::readTiffPages(tif).size(), 2u);
    EXPECT_TRUE(fs::exists(pdf));
}

TEST(PdfConverter, TiffPathCutsTheFileNameAtItsFirstPdf) {
    const struct {
        const char* pdf;
        const char* tif;
    } cases[] = {
        {R"(C:\ARCHIVI\FATT\00000001\f001.pdf)", R"(C:\ARCHIVI\FATT\00000001\f001.tif)"},
        {"/dati/fatt/00000002/F002.PDF", "/dati/fatt/00000002/F002.tif"},
        {"/dati/fatt/00000002/F002.pdf.bak", "/dati/fatt/00000002/F002.tif"},
        {"/dati/fatt/00000002/A.Pdf.pdf", "/dati/fatt/00000002/A.tif"},
        {"/dati/vecchi.pdf/00000000/x.pdf", "/dati/vecchi.pdf/00000000/x.tif"},
        {R"(C:\vecchi.pdf\00000000\x.jpg)", ""},
        {"/dati/vecchi.pdf/", ""},
        {"scansione", ""},
        {"x.pdf", "x.tif"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pdf);
        EXPECT_EQ(PdfConverter::tiffPathFor(c.pdf), c.tif);
    }
}

TEST(PdfConverter, ConvertsSeveralDocumentsAtOnce) {
    test::TempDir dir;
    const int n = 6;
    for (int i = 0; i < n; ++i) test::writeTextPdf(dir / ("d" + std::to_string(i) + ".pdf"), i + 1);
    const PdfConverter conv(at(72, ColourMode::Grey));
    std::vector<ConversionResult> results(n);
    std::vector<std::thread> threads;
    for (int i = 0; i < n; ++i)
        threads.emplace_back([&, i] {
            const std::string base = (dir / ("d" + std::to_string(i))).string();
            results[i] = conv.convert(base + ".pdf", base + ".tif");
        });
    for (auto& t : threads) t.join();
    for (int i = 0; i < n; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(results[i].pages, i + 1);
        EXPECT_EQ(test::readTiffPages(dir / ("d" + std::to_string(i) + ".tif")).size(), std::size_t(i + 1));
    }
}

}  // namespace
}  // namespace zq
