#pragma once
// Where the two choices of the option control go: element 0 takes the left half of the
// control and element 1 the right half (it starts at half the width), both the full
// height. Computed in twips, the unit the forms lay out in (15 twips per pixel at 96 dpi).

#include "optionctl/lumechoice_export.h"

#include <QRect>

namespace zq {

class LUMECHOICE_EXPORT OptionLayout {
public:
    static constexpr int kTwipsPerPixel = 15;

    /// The rectangle of element index (0 or 1) in a control of the given size, in twips.
    static QRect placeTwips(int index, int widthTwips, int heightTwips);
    /// The same in pixels for a control of the given pixel size.
    static QRect placePixels(int index, int widthPixels, int heightPixels);
};

}  // namespace zq
