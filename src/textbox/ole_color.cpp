#include "textbox/ole_color.h"

#include <QVariant>

namespace zq {

namespace {

// The system colour indexes the forms use, mapped to the palette roles that play them.
QPalette::ColorRole roleOf(quint32 index) {
    switch (index) {
    case 5: return QPalette::Base;              // window background
    case 8: return QPalette::Text;              // window text
    case 13: return QPalette::Highlight;
    case 14: return QPalette::HighlightedText;
    case 15: return QPalette::Button;           // button face
    case 18: return QPalette::ButtonText;       // button text
    case 24: return QPalette::ToolTipBase;
    case 23: return QPalette::ToolTipText;
    case 4: return QPalette::Window;            // menu bar
    case 7: return QPalette::WindowText;        // menu text
    default: return QPalette::Window;
    }
}

}  // namespace

QColor OleColor::toColor(quint32 ole, const QPalette& palette) {
    if (ole & kSystem) return palette.color(QPalette::Active, roleOf(ole & 0xFFu));
    return QColor(int(ole & 0xFFu), int((ole >> 8) & 0xFFu), int((ole >> 16) & 0xFFu));
}

quint32 OleColor::fromColor(const QColor& color) {
    const QColor c = color.toRgb();
    return quint32(c.red()) | (quint32(c.green()) << 8) | (quint32(c.blue()) << 16);
}

quint32 OleColor::fromStored(const QVariant& v, quint32 def) {
    bool ok = false;
    const qlonglong n = v.toLongLong(&ok);
    return ok ? quint32(n & 0xFFFFFFFFll) : def;
}

}  // namespace zq
