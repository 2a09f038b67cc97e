#include "optionctl/option_layout.h"

#include <cmath>

namespace zq {

QRect OptionLayout::placeTwips(int index, int widthTwips, int heightTwips) {
    const int half = widthTwips / 2;
    if (index == 0) return QRect(0, 0, half, heightTwips);
    return QRect(half, 0, half, heightTwips);
}

QRect OptionLayout::placePixels(int index, int widthPixels, int heightPixels) {
    const QRect t = placeTwips(index, widthPixels * kTwipsPerPixel, heightPixels * kTwipsPerPixel);
    const auto px = [](int twips) { return int(std::lround(double(twips) / kTwipsPerPixel)); };
    // The second half ends at the control's right edge, whatever the rounding.
    const int left = px(t.left());
    const int width = index == 0 ? px(t.width()) : widthPixels - left;
    return QRect(left, 0, width, heightPixels);
}

}  // namespace zq
