#include "app/gui/programicon.h"

#include <QDir>

// The resource lives in a static library: naming it links it in. Qt's macro declares
// the resource's function, so it must stand outside any namespace.
static void initIconResource() { Q_INIT_RESOURCE(zq_icons); }

namespace zq {

QIcon programIcon() {
    initIconResource();
    QIcon icon;
    // One file per size, as the icon theme lays them out: "16x16/apps/zel_QUIRNOVA.png".
    const QDir sizes(QStringLiteral(":/icons"));
    for (const QString& size : sizes.entryList(QDir::Dirs))
        icon.addFile(sizes.filePath(size + QStringLiteral("/apps/zel_QUIRNOVA.png")));
    return icon;
}

}  // namespace zq
