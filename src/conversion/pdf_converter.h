#pragma once
// The PDF-to-TIFF engine: renders every page of a PDF (PdfPages) and writes them, in
// order, as the pages of one TIFF file. The PDF is only read. The TIFF appears under its
// final name complete or not at all (it is written beside it and renamed when done); the
// work files a killed conversion left beside a target go when that target is next written.
//
// Thread safety: one PdfConverter may be used by several threads at once, each call on
// its own document; nothing is shared between calls but the immutable settings.

#include "conversion/conversion_settings.h"

#include <filesystem>
#include <string>

namespace zq {

enum class ConversionStatus {
    Converted,     ///< the TIFF was written
    CouldNotOpen,  ///< not a readable PDF (missing, damaged, encrypted, no pages): nothing written
};

struct ConversionResult {
    ConversionStatus status = ConversionStatus::CouldNotOpen;
    int pages = 0;  ///< pages written
};

class PdfConverter {
public:
    explicit PdfConverter(ConversionSettings settings = {});

    /// Converts `pdf` into the multi-page TIFF `tiff` (replacing an older one). A PDF
    /// that cannot be opened is a result, not an exception; a failure while rendering or
    /// writing throws zq::Error and leaves no file at `tiff`.
    ConversionResult convert(const std::filesystem::path& pdf, const std::filesystem::path& tiff) const;

    /// The archive's way of converting one document: opens the PDF at `pdfPath` and
    /// writes it beside itself under tiffPathFor(pdfPath). Returns that path, or ""
    /// when the PDF could not be opened or its name holds no ".pdf". Throws zq::Error.
    std::string convertDocument(const std::string& pdfPath) const;

    /// The TIFF path of a document: the path up to the first ".pdf" (any case) of its
    /// file name, plus ".tif"; "" when the file name holds no ".pdf".
    static std::string tiffPathFor(const std::string& pdfPath);

    const ConversionSettings& settings() const { return settings_; }

private:
    ConversionSettings settings_;
};

}  // namespace zq
