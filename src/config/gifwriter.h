#pragma once
// Writes animated GIF89a files. Qt reads GIFs but cannot write them, and the program
// ships its own wait animation, so this small encoder draws no dependency in.
//
// The image data uses LZW codes that never grow the code width (a clear code every
// few pixels): larger than a real LZW stream, but trivially correct, which matters
// more for a 32-pixel spinner than a few kilobytes.

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QRgb>

namespace zq {

class GifWriter {
public:
    /// `palette` holds 1 to 256 colours; every frame is drawn with these colours only.
    explicit GifWriter(QList<QRgb> palette);

    /// Adds a frame shown for `delayCentiseconds`. Pixels whose colour is not in the
    /// palette take the nearest palette colour. All frames must have the first frame's size.
    void addFrame(const QImage& frame, int delayCentiseconds);

    /// The whole file, looping forever.
    QByteArray encode() const;

private:
    struct Frame {
        QImage indexed;
        int delay;
    };
    QList<QRgb> palette_;
    QList<Frame> frames_;
};

}  // namespace zq
