#include "pdf_fixture.h"

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace zq::test {
namespace {

// Collects numbered objects and writes them with a correct cross-reference table.
class PdfBuilder {
public:
    int reserve() { objects_.emplace_back(); return static_cast<int>(objects_.size()); }
    void set(int id, std::string body) { objects_[id - 1] = std::move(body); }
    int add(std::string body) { const int id = reserve(); set(id, std::move(body)); return id; }

    void write(const std::filesystem::path& path, int rootId) const {
        std::string out = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
        std::vector<std::size_t> offsets;
        for (std::size_t i = 0; i < objects_.size(); ++i) {
            offsets.push_back(out.size());
            out += std::to_string(i + 1) + " 0 obj\n" + objects_[i] + "\nendobj\n";
        }
        const std::size_t xref = out.size();
        out += "xref\n0 " + std::to_string(objects_.size() + 1) + "\n0000000000 65535 f \n";
        char line[32];
        for (std::size_t off : offsets) {
            std::snprintf(line, sizeof line, "%010zu 00000 n \n", off);
            out += line;
        }
        out += "trailer\n<< /Size " + std::to_string(objects_.size() + 1) + " /Root " + std::to_string(rootId) +
               " 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
        std::ofstream f(path, std::ios::binary);
        f << out;
        if (!f) throw std::runtime_error("cannot write " + path.string());
    }

private:
    std::vector<std::string> objects_;
};

std::string stream(const std::string& dict, const std::string& data) {
    return "<< " + dict + " /Length " + std::to_string(data.size()) + " >>\nstream\n" + data + "\nendstream";
}

std::string pageDict(int parent, const std::string& resources, int contents) {
    std::ostringstream s;
    s << "<< /Type /Page /Parent " << parent << " 0 R /MediaBox [0 0 " << kPageWidthPt << ' ' << kPageHeightPt
      << "] /Resources " << resources << " /Contents " << contents << " 0 R >>";
    return s.str();
}

void finish(PdfBuilder& b, int pagesId, const std::vector<int>& kids, const std::filesystem::path& path) {
    std::string list;
    for (int k : kids) list += std::to_string(k) + " 0 R ";
    b.set(pagesId, "<< /Type /Pages /Kids [" + list + "] /Count " + std::to_string(kids.size()) + " >>");
    const int root = b.add("<< /Type /Catalog /Pages " + std::to_string(pagesId) + " 0 R >>");
    b.write(path, root);
}

}  // namespace

void writeTextPdf(const std::filesystem::path& path, int pages, const std::string& title) {
    writeTextPdf(path, std::vector<bool>(static_cast<std::size_t>(pages), true), title);
}

void writeTextPdf(const std::filesystem::path& path, const std::vector<bool>& redPages, const std::string& title) {
    const int pages = static_cast<int>(redPages.size());
    PdfBuilder b;
    const int pagesId = b.reserve();
    const int font = b.add("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>");
    const std::string res = "<< /Font << /F1 " + std::to_string(font) + " 0 R >> >>";
    std::vector<int> kids;
    for (int i = 1; i <= pages; ++i) {
        std::ostringstream c;
        c << (redPages[i - 1] ? "1 0 0 rg" : "0.5 g") << " 72 " << kPageHeightPt - 144 << " 72 72 re f\n"                       // red, top left
          << "0 0 0 rg " << kPageWidthPt - 144 << " 72 72 72 re f\n"                        // black, bottom right
          << "BT /F1 24 Tf 200 600 Td (" << title << " - Pagina " << i << ") Tj ET\n";
        const int contents = b.add(stream("", c.str()));
        kids.push_back(b.add(pageDict(pagesId, res, contents)));
    }
    finish(b, pagesId, kids, path);
}

void writeImagePdf(const std::filesystem::path& path, int pages, int w, int h) {
    PdfBuilder b;
    const int pagesId = b.reserve();
    std::string pixels(static_cast<std::size_t>(w) * h * 3, '\0');
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c)
                pixels[(static_cast<std::size_t>(y) * w + x) * 3 + c] = static_cast<char>(x * 255 / (w - 1));
    const int image = b.add(stream("/Type /XObject /Subtype /Image /Width " + std::to_string(w) + " /Height " +
                                       std::to_string(h) + " /ColorSpace /DeviceRGB /BitsPerComponent 8",
                                   pixels));
    const std::string res = "<< /XObject << /Im1 " + std::to_string(image) + " 0 R >> >>";
    std::ostringstream c;
    c << "q " << kPageWidthPt << " 0 0 " << kPageHeightPt << " 0 0 cm /Im1 Do Q\n";
    std::vector<int> kids;
    for (int i = 1; i <= pages; ++i) {
        const int contents = b.add(stream("", c.str()));
        kids.push_back(b.add(pageDict(pagesId, res, contents)));
    }
    finish(b, pagesId, kids, path);
}

void writePatternPdf(const std::filesystem::path& path, int w, int h, bool throughClipPath, bool grey) {
    PdfBuilder b;
    const int pagesId = b.reserve();
    const int comps = grey ? 1 : 3;
    std::string pixels(static_cast<std::size_t>(w) * h * comps, '\0');
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            char* p = &pixels[(static_cast<std::size_t>(y) * w + x) * comps];
            p[0] = static_cast<char>((7 * x + 13 * y) % 256);
            if (grey) continue;
            p[1] = static_cast<char>((3 * x) % 256);
            p[2] = static_cast<char>((5 * y + x * y) % 256);
        }
    const int image = b.add(stream("/Type /XObject /Subtype /Image /Width " + std::to_string(w) + " /Height " +
                                       std::to_string(h) + " /ColorSpace " + (grey ? "/DeviceGray" : "/DeviceRGB") +
                                       " /BitsPerComponent 8",
                                   pixels));
    std::ostringstream c;
    if (throughClipPath) c << "-50 -50 m 700 -60 l 650 900 l -40 880 l h W n\n";  // not a rectangle
    c << "q " << kPageWidthPt << " 0 0 " << kPageHeightPt << " 0 0 cm /Im1 Do Q\n";
    const int contents = b.add(stream("", c.str()));
    const std::string res = "<< /XObject << /Im1 " + std::to_string(image) + " 0 R >> >>";
    finish(b, pagesId, {b.add(pageDict(pagesId, res, contents))}, path);
}

}  // namespace zq::test
