// Converts a corpus of PDFs with the conversion engine, several files at once, and
// prints one line of figures:
//
//   zq_conversion_bench --mode colour|grey|bw [--compression lzw|deflate] [--dpi 200]
//                       [--threads N] [--antialias] --out DIR file.pdf...
//   output: "files=20 pages=163 seconds=12.34 pages_per_second=13.2 bytes=123456 cpu=20.1"
//   (cpu: user + system seconds of all threads)
//
//   zq_conversion_bench --count-pages file.tif...
//   output: the total number of TIFF pages (to check another converter's output)
//
//   zq_conversion_bench --black-pixels file.tif...
//   output: one line per 1-bit page, "black=N pixels=M file page" (to compare two outputs)
#include "conversion/conversion_pool.h"
#include "conversion/pdf_converter.h"

#include <sys/resource.h>
#include <tiffio.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

[[noreturn]] void usage() {
    std::fprintf(stderr, "usage: zq_conversion_bench --mode colour|grey|bw [--compression lzw|deflate] "
                         "[--dpi N] [--threads N] [--antialias] --out DIR file.pdf...\n"
                         "       zq_conversion_bench --count-pages file.tif...\n");
    std::exit(2);
}

int countPages(int argc, char** argv) {
    long pages = 0;
    for (int i = 2; i < argc; ++i) {
        TIFF* t = TIFFOpen(argv[i], "r");
        if (!t) {
            std::fprintf(stderr, "not a TIFF: %s\n", argv[i]);
            return 1;
        }
        pages += TIFFNumberOfDirectories(t);
        TIFFClose(t);
    }
    std::printf("%ld\n", pages);
    return 0;
}

int blackPixels(int argc, char** argv) {
    for (int i = 2; i < argc; ++i) {
        TIFF* t = TIFFOpen(argv[i], "r");
        if (!t) {
            std::fprintf(stderr, "not a TIFF: %s\n", argv[i]);
            return 1;
        }
        int page = 0;
        do {
            long black = 0;
            std::uint32_t w = 0, h = 0;
            std::uint16_t bits = 0, photometric = 0;
            TIFFGetField(t, TIFFTAG_IMAGEWIDTH, &w);
            TIFFGetField(t, TIFFTAG_IMAGELENGTH, &h);
            TIFFGetFieldDefaulted(t, TIFFTAG_BITSPERSAMPLE, &bits);
            TIFFGetField(t, TIFFTAG_PHOTOMETRIC, &photometric);
            if (bits != 1) continue;
            std::vector<std::uint8_t> row(static_cast<std::size_t>(TIFFScanlineSize(t)));
            for (std::uint32_t y = 0; y < h; ++y) {
                if (TIFFReadScanline(t, row.data(), y) < 0) break;
                for (std::uint32_t x = 0; x < w; ++x) {
                    const bool one = (row[x / 8] >> (7 - x % 8)) & 1;
                    black += one == (photometric == PHOTOMETRIC_MINISWHITE);
                }
            }
            std::printf("black=%ld pixels=%ld %s %d\n", black, static_cast<long>(w) * h, argv[i], ++page);
        } while (TIFFReadDirectory(t));
        TIFFClose(t);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--count-pages") return countPages(argc, argv);
    if (argc > 1 && std::string(argv[1]) == "--black-pixels") return blackPixels(argc, argv);
    zq::ConversionSettings s;
    fs::path out;
    std::vector<fs::path> files;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto next = [&]() -> std::string { if (++i >= argc) usage(); return argv[i]; };
        if (a == "--mode") {
            const std::string m = next();
            s.mode = m == "bw" ? zq::ColourMode::BlackWhite : m == "grey" ? zq::ColourMode::Grey : zq::ColourMode::Colour;
        } else if (a == "--compression") {
            s.compression = next() == "deflate" ? zq::TiffCompression::Deflate : zq::TiffCompression::Lzw;
        } else if (a == "--dpi") {
            s.dpi = std::atoi(next().c_str());
        } else if (a == "--threads") {
            s.threads = static_cast<unsigned>(std::atoi(next().c_str()));
        } else if (a == "--antialias") {
            s.antialias = true;
        } else if (a == "--out") {
            out = next();
        } else {
            files.emplace_back(a);
        }
    }
    if (out.empty() || files.empty()) usage();
    fs::create_directories(out);

    const zq::PdfConverter conv(s);
    const auto start = std::chrono::steady_clock::now();
    std::vector<zq::ConversionPool::Ticket> tickets;
    {
        zq::ConversionPool pool(s.effectiveThreads());
        for (const auto& f : files) {
            const fs::path target = out / f.filename().replace_extension(".tif");
            tickets.push_back(pool.submit([&conv, f, target] {
                const auto r = conv.convert(f, target);
                return std::to_string(r.status == zq::ConversionStatus::Converted ? r.pages : -1);
            }));
        }
        for (auto& t : tickets) t.result.wait();
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    long pages = 0;
    std::uintmax_t bytes = 0;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const long n = std::stol(tickets[i].result.get());
        if (n < 0) {
            std::fprintf(stderr, "could not open %s\n", files[i].c_str());
            return 1;
        }
        pages += n;
        bytes += fs::file_size(out / files[i].filename().replace_extension(".tif"));
    }
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    const double cpu = ru.ru_utime.tv_sec + ru.ru_utime.tv_usec / 1e6 + ru.ru_stime.tv_sec + ru.ru_stime.tv_usec / 1e6;
    std::printf("files=%zu pages=%ld seconds=%.3f pages_per_second=%.2f bytes=%ju cpu=%.3f\n", files.size(), pages,
                seconds, pages / seconds, bytes, cpu);
    return 0;
}
