// Writes PDFs that look like an office scanner's output: every page is one image of a
// typed A4 sheet at 300 dpi (paper tint, noise, a slight skew, a coloured stamp), as
// the three kinds of scanner settings store it: colour JPEG, grey JPEG, or 1-bit
// CCITT Group 4 (the sheet split at mid grey).
//
//   zq_make_scans OUTDIR COUNT      -> OUTDIR/scan01.pdf ... (1 to 4 pages each;
//                                      numbers 4k+3 bilevel, other odd numbers grey,
//                                      even numbers colour)
#include <QBuffer>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QPainter>

#include <tiffio.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int kW = 2480, kH = 3508;  // A4 at 300 dpi

QImage sheet(int doc, int page, bool colour) {
    QImage img(kW, kH, QImage::Format_RGB32);
    img.fill(QColor(250, 248, 240));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(kW / 2.0, kH / 2.0);
    p.rotate(0.4 * ((doc + page) % 3 - 1));  // the sheet never lies quite straight
    p.translate(-kW / 2.0, -kH / 2.0);
    QFont f("DejaVu Serif");
    f.setPixelSize(44);
    p.setFont(f);
    p.setPen(QColor(30, 30, 35));
    p.drawText(200, 300, QString("STUDIO ASSOCIATO - documento %1, pagina %2").arg(doc).arg(page));
    f.setPixelSize(34);
    p.setFont(f);
    for (int line = 0; line < 60; ++line) {
        const int y = 450 + line * 48;
        if (line % 15 == 14) continue;  // paragraph break
        p.drawText(200, y, QString("Riga %1: imponibile euro %2,%3 - aliquota IVA 22% - scadenza 3%4/0%5/2024 "
                                   "come da accordi intercorsi")
                               .arg(line + 1).arg(1000 + 37 * line).arg(line % 100, 2, 10, QChar('0'))
                               .arg(line % 2).arg(1 + line % 9));
    }
    p.setPen(QPen(QColor(40, 40, 40), 3));
    for (int r = 0; r <= 6; ++r) p.drawLine(200, 3400 - 60 * r, 2280, 3400 - 60 * r);
    p.setPen(QPen(QColor(30, 60, 170), 8));
    p.drawEllipse(QPoint(1900, 3000), 220, 140);  // the office's round stamp
    p.drawText(QRect(1700, 2950, 400, 100), Qt::AlignCenter, "PAGATO");
    p.end();

    // Sensor noise: a cheap generator, a few levels either way.
    std::uint32_t seed = 2166136261u ^ static_cast<std::uint32_t>(doc * 131 + page);
    for (int y = 0; y < kH; ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < kW; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int d = static_cast<int>(seed >> 29) - 4;
            const QRgb c = row[x];
            row[x] = qRgb(std::clamp(qRed(c) + d, 0, 255), std::clamp(qGreen(c) + d, 0, 255),
                          std::clamp(qBlue(c) + d, 0, 255));
        }
    }
    return colour ? img : img.convertToFormat(QImage::Format_Grayscale8);
}

QByteArray jpeg(const QImage& img) {
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    QImageWriter w(&buf, "jpeg");
    w.setQuality(80);
    if (!w.write(img)) {
        std::fprintf(stderr, "JPEG writer missing: %s\n", qPrintable(w.errorString()));
        std::exit(1);
    }
    return bytes;
}

// The sheet as a scanner's bilevel mode stores it: split at mid grey and coded in
// CCITT Group 4, which libtiff writes as the single strip of a one-page TIFF.
QByteArray group4(const QImage& sheet) {
    const QImage grey = sheet.convertToFormat(QImage::Format_Grayscale8);
    char path[] = "/tmp/zq_make_scans_XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0) std::exit(1);
    close(fd);
    TIFF* t = TIFFOpen(path, "w");
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, grey.width());
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, grey.height());
    TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 1);
    TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
    TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX4);
    TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, grey.height());
    std::vector<std::uint8_t> row((grey.width() + 7) / 8);
    for (int y = 0; y < grey.height(); ++y) {
        std::fill(row.begin(), row.end(), 0);
        const uchar* g = grey.constScanLine(y);
        for (int x = 0; x < grey.width(); ++x)
            if (g[x] < 128) row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));  // 1 = black
        TIFFWriteScanline(t, row.data(), y, 0);
    }
    TIFFClose(t);
    t = TIFFOpen(path, "r");
    QByteArray coded(static_cast<int>(TIFFRawStripSize(t, 0)), 0);
    TIFFReadRawStrip(t, 0, coded.data(), coded.size());
    TIFFClose(t);
    std::remove(path);
    return coded;
}

enum class Kind { Colour, Grey, Bilevel };

// A PDF with one full-page image per page, objects numbered as they are written.
void writePdf(const std::string& path, const std::vector<QByteArray>& pages, Kind kind) {
    std::string out = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
    std::vector<std::size_t> offsets;
    auto object = [&](const std::string& head, const QByteArray* data = nullptr) {
        offsets.push_back(out.size());
        out += std::to_string(offsets.size()) + " 0 obj\n" + head;
        if (data) out += "stream\n" + data->toStdString() + "\nendstream";
        out += "\nendobj\n";
        return static_cast<int>(offsets.size());
    };
    const int n = static_cast<int>(pages.size());
    // 1 catalog, 2 page tree, then per page: image, contents, page.
    std::string kids;
    for (int i = 0; i < n; ++i) kids += std::to_string(5 + 3 * i) + " 0 R ";
    object("<< /Type /Catalog /Pages 2 0 R >>");
    object("<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(n) + " >>");
    const std::string content = "q 595 0 0 842 0 0 cm /Im Do Q";
    const QByteArray contentBytes = QByteArray::fromStdString(content);
    for (int i = 0; i < n; ++i) {
        const std::string size = " /Width " + std::to_string(kW) + " /Height " + std::to_string(kH);
        const std::string coding =
            kind == Kind::Bilevel
                ? " /ColorSpace /DeviceGray /BitsPerComponent 1 /Filter /CCITTFaxDecode /DecodeParms << /K -1"
                  " /Columns " + std::to_string(kW) + " /Rows " + std::to_string(kH) + " >>"
                : std::string(" /ColorSpace ") + (kind == Kind::Colour ? "/DeviceRGB" : "/DeviceGray") +
                      " /BitsPerComponent 8 /Filter /DCTDecode";
        const int img = object("<< /Type /XObject /Subtype /Image" + size + coding + " /Length " +
                                   std::to_string(pages[i].size()) + " >>\n",
                               &pages[i]);
        const int contents = object("<< /Length " + std::to_string(content.size()) + " >>\n", &contentBytes);
        object("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Resources << /XObject << /Im " +
               std::to_string(img) + " 0 R >> >> /Contents " + std::to_string(contents) + " 0 R >>");
    }
    const std::size_t xref = out.size();
    out += "xref\n0 " + std::to_string(offsets.size() + 1) + "\n0000000000 65535 f \n";
    char line[32];
    for (auto off : offsets) {
        std::snprintf(line, sizeof line, "%010zu 00000 n \n", off);
        out += line;
    }
    out += "trailer\n<< /Size " + std::to_string(offsets.size() + 1) + " /Root 1 0 R >>\nstartxref\n" +
           std::to_string(xref) + "\n%%EOF\n";
    std::ofstream(path, std::ios::binary) << out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: zq_make_scans OUTDIR COUNT\n");
        return 2;
    }
    QGuiApplication app(argc, argv);
    const std::string dir = argv[1];
    const int count = std::atoi(argv[2]);
    for (int d = 1; d <= count; ++d) {
        const Kind kind = d % 2 == 0 ? Kind::Colour : d % 4 == 3 ? Kind::Bilevel : Kind::Grey;
        std::vector<QByteArray> pages;
        for (int p = 1; p <= 1 + (d - 1) % 4; ++p) {
            const QImage img = sheet(d, p, kind == Kind::Colour);
            pages.push_back(kind == Kind::Bilevel ? group4(img) : jpeg(img));
        }
        char name[32];
        std::snprintf(name, sizeof name, "/scan%02d.pdf", d);
        writePdf(dir + name, pages, kind);
    }
    return 0;
}
