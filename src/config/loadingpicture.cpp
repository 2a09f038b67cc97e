#include "config/loadingpicture.h"

#include "config/gifwriter.h"

#include <QPainter>

#include <cmath>

namespace zq {
namespace {

const QRgb kBackground = qRgb(255, 255, 255);
const QRgb kDim = qRgb(192, 200, 216);
const QRgb kLit = qRgb(32, 64, 128);

}  // namespace

QList<QImage> loadingFrames(int size, int frames) {
    QList<QImage> out;
    const double centre = size / 2.0;
    const double radius = size * 0.34;
    const int dot = std::max(2, size / 8);
    for (int f = 0; f < frames; ++f) {
        QImage img(size, size, QImage::Format_RGB32);
        img.fill(kBackground);
        QPainter p(&img);
        // No antialiasing: every pixel stays one of the three palette colours.
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(Qt::NoPen);
        for (int i = 0; i < frames; ++i) {
            const double a = 2 * M_PI * i / frames - M_PI / 2;
            const int x = int(std::lround(centre + radius * std::cos(a))) - dot / 2;
            const int y = int(std::lround(centre + radius * std::sin(a))) - dot / 2;
            p.setBrush(QColor(i == f ? kLit : kDim));
            p.drawRect(x, y, dot, dot);
        }
        out.append(img);
    }
    return out;
}

QByteArray loadingGif() {
    GifWriter gif({kBackground, kDim, kLit});
    // Drawn large enough that the wait window shows it at text size or smaller, never blown up.
    for (const QImage& frame : loadingFrames(64))
        gif.addFrame(frame, 10);
    return gif.encode();
}

}  // namespace zq
