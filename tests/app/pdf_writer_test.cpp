#include "app/pdf_writer.h"

#include "temp_dir.h"

#include <gtest/gtest.h>
#include <poppler-document.h>
#include <poppler-page.h>

#include <memory>

namespace zq {
namespace {

std::unique_ptr<poppler::document> load(const std::string& bytes) {
    return std::unique_ptr<poppler::document>(poppler::document::load_from_raw_data(bytes.data(), static_cast<int>(bytes.size())));
}

std::string pageText(poppler::document& doc, int page) {
    std::unique_ptr<poppler::page> p(doc.create_page(page));
    const auto utf8 = p->text().to_utf8();
    return std::string(utf8.begin(), utf8.end());
}

TEST(PdfWriter, PagesAndTextAreReadBackByAPdfReader) {
    const std::string bytes = PdfWriter::document({{"Fattura n. 12 (acconto)", "Città: Forlì, totale 1.234,50 €"},
                                                   {"Seconda pagina \\ fine"},
                                                   {}});
    auto doc = load(bytes);
    ASSERT_TRUE(doc);
    EXPECT_FALSE(doc->is_locked());
    ASSERT_EQ(doc->pages(), 3);
    const std::string first = pageText(*doc, 0);
    EXPECT_NE(first.find("Fattura n. 12 (acconto)"), std::string::npos) << first;
    EXPECT_NE(first.find("Città: Forlì, totale 1.234,50 €"), std::string::npos) << first;
    EXPECT_NE(pageText(*doc, 1).find("Seconda pagina \\ fine"), std::string::npos);
}

TEST(PdfWriter, CrossReferenceOffsetsPointAtTheirObjects) {
    const std::string pdf = PdfWriter::document({{"a"}, {"b"}});
    const auto start = pdf.rfind("startxref\n");
    ASSERT_NE(start, std::string::npos);
    const std::size_t xref = std::stoul(pdf.substr(start + 10));
    ASSERT_EQ(pdf.compare(xref, 4, "xref"), 0);
    // Objects 1..7: catalog, pages, font, then page and content twice.
    for (int obj = 1; obj <= 7; ++obj) {
        const std::size_t entry = xref + std::string("xref\n0 8\n").size() + 20 * static_cast<std::size_t>(obj);
        const std::size_t offset = std::stoul(pdf.substr(entry, 10));
        EXPECT_EQ(pdf.compare(offset, std::to_string(obj).size() + 6, std::to_string(obj) + " 0 obj"), 0) << obj;
    }
}

TEST(PdfWriter, NoPagesGivesOneBlankPage) {
    const std::string bytes = PdfWriter::document({});  // the reader keeps pointing at it
    auto doc = load(bytes);
    ASSERT_TRUE(doc);
    EXPECT_EQ(doc->pages(), 1);
}

TEST(PdfWriter, UnwritableFileIsAnError) {
    test::TempDir dir;
    EXPECT_THROW(PdfWriter::write(dir / "manca" / "x.pdf", {{"a"}}), std::exception);
    PdfWriter::write(dir / "x.pdf", {{"a"}});
    EXPECT_TRUE(std::filesystem::exists(dir / "x.pdf"));
}

}  // namespace
}  // namespace zq
