#include "app/gui/screenshot.h"

#include "app/gui/frmmain.h"

#include <QCoreApplication>
#include <QPixmap>
#include <QTimer>

#include <cstdio>

namespace zq {

QString screenshotRequest(const QStringList& arguments) {
    const qsizetype i = arguments.indexOf(QStringLiteral("--screenshot"));
    return (i >= 0 && i + 1 < arguments.size()) ? arguments[i + 1] : QString();
}

void scheduleScreenshot(frmMain& main, const QString& file) {
    // A moment for the status bar clock and the first layout passes to settle.
    QTimer::singleShot(500, &main, [&main, file] {
        const bool saved = main.grab().save(file, "PNG");
        if (!saved)
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        main.close();
        QCoreApplication::exit(saved ? 0 : 3);
    });
}

}  // namespace zq
