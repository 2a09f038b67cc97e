#include "archive_records.h"

#include "app/demo_installation.h"

#include "conversion/conversion_settings.h"
#include "conversion/record_folder.h"
#include "runtime/text.h"
#include "tiff_probe.h"

#include <poppler-document.h>

#include <cstdio>
#include <fstream>
#include <memory>

namespace zq::test {

std::vector<DocRecord> readRecords(Connection& cnnArch, const std::string& serial, const std::string& basePath) {
    std::vector<DocRecord> out;
    auto rs = cnnArch.openRecordset("SELECT sys_record, sys_filename FROM " + serial + " ORDER BY sys_record",
                                    CursorType::ForwardOnly, LockType::ReadOnly);
    for (; !rs->eof(); rs->moveNext()) {
        DocRecord d;
        d.record = static_cast<long>(rs->field("sys_record").toInteger());
        d.fileName = vbTrim(rs->field("sys_filename").toText());
        const std::string folder = recordFolder(basePath, d.record);
        d.file = folder + d.fileName;
        char name[32];
        std::snprintf(name, sizeof name, "%08ld.pdf", d.record);
        d.pdf = folder + name;
        out.push_back(d);
    }
    rs->close();
    return out;
}

int pdfPages(const std::filesystem::path& pdf) {
    std::unique_ptr<poppler::document> doc(poppler::document::load_from_file(pdf.string()));
    return doc ? doc->pages() : -1;
}

int tiffPages(const std::filesystem::path& tiff) {
    try {
        return static_cast<int>(readTiffPages(tiff).size());
    } catch (const std::exception&) {
        return -1;
    }
}

void writeConversionSettings(const std::filesystem::path& programFolder, int dpi, int threads) {
    std::ofstream out(programFolder / kConversionSettingsFile);
    out << "dpi=" << dpi << "\nthreads=" << threads << "\n";
}

std::string docsPathOf(const std::filesystem::path& home, const std::string& serial) {
    for (const auto& a : DemoInstallation::archives(home))
        if (vbLCase(a.serial) == vbLCase(serial)) return a.docs;
    return {};
}

namespace {
std::filesystem::path tiffBeside(const DocRecord& r) { return std::filesystem::path(r.pdf).replace_extension(".tif"); }
}  // namespace

void expectConverted(const std::vector<DocRecord>& recs) {
    ASSERT_FALSE(recs.empty());
    for (const DocRecord& r : recs) {
        SCOPED_TRACE("record " + std::to_string(r.record));
        EXPECT_EQ(r.file, tiffBeside(r));
        EXPECT_TRUE(std::filesystem::exists(r.pdf));
        const int pages = pdfPages(r.pdf);
        EXPECT_GE(pages, 1);
        EXPECT_EQ(tiffPages(r.file), pages);
    }
}

void expectUntouched(const std::vector<DocRecord>& recs) {
    ASSERT_FALSE(recs.empty());
    for (const DocRecord& r : recs) {
        SCOPED_TRACE("record " + std::to_string(r.record));
        EXPECT_EQ(r.file, r.pdf);
        EXPECT_TRUE(std::filesystem::exists(r.pdf));
        EXPECT_FALSE(std::filesystem::exists(tiffBeside(r)));
    }
}

void expectStoppedPartway(const std::vector<DocRecord>& recs) {
    int untouched = 0;
    for (const DocRecord& r : recs) {
        SCOPED_TRACE("record " + std::to_string(r.record));
        EXPECT_TRUE(std::filesystem::exists(r.pdf));
        if (r.file == r.pdf) {
            ++untouched;
            EXPECT_FALSE(std::filesystem::exists(tiffBeside(r)));
        } else {
            EXPECT_EQ(r.file, tiffBeside(r));
            EXPECT_EQ(tiffPages(r.file), pdfPages(r.pdf));
        }
    }
    EXPECT_GE(untouched, 1);
}

}  // namespace zq::test
