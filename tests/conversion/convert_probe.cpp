// Converts one PDF to TIFF and exits: usage convert_probe <pdf> <tif> <dpi>.
// Exit status 0 converted, 2 could not open, 1 error.
#include "conversion/pdf_converter.h"

#include <cstdio>
#include <cstdlib>
#include <exception>

int main(int argc, char** argv) {
    if (argc != 4) return 1;
    zq::ConversionSettings s;
    s.dpi = std::atoi(argv[3]);
    try {
        const auto r = zq::PdfConverter(s).convert(argv[1], argv[2]);
        return r.status == zq::ConversionStatus::Converted ? 0 : 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
