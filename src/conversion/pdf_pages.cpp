#include "conversion/pdf_pages.h"

#include "common/error.h"
#include "conversion/page_image.h"
#include "conversion/pixel_rows.h"

#include <GlobalParams.h>
#include <PDFDoc.h>
#include <SplashOutputDev.h>
#include <goo/GooString.h>
#include <splash/SplashBitmap.h>

#include <mutex>
#include <string>

namespace zq {
namespace {

void quietPoppler(ErrorCategory, Goffset, const char*) {}

// poppler-cpp (which the tests' PDF readers use) may drop the parameters when its last
// document goes, so their presence is checked at every open, not once.
void ensurePopplerReady() {
    static std::mutex m;
    std::lock_guard lock(m);
    if (!globalParams) globalParams = std::make_unique<GlobalParams>();
    setErrorCallback(&quietPoppler);
}

SplashColorMode splashMode(ColourMode mode) {
    switch (mode) {
    case ColourMode::Colour: return splashModeRGB8;
    case ColourMode::Grey: return splashModeMono8;
    case ColourMode::BlackWhite: return splashModeMono1;
    }
    return splashModeRGB8;
}

PageLayout layoutOf(ColourMode mode) {
    switch (mode) {
    case ColourMode::Colour: return PageLayout::Rgb24;
    case ColourMode::Grey: return PageLayout::Grey8;
    case ColourMode::BlackWhite: return PageLayout::Bilevel1;
    }
    return PageLayout::Rgb24;
}

// Splash decides each 1-bit pixel by comparing its grey value with a halftone screen
// whose cells are clamped between a black and a white threshold. Both thresholds at the
// settings' level make every cell that level: a plain split, a grey value below it is
// black, as the grey rendering split at the threshold gave. The device keeps those
// parameters private and exposes no setter; the explicit instantiation below is the
// language's sanctioned way to name a private member, checked against poppler's header
// at compile time.
SplashScreenParams SplashOutputDev::*screenParamsOf();
template <SplashScreenParams SplashOutputDev::*Member>
struct ScreenParamsAccess {
    friend SplashScreenParams SplashOutputDev::*screenParamsOf() { return Member; }
};
template struct ScreenParamsAccess<&SplashOutputDev::screenParams>;

// The page device: Splash's own, with the threshold above for 1-bit pages and the
// direct path of page_image.h for images drawn smaller than they are stored.
class PageOutputDev : public SplashOutputDev {
public:
    PageOutputDev(SplashColorMode mode, SplashColorPtr paper, int threshold)
        : SplashOutputDev(mode, /*bitmapRowPadA=*/1, /*reverseVideoA=*/false, paper), threshold_(threshold),
          level_(threshold / 255.0) {}

    // The device sets its screen parameters again at every page, before it makes that
    // page's rasteriser; the screen reads them at its first pixel, after this.
    void startPage(int pageNum, GfxState* state, XRef* xref) override {
        SplashOutputDev::startPage(pageNum, state, xref);
        SplashScreenParams& p = this->*screenParamsOf();
        p.blackThreshold = level_;
        p.whiteThreshold = level_;
        pageBitmap_ = getBitmap();
    }

    // Splash would lay the page on the paper here, in a pass of its own; render() does it
    // with a loop that vectorises (the same bytes), before anything reads the page.
    void endPage() override {}

    void drawImage(GfxState* state, Object* ref, Stream* str, int width, int height, GfxImageColorMap* colorMap,
                   bool interpolate, const int* maskColors, bool inlineImg) override {
        // A transparency group draws into a bitmap of its own, composited later.
        if (!maskColors && getBitmap() == pageBitmap_) {
            if (const auto at = downscaledPlacement(state, getSplash(), getBitmap(), colorMap, width, height)) {
                drawDownscaledImage(str, width, height, colorMap, getBitmap(), *at, threshold_);
                return;
            }
        }
        SplashOutputDev::drawImage(state, ref, str, width, height, colorMap, interpolate, maskColors, inlineImg);
    }

private:
    int threshold_;
    double level_;
    SplashBitmap* pageBitmap_ = nullptr;
};

}  // namespace

struct PdfPages::State {
    std::unique_ptr<PDFDoc> doc;
    std::unique_ptr<PageOutputDev> device;
    ConversionSettings settings;
};

PdfPages::PdfPages(std::unique_ptr<State> state) : state_(std::move(state)) {}
PdfPages::~PdfPages() = default;

std::unique_ptr<PdfPages> PdfPages::open(const std::filesystem::path& pdf, const ConversionSettings& s) {
    ensurePopplerReady();
    auto st = std::make_unique<State>();
    st->settings = s;
    st->doc = std::make_unique<PDFDoc>(std::make_unique<GooString>(pdf.string()));
    if (!st->doc->isOk() || st->doc->getNumPages() < 1) return nullptr;

    SplashColor paper{0xff, 0xff, 0xff, 0xff};  // white: render() lays pages on it (compositeOnWhite)
    st->device = std::make_unique<PageOutputDev>(splashMode(s.mode), paper, s.threshold);
    // Smoothed edges would only be thresholded away again on 1-bit pages.
    const bool smooth = s.antialias && s.mode != ColourMode::BlackWhite;
    st->device->setFontAntialias(smooth);
    st->device->setVectorAntialias(smooth);
    st->device->setFreeTypeHinting(/*enable=*/false, /*enableSlightHinting=*/false);
    st->device->startDoc(st->doc.get());
    return std::unique_ptr<PdfPages>(new PdfPages(std::move(st)));
}

int PdfPages::count() const { return state_->doc->getNumPages(); }

PageView PdfPages::render(int index) {
    const double dpi = state_->settings.dpi;
    state_->doc->displayPage(state_->device.get(), index + 1, dpi, dpi, /*rotate=*/0, /*useMediaBox=*/false,
                             /*crop=*/true, /*printing=*/false);
    SplashBitmap* bitmap = state_->device->getBitmap();
    if (!bitmap || bitmap->getWidth() < 1 || bitmap->getHeight() < 1 || !bitmap->getDataPtr())
        throw Error(0, "page " + std::to_string(index + 1) + " of the PDF cannot be rendered", "conversion");
    if (const std::uint8_t* alpha = bitmap->getAlphaPtr()) {
        const int comps = bitmap->getMode() == splashModeRGB8 ? 3 : 1;
        for (int y = 0; y < bitmap->getHeight(); ++y)
            compositeOnWhite(bitmap->getDataPtr() + static_cast<std::ptrdiff_t>(y) * bitmap->getRowSize(),
                             alpha + static_cast<std::ptrdiff_t>(y) * bitmap->getWidth(),
                             static_cast<std::size_t>(bitmap->getWidth()), comps);
    }
    PageView v;
    v.data = bitmap->getDataPtr();
    v.stride = static_cast<std::size_t>(bitmap->getRowSize());
    v.width = static_cast<std::uint32_t>(bitmap->getWidth());
    v.height = static_cast<std::uint32_t>(bitmap->getHeight());
    v.layout = layoutOf(state_->settings.mode);
    return v;
}

}  // namespace zq
