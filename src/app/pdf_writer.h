#pragma once
// A minimal PDF 1.4 writer for the demo installation's documents: A4 pages of plain
// text lines in Helvetica, with a correct cross-reference table so that every PDF
// reader (and the TIFF conversion) opens them.

#include <filesystem>
#include <string>
#include <vector>

namespace zq {

class PdfWriter {
public:
    /// One page: its lines of text, top to bottom (UTF-8; characters outside
    /// Windows-1252 print as "?").
    using Page = std::vector<std::string>;

    /// The bytes of a document with these pages (at least one; an empty list gives one
    /// blank page).
    static std::string document(const std::vector<Page>& pages);
    /// Writes the document to `file`; throws zq::Error when it cannot.
    static void write(const std::filesystem::path& file, const std::vector<Page>& pages);
};

}  // namespace zq
