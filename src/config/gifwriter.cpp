#include "config/gifwriter.h"

#include <stdexcept>

namespace zq {
namespace {

void putWord(QByteArray& out, int v) {
    out.append(char(v & 0xFF));
    out.append(char((v >> 8) & 0xFF));
}

// Least significant bit first, as GIF's LZW stream wants it.
class BitSink {
public:
    void put(int code, int width) {
        acc_ |= quint32(code) << nbits_;
        nbits_ += width;
        while (nbits_ >= 8) {
            bytes_.append(char(acc_ & 0xFF));
            acc_ >>= 8;
            nbits_ -= 8;
        }
    }
    QByteArray finish() {
        if (nbits_ > 0)
            bytes_.append(char(acc_ & 0xFF));
        acc_ = 0;
        nbits_ = 0;
        return bytes_;
    }

private:
    QByteArray bytes_;
    quint32 acc_ = 0;
    int nbits_ = 0;
};

int bitsFor(int colours) {
    int bits = 1;
    while ((1 << bits) < colours)
        ++bits;
    return bits;
}

}  // namespace

GifWriter::GifWriter(QList<QRgb> palette) : palette_(std::move(palette)) {
    if (palette_.isEmpty() || palette_.size() > 256)
        throw std::invalid_argument("GIF palette must hold 1 to 256 colours");
}

void GifWriter::addFrame(const QImage& frame, int delayCentiseconds) {
    if (!frames_.isEmpty() && frame.size() != frames_.first().indexed.size())
        throw std::invalid_argument("GIF frames must all have the same size");
    QImage indexed = frame.convertToFormat(QImage::Format_Indexed8, palette_, Qt::ThresholdDither);
    frames_.append(Frame{indexed, delayCentiseconds});
}

QByteArray GifWriter::encode() const {
    if (frames_.isEmpty())
        throw std::logic_error("GIF without frames");
    const int colourBits = bitsFor(palette_.size());
    const int tableSize = 1 << colourBits;
    const int minCode = std::max(2, colourBits);
    const int width = minCode + 1;
    const int clear = 1 << minCode;
    const int eoi = clear + 1;
    // Each code after the first one following a clear adds a table entry; stop one
    // entry short of the point where the decoder would widen its codes.
    const int pixelsPerClear = clear - 2;

    const QSize size = frames_.first().indexed.size();
    QByteArray out("GIF89a");
    putWord(out, size.width());
    putWord(out, size.height());
    out.append(char(0x80 | ((colourBits - 1) << 4) | (colourBits - 1)));  // global table
    out.append(char(0));  // background colour index
    out.append(char(0));  // pixel aspect ratio: unspecified
    for (int i = 0; i < tableSize; ++i) {
        const QRgb c = i < palette_.size() ? palette_[i] : qRgb(0, 0, 0);
        out.append(char(qRed(c)));
        out.append(char(qGreen(c)));
        out.append(char(qBlue(c)));
    }
    // Application extension: loop forever.
    out.append("\x21\xFF\x0BNETSCAPE2.0\x03\x01", 16);
    putWord(out, 0);
    out.append(char(0));

    for (const Frame& f : frames_) {
        out.append("\x21\xF9\x04", 3);
        out.append(char(0x04));  // disposal: leave the frame, it covers everything anyway
        putWord(out, f.delay);
        out.append(char(0));  // transparent index (unused)
        out.append(char(0));

        out.append(char(0x2C));
        putWord(out, 0);
        putWord(out, 0);
        putWord(out, size.width());
        putWord(out, size.height());
        out.append(char(0));  // no local table, not interlaced

        BitSink bits;
        bits.put(clear, width);
        int run = 0;
        for (int y = 0; y < size.height(); ++y) {
            const uchar* line = f.indexed.constScanLine(y);
            for (int x = 0; x < size.width(); ++x) {
                if (run == pixelsPerClear) {
                    bits.put(clear, width);
                    run = 0;
                }
                bits.put(line[x], width);
                ++run;
            }
        }
        bits.put(eoi, width);
        const QByteArray data = bits.finish();

        out.append(char(minCode));
        for (qsizetype pos = 0; pos < data.size(); pos += 255) {
            const qsizetype n = std::min<qsizetype>(255, data.size() - pos);
            out.append(char(n));
            out.append(data.constData() + pos, n);
        }
        out.append(char(0));
    }
    out.append(char(0x3B));
    return out;
}

}  // namespace zq
