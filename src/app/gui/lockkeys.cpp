#include "app/gui/lockkeys.h"

#include <QDir>
#include <QFile>

namespace zq {

std::optional<bool> capsLockLed(const QString& ledsFolder) {
    const QDir leds(ledsFolder);
    const QStringList names =
        leds.entryList({QStringLiteral("*::capslock")}, QDir::Dirs | QDir::System | QDir::NoDotAndDotDot);
    std::optional<bool> state;
    for (const QString& name : names) {
        QFile f(leds.filePath(name + QStringLiteral("/brightness")));
        if (!f.open(QIODevice::ReadOnly))
            continue;
        bool ok = false;
        const int level = f.readAll().trimmed().toInt(&ok);
        if (!ok)
            continue;
        state = state.value_or(false) || level > 0;
    }
    return state;
}

}  // namespace zq
