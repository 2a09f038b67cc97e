#pragma once
// Colours as the controls persist them: the original's 32-bit colour value, either
// 0x00BBGGRR or a system colour 0x800000nn (nn = the system colour index, e.g. 15 button
// face, 18 button text), which follows the desktop's palette.

#include <QColor>
#include <QPalette>
#include <QtGlobal>

namespace zq {

class OleColor {
public:
    /// Marks a system colour.
    static constexpr quint32 kSystem = 0x80000000u;

    /// The colour to paint with; system colours come from the palette.
    static QColor toColor(quint32 ole, const QPalette& palette = QPalette());
    /// The stored value of a plain colour (alpha is dropped).
    static quint32 fromColor(const QColor& color);
    /// Reads a stored value whether it was kept signed (as a Long) or unsigned.
    static quint32 fromStored(const QVariant& v, quint32 def);
};

}  // namespace zq
