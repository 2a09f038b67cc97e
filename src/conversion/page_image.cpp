#include "conversion/page_image.h"

#include <GfxState.h>
#include <Stream.h>
#include <splash/Splash.h>
#include <splash/SplashBitmap.h>
#include <splash/SplashClip.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

namespace zq {
namespace {

// Whether RowColours gives the very bytes Splash's image source gives: the colour spaces
// whose conversion both take from the same poppler calls. Other spaces (ICC, CMYK,
// Lab, indexed …) stay with Splash.
bool convertible(GfxImageColorMap* map) {
    const GfxColorSpaceMode space = map->getColorSpace()->getMode();
    return map->getBits() <= 8 && (space == csDeviceGray || space == csDeviceRGB);
}

// Turns one decoded image row (one byte per component) into 8-bit page components:
// 3 per pixel for an RGB page, 1 for a grey or 1-bit one. Grey images go through a
// table of their few possible values, as Splash does; RGB images to a grey page through
// per-component tables of the grey's terms.
class RowColours {
public:
    RowColours(GfxImageColorMap* map, int width, bool rgb) : map_(map), width_(width), rgb_(rgb) {
        if (map->getNumPixelComps() == 1) tabulate();
        else if (!rgb && map->getBits() == 8) weighGreys();
    }

    int comps() const { return rgb_ ? 3 : 1; }

    /// A one-component image whose table is a straight line, component by component
    /// (value = first + index * slope: plain grey and bilevel images, inverted or not).
    /// The sum of its values over any pixels is then first * count + slope * (sum of
    /// indices): the same sums from the raw rows, without a table pass.
    struct Line {
        int first[3], slope[3];
    };
    const std::optional<Line>& line() const { return line_; }

    void convert(unsigned char* in, std::uint8_t* out) const {
        if (!table_.empty() && rgb_) {
            for (int x = 0; x < width_; ++x) std::copy_n(&table_[3 * in[x]], 3, out + 3 * x);
            return;
        }
        if (!table_.empty()) {
            for (int x = 0; x < width_; ++x) out[x] = table_[in[x]];
            return;
        }
        if (!weights_[0].empty()) {
            for (int x = 0; x < width_; ++x, in += 3) out[x] = greyOf(in);
            return;
        }
        const int inComps = map_->getNumPixelComps();
        if (rgb_ && map_->useRGBLine()) {
            map_->getRGBLine(in, out, width_);
            return;
        }
        for (int x = 0; x < width_; ++x, in += inComps) {
            if (rgb_) {
                GfxRGB c;
                map_->getRGB(in, &c);
                out[3 * x] = colToByte(c.r);
                out[3 * x + 1] = colToByte(c.g);
                out[3 * x + 2] = colToByte(c.b);
            } else {
                GfxGray g;
                map_->getGray(in, &g);
                out[x] = colToByte(g);
            }
        }
    }

private:
    void tabulate() {
        const int values = 1 << map_->getBits();
        table_.resize(static_cast<std::size_t>(values) * comps());
        for (int i = 0; i < values; ++i) {
            const auto v = static_cast<unsigned char>(i);
            if (rgb_) {
                GfxRGB c;
                map_->getRGB(&v, &c);
                table_[3 * i] = colToByte(c.r);
                table_[3 * i + 1] = colToByte(c.g);
                table_[3 * i + 2] = colToByte(c.b);
            } else {
                GfxGray g;
                map_->getGray(&v, &g);
                table_[i] = colToByte(g);
            }
        }
        Line l{};
        const int n = comps();
        for (int c = 0; c < n; ++c) {
            l.first[c] = table_[c];
            l.slope[c] = values > 1 ? table_[n + c] - table_[c] : 0;
            for (int i = 0; i < values; ++i)
                if (table_[n * i + c] != l.first[c] + i * l.slope[c]) return;
        }
        line_ = l;
    }

    // The grey of an RGB pixel is a weighted sum of its decoded components: the three
    // products are kept per component value, so a pixel costs two additions instead of
    // a decode and a colour-space call (the sum, rounding and clipping stay poppler's).
    void weighGreys() {
        static constexpr double kWeight[3] = {0.3, 0.59, 0.11};
        for (auto& w : weights_) w.resize(256);
        for (int v = 0; v < 256; ++v) {
            const unsigned char px[3] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v),
                                         static_cast<unsigned char>(v)};
            GfxColor c;
            map_->getColor(px, &c);
            for (int i = 0; i < 3; ++i) weights_[i][v] = kWeight[i] * c.c[i];
        }
    }

    std::uint8_t greyOf(const unsigned char* p) const {
        auto g = static_cast<GfxColorComp>(weights_[0][p[0]] + weights_[1][p[1]] + weights_[2][p[2]] + 0.5);
        g = g < 0 ? 0 : g > gfxColorComp1 ? gfxColorComp1 : g;
        return colToByte(g);
    }

    std::array<std::vector<double>, 3> weights_;
    GfxImageColorMap* map_;
    int width_;
    bool rgb_;
    std::vector<std::uint8_t> table_;
    std::optional<Line> line_;
};

// Splits `n` source pixels into `m` boxes (m < n) of n/m or n/m + 1 pixels, the longer
// ones spread evenly: the same boxes as Splash's scaler, so that the averages match.
class BoxSteps {
public:
    BoxSteps(int n, int m) : m_(m), base_(n / m), rest_(n % m) {}
    int base() const { return base_; }
    int next() {
        if ((acc_ += rest_) >= m_) {
            acc_ -= m_;
            return base_ + 1;
        }
        return base_;
    }

private:
    int m_, base_, rest_, acc_ = 0;
};

// One output row of box averages, `C` components per pixel, from the column sums of
// `rows` image rows. (sum * d) >> 23 is sum / (rows * columns) in Splash's fixed point,
// rounded as it rounds.
template <int C>
void averageRow(const std::uint32_t* sums, int srcWidth, int rows, int outWidth, std::uint8_t* out) {
    BoxSteps xs(srcWidth, outWidth);
    const std::uint32_t d0 = (1u << 23) / static_cast<std::uint32_t>(rows * xs.base());
    const std::uint32_t d1 = (1u << 23) / static_cast<std::uint32_t>(rows * (xs.base() + 1));
    for (int x = 0; x < outWidth; ++x, out += C) {
        const int step = xs.next();
        const std::uint32_t d = step == xs.base() ? d0 : d1;
        std::uint32_t px[C] = {};
        for (int i = 0; i < step; ++i, sums += C)
            for (int c = 0; c < C; ++c) px[c] += sums[c];
        for (int c = 0; c < C; ++c) out[c] = static_cast<std::uint8_t>((px[c] * d) >> 23);
    }
}

// As averageRow, from the column sums of the indices of a straight-line image: each box's
// sum of values is rebuilt exactly from its sum of indices before the same division.
template <int C>
void averageLineRow(const std::uint32_t* sums, int srcWidth, int rows, int outWidth, const RowColours::Line& line,
                    std::uint8_t* out) {
    BoxSteps xs(srcWidth, outWidth);
    const std::uint32_t d0 = (1u << 23) / static_cast<std::uint32_t>(rows * xs.base());
    const std::uint32_t d1 = (1u << 23) / static_cast<std::uint32_t>(rows * (xs.base() + 1));
    for (int x = 0; x < outWidth; ++x, out += C) {
        const int step = xs.next();
        const std::uint32_t d = step == xs.base() ? d0 : d1;
        std::int64_t indices = 0;
        for (int i = 0; i < step; ++i) indices += *sums++;
        const std::int64_t count = static_cast<std::int64_t>(rows) * step;
        for (int c = 0; c < C; ++c) {
            const auto sum = static_cast<std::uint32_t>(line.first[c] * count + line.slope[c] * indices);
            out[c] = static_cast<std::uint8_t>((sum * d) >> 23);
        }
    }
}

// Stores one averaged row into the page row, in the page's layout.
void storeRow(const std::uint8_t* values, SplashBitmap* page, const ImagePlacement& at, int y, int threshold) {
    const SplashColorMode mode = page->getMode();
    std::uint8_t* row = page->getDataPtr() + static_cast<std::ptrdiff_t>(at.y0 + y) * page->getRowSize();
    if (mode == splashModeRGB8) {
        std::copy_n(values, 3 * at.width, row + 3 * at.x0);
    } else if (mode == splashModeMono8) {
        std::copy_n(values, at.width, row + at.x0);
    } else {
        // The rasteriser's screen at one level: below it black (0), else white (1).
        // Whole bytes are written at once; the edges of the image bit by bit.
        auto setBit = [&](int x) {
            const int dx = at.x0 + x;
            const auto bit = static_cast<std::uint8_t>(0x80 >> (dx & 7));
            if (values[x] < threshold) row[dx >> 3] &= static_cast<std::uint8_t>(~bit);
            else row[dx >> 3] |= bit;
        };
        int x = 0;
        for (; x < at.width && ((at.x0 + x) & 7) != 0; ++x) setBit(x);
        for (; x + 8 <= at.width; x += 8) {
            unsigned byte = 0;
            for (int i = 0; i < 8; ++i) byte |= static_cast<unsigned>(values[x + i] >= threshold) << (7 - i);
            row[(at.x0 + x) >> 3] = static_cast<std::uint8_t>(byte);
        }
        for (; x < at.width; ++x) setBit(x);
    }
    // Splash marks what it painted opaque; the paper is composited under the rest.
    if (std::uint8_t* alpha = page->getAlphaPtr())
        std::fill_n(alpha + static_cast<std::ptrdiff_t>(at.y0 + y) * page->getWidth() + at.x0, at.width, 0xff);
}

// Splash paints every pixel of the rectangle when the clip is a bare rectangle whose
// pixel bounds hold it: whole when its edges hold it too, else through a pixel-by-pixel
// test that the pixel bounds pass, unless smoothing makes that test shade edge pixels.
// (Splash's own rectangle test is not exported.)
bool insideClip(SplashClip& clip, const ImagePlacement& at, bool smoothing) {
    if (clip.getNumPaths() != 0) return false;
    const int x1 = at.x0 + at.width, y1 = at.y0 + at.height;  // one past the last pixel
    if (at.x0 < clip.getXMinI() || at.y0 < clip.getYMinI() || x1 - 1 > clip.getXMaxI() || y1 - 1 > clip.getYMaxI())
        return false;
    return !smoothing || (at.x0 >= clip.getXMin() && at.y0 >= clip.getYMin() && x1 <= clip.getXMax() &&
                          y1 <= clip.getYMax());
}

}  // namespace

std::optional<ImagePlacement> downscaledPlacement(GfxState* state, Splash* splash, SplashBitmap* page,
                                                  GfxImageColorMap* colorMap, int imageWidth, int imageHeight) {
    if (!convertible(colorMap)) return std::nullopt;
    const double* ctm = state->getCTM();
    for (int i = 0; i < 6; ++i)
        if (!std::isfinite(ctm[i])) return std::nullopt;
    // Splash's image matrix maps the unit square with the image's first row on top.
    const double m0 = ctm[0], m1 = ctm[1], m2 = -ctm[2], m3 = -ctm[3];
    const double m4 = ctm[2] + ctm[4], m5 = ctm[3] + ctm[5];
    if (m1 != 0 || m2 != 0 || m0 <= 0 || m3 <= 0) return std::nullopt;  // turned, skewed or mirrored
    // Splash's rule for the pixels an upright image covers.
    ImagePlacement at;
    at.x0 = static_cast<int>(std::floor(m4));
    at.y0 = static_cast<int>(std::floor(m5));
    const double x1 = std::floor(m0 + m4) + 1, y1 = std::floor(m3 + m5) + 1;
    if (at.x0 < 0 || at.y0 < 0 || x1 > page->getWidth() || y1 > page->getHeight()) return std::nullopt;
    at.width = static_cast<int>(x1) - at.x0;
    at.height = static_cast<int>(y1) - at.y0;
    if (at.width >= imageWidth || at.height >= imageHeight) return std::nullopt;  // not smaller both ways

    if (splash->getBitmap() != page) return std::nullopt;
    if (!insideClip(*splash->getClip(), at, splash->getVectorAntialias())) return std::nullopt;
    if (splash->getSoftMask() || splash->getInNonIsolatedGroup() || splash->getBlendFunc() ||
        splash->getFillAlpha() != 1)
        return std::nullopt;
    Function** transfer = state->getTransfer();
    for (int i = 0; i < 4; ++i)
        if (transfer[i]) return std::nullopt;
    const SplashColorMode mode = page->getMode();
    if (mode != splashModeRGB8 && mode != splashModeMono8 && mode != splashModeMono1) return std::nullopt;
    return at;
}

void drawDownscaledImage(Stream* str, int imageWidth, int imageHeight, GfxImageColorMap* colorMap,
                         SplashBitmap* page, const ImagePlacement& at, int threshold) {
    const RowColours colours(colorMap, imageWidth, page->getMode() == splashModeRGB8);
    const int comps = colours.comps();
    ImageStream image(str, imageWidth, colorMap->getNumPixelComps(), colorMap->getBits());
    image.reset();

    const std::size_t rowValues = static_cast<std::size_t>(imageWidth) * comps;
    std::vector<std::uint8_t> line(rowValues);
    std::vector<std::uint32_t> sums(rowValues);
    std::vector<unsigned char> blank(static_cast<std::size_t>(imageWidth) * colorMap->getNumPixelComps());
    std::vector<std::uint8_t> values(static_cast<std::size_t>(at.width) * comps);
    BoxSteps ys(imageHeight, at.height);
    if (const auto& straight = colours.line()) {
        for (int y = 0; y < at.height; ++y) {
            const int rows = ys.next();
            std::fill_n(sums.begin(), imageWidth, 0u);
            for (int i = 0; i < rows; ++i) {
                const unsigned char* in = image.getLine();
                if (!in) in = blank.data();
                for (int k = 0; k < imageWidth; ++k) sums[k] += in[k];
            }
            if (comps == 3) averageLineRow<3>(sums.data(), imageWidth, rows, at.width, *straight, values.data());
            else averageLineRow<1>(sums.data(), imageWidth, rows, at.width, *straight, values.data());
            storeRow(values.data(), page, at, y, threshold);
        }
        image.close();
        return;
    }
    for (int y = 0; y < at.height; ++y) {
        const int rows = ys.next();
        std::fill(sums.begin(), sums.end(), 0u);
        for (int i = 0; i < rows; ++i) {
            unsigned char* in = image.getLine();
            colours.convert(in ? in : blank.data(), line.data());
            for (std::size_t k = 0; k < rowValues; ++k) sums[k] += line[k];
        }
        if (comps == 3) averageRow<3>(sums.data(), imageWidth, rows, at.width, values.data());
        else averageRow<1>(sums.data(), imageWidth, rows, at.width, values.data());
        storeRow(values.data(), page, at, y, threshold);
    }
    image.close();
}

}  // namespace zq
