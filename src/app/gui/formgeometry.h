#pragma once
// Window geometry in the per-user settings store: keys "MainLeft", "MainTop",
// "MainWidth", "MainHeight" of a section, each the text of a single-precision number
// of twips (15 twips per pixel).

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

namespace zq {

/// The settings store's organisation; the application name is kAppTitle.
inline constexpr const char* kSettingsOrganisation = "zel_QUIRNOVA";
inline constexpr int kTwipsPerPixel = 15;

struct FormGeometry {
    float left = 0, top = 0, width = 0, height = 0;  ///< twips

    /// Reads the four keys of `section`; a missing or non-numeric key keeps its default.
    static FormGeometry read(const QString& section, const FormGeometry& defaults);
    /// Writes the four keys of `section`.
    void write(const QString& section) const;

    /// The geometry of a window at `pos` with `size`, in pixels.
    static FormGeometry fromPixels(QPoint pos, QSize size);
    QPoint pixelPos() const;
    QSize pixelSize() const;

    friend bool operator==(const FormGeometry&, const FormGeometry&) = default;
};

}  // namespace zq
