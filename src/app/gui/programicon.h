#pragma once
// The program's icon, drawn from data/zel_QUIRNOVA.svg at build time in the usual sizes
// and built into the program, so every window shows it without any file beside it.

#include <QIcon>

namespace zq {

/// The icon in every size the build drew (16 to 256 pixels).
QIcon programIcon();

}  // namespace zq
