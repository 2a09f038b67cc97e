#include "app/pdf_writer.h"

#include "common/error.h"
#include "common/product.h"

#include <cstdio>
#include <fstream>

namespace zq {
namespace {

// Text strings of a Type1 font with WinAnsiEncoding are Windows-1252 bytes.
std::string toWinAnsi(const std::string& utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const unsigned char c = utf8[i];
        unsigned cp = c;
        std::size_t len = 1;
        if (c >= 0xF0) { cp = c & 0x07; len = 4; }
        else if (c >= 0xE0) { cp = c & 0x0F; len = 3; }
        else if (c >= 0xC0) { cp = c & 0x1F; len = 2; }
        for (std::size_t k = 1; k < len && i + k < utf8.size(); ++k) cp = (cp << 6) | (utf8[i + k] & 0x3F);
        i += len;
        if (cp == 0x20AC) out += '\x80';
        else if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) out += static_cast<char>(cp);
        else out += '?';
    }
    return out;
}

std::string escaped(const std::string& text) {
    std::string out;
    for (char c : toWinAnsi(text)) {
        if (c == '(' || c == ')' || c == '\\') out += '\\';
        out += c;
    }
    return out;
}

std::string contentOf(const PdfWriter::Page& page) {
    std::string s = "BT\n/F1 12 Tf\n14 TL\n56 780 Td\n";
    for (const auto& line : page) s += "(" + escaped(line) + ") '\n";
    s += "ET\n";
    return s;
}

}  // namespace

std::string PdfWriter::document(const std::vector<Page>& pagesIn) {
    std::vector<Page> pages = pagesIn.empty() ? std::vector<Page>{Page{}} : pagesIn;
    const std::size_t n = pages.size();
    // Objects: 1 catalog, 2 page tree, 3 font, then per page its page and its content.
    std::vector<std::string> objects;
    std::string kids;
    for (std::size_t i = 0; i < n; ++i) kids += std::to_string(4 + 2 * i) + " 0 R ";
    objects.push_back("<< /Type /Catalog /Pages 2 0 R >>");
    objects.push_back("<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(n) + " >>");
    objects.push_back("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>");
    for (std::size_t i = 0; i < n; ++i) {
        const std::string content = contentOf(pages[i]);
        objects.push_back("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] "
                          "/Resources << /Font << /F1 3 0 R >> >> /Contents " +
                          std::to_string(5 + 2 * i) + " 0 R >>");
        objects.push_back("<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content +
                          "endstream");
    }

    std::string pdf = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
    std::vector<std::size_t> offsets;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(pdf.size());
        pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const std::size_t xref = pdf.size();
    pdf += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    char entry[32];
    for (std::size_t off : offsets) {
        std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", off);
        pdf += entry;
    }
    pdf += "trailer\n<< /Size " + std::to_string(objects.size() + 1) + " /Root 1 0 R >>\nstartxref\n" +
           std::to_string(xref) + "\n%%EOF\n";
    return pdf;
}

void PdfWriter::write(const std::filesystem::path& file, const std::vector<Page>& pages) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    const std::string bytes = document(pages);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw Error(75, "Impossibile scrivere il file " + file.string(), kProductName);
}

}  // namespace zq
