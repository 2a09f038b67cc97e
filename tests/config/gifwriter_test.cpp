#include "config/gifwriter.h"
#include "config/loadingpicture.h"

#include "guitest.h"

#include <QBuffer>
#include <QImageReader>
#include <QMovie>

namespace zq {
namespace {

using test::GuiTest;

// Decodes every frame of a GIF with Qt's own reader.
QList<QImage> decode(const QByteArray& gif, QList<int>* delays = nullptr) {
    QBuffer buf;
    buf.setData(gif);
    buf.open(QIODevice::ReadOnly);
    QImageReader reader(&buf, "gif");
    QList<QImage> frames;
    while (true) {
        QImage img = reader.read();
        if (img.isNull())
            break;
        if (delays)
            delays->append(reader.nextImageDelay());
        frames.append(img.convertToFormat(QImage::Format_RGB32));
    }
    return frames;
}

class GifWriterTest : public GuiTest {};

TEST_F(GifWriterTest, FramesComeBackPixelForPixel) {
    // Palettes of 2, 3, 5 and 256 colours exercise every code width the writer uses.
    for (int colours : {2, 3, 5, 256}) {
        SCOPED_TRACE(colours);
        QList<QRgb> palette;
        for (int i = 0; i < colours; ++i)
            palette.append(qRgb(i, 255 - i, (i * 37) % 256));
        GifWriter gif(palette);
        QList<QImage> originals;
        for (int f = 0; f < 3; ++f) {
            QImage img(23, 17, QImage::Format_RGB32);
            for (int y = 0; y < img.height(); ++y)
                for (int x = 0; x < img.width(); ++x)
                    img.setPixel(x, y, palette[(x * 7 + y * 3 + f * 11) % colours]);
            originals.append(img);
            gif.addFrame(img, 5 + f);
        }
        QList<int> delays;
        const QList<QImage> frames = decode(gif.encode(), &delays);
        ASSERT_EQ(frames.size(), 3);
        for (int f = 0; f < 3; ++f) {
            ASSERT_EQ(frames[f].size(), originals[f].size());
            for (int y = 0; y < 17; ++y)
                for (int x = 0; x < 23; ++x)
                    ASSERT_EQ(frames[f].pixel(x, y), originals[f].pixel(x, y))
                        << "frame " << f << " at " << x << "," << y;
            EXPECT_EQ(delays[f], (5 + f) * 10);
        }
    }
}

TEST_F(GifWriterTest, RejectsBadPalettesAndMixedSizes) {
    EXPECT_THROW(GifWriter({}), std::invalid_argument);
    GifWriter gif({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    gif.addFrame(QImage(4, 4, QImage::Format_RGB32), 1);
    EXPECT_THROW(gif.addFrame(QImage(5, 4, QImage::Format_RGB32), 1), std::invalid_argument);
    EXPECT_THROW(GifWriter({qRgb(0, 0, 0)}).encode(), std::logic_error);
}

TEST_F(GifWriterTest, LoadingPictureIsALoopingSpinner) {
    QByteArray gif = loadingGif();
    QBuffer buf(&gif);
    buf.open(QIODevice::ReadOnly);
    QMovie movie(&buf, "gif");
    ASSERT_TRUE(movie.isValid());
    EXPECT_EQ(movie.frameCount(), 8);
    EXPECT_EQ(movie.loopCount(), -1);  // forever

    // Each frame lights a different dot: the dark pixels move from frame to frame.
    const QList<QImage> frames = decode(gif);
    ASSERT_EQ(frames.size(), 8);
    QList<QPoint> lit;
    for (const QImage& f : frames) {
        int darkCount = 0;
        QPoint first(-1, -1);
        for (int y = 0; y < f.height(); ++y)
            for (int x = 0; x < f.width(); ++x)
                if (qGray(f.pixel(x, y)) < 100) {
                    if (darkCount++ == 0)
                        first = QPoint(x, y);
                }
        EXPECT_GT(darkCount, 0);
        EXPECT_FALSE(lit.contains(first));
        lit.append(first);
    }
}

}  // namespace
}  // namespace zq
