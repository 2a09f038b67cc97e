#pragma once
// What the conversion tests read back from a demo installation: the records of an
// archive with the files they name, and the page counts of PDFs (poppler) and TIFFs
// (libtiff).

#include "dataaccess/connection.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace zq::test {

/// One row of an archive table and the document file it names.
struct DocRecord {
    long record = 0;
    std::string fileName;         ///< sys_filename, trimmed
    std::filesystem::path file;   ///< record folder + file name
    std::filesystem::path pdf;    ///< the record's original document (record number + ".pdf")
};

/// The rows of table `serial`, by record number; `basePath` is the archive's path.
std::vector<DocRecord> readRecords(Connection& cnnArch, const std::string& serial, const std::string& basePath);

/// The pages of a PDF; -1 when poppler cannot open it.
int pdfPages(const std::filesystem::path& pdf);
/// The pages of a TIFF; -1 when libtiff cannot open it.
int tiffPages(const std::filesystem::path& tiff);

/// Writes the conversion settings file of an installation (small pages keep tests fast).
void writeConversionSettings(const std::filesystem::path& programFolder, int dpi, int threads);

/// The documents path of the demo archive with this serial (any case) in `home`.
std::string docsPathOf(const std::filesystem::path& home, const std::string& serial);

/// Every record names a TIFF beside its PDF ("<record>.tif"), with the PDF's pages.
void expectConverted(const std::vector<DocRecord>& recs);
/// Every record still names its PDF, and no TIFF lies beside it.
void expectUntouched(const std::vector<DocRecord>& recs);
/// After a stop: each record names either its complete TIFF or still its PDF with no
/// TIFF beside it, and at least one was not reached.
void expectStoppedPartway(const std::vector<DocRecord>& recs);

}  // namespace zq::test
