#include "app/gui/formgeometry.h"

#include "common/product.h"

#include <QSettings>

#include <cmath>

namespace zq {
namespace {

const char* const kKeys[4] = {"MainLeft", "MainTop", "MainWidth", "MainHeight"};

float readTwips(const QSettings& s, const char* key, float fallback) {
    const QVariant v = s.value(QLatin1String(key));
    if (!v.isValid())
        return fallback;
    // Written by us with a dot; accept a decimal comma as a hand-edited file may have.
    QString text = v.toString().trimmed();
    text.replace(QChar(','), QChar('.'));
    bool ok = false;
    const float f = text.toFloat(&ok);
    return ok && std::isfinite(f) ? f : fallback;
}

int toPixels(float twips) { return int(std::lround(twips / kTwipsPerPixel)); }

}  // namespace

FormGeometry FormGeometry::read(const QString& section, const FormGeometry& d) {
    QSettings s(QString::fromUtf8(kSettingsOrganisation), QString::fromUtf8(kAppTitle));
    s.beginGroup(section);
    return FormGeometry{readTwips(s, kKeys[0], d.left), readTwips(s, kKeys[1], d.top),
                        readTwips(s, kKeys[2], d.width), readTwips(s, kKeys[3], d.height)};
}

void FormGeometry::write(const QString& section) const {
    QSettings s(QString::fromUtf8(kSettingsOrganisation), QString::fromUtf8(kAppTitle));
    s.beginGroup(section);
    const float values[4] = {left, top, width, height};
    for (int i = 0; i < 4; ++i)
        s.setValue(QLatin1String(kKeys[i]), QString::number(values[i], 'g', 7));
}

FormGeometry FormGeometry::fromPixels(QPoint pos, QSize size) {
    return FormGeometry{float(pos.x() * kTwipsPerPixel), float(pos.y() * kTwipsPerPixel),
                        float(size.width() * kTwipsPerPixel), float(size.height() * kTwipsPerPixel)};
}

QPoint FormGeometry::pixelPos() const { return {toPixels(left), toPixels(top)}; }

QSize FormGeometry::pixelSize() const { return {toPixels(width), toPixels(height)}; }

}  // namespace zq
