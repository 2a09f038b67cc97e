#include "app/gui/screenshot.h"

#include "app/gui/frmmain.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QPixmap>
#include <QTimer>

#include <cstdio>

namespace zq {

QString screenshotRequest(const QStringList& arguments) {
    const qsizetype i = arguments.indexOf(QStringLiteral("--screenshot"));
    return (i >= 0 && i + 1 < arguments.size()) ? arguments[i + 1] : QString();
}

QString screenshotMenuEntry(const QStringList& arguments) {
    const qsizetype i = arguments.indexOf(QStringLiteral("--open"));
    return (i >= 0 && i + 1 < arguments.size()) ? arguments[i + 1] : QString();
}

void scheduleScreenshot(frmMain& main, const QString& file, const QString& open) {
    if (!open.isEmpty()) {
        QAction* entry = main.findChild<QAction*>(open);
        if (!entry) {
            std::fprintf(stderr, "no menu entry %s\n", qPrintable(open));
            QTimer::singleShot(0, &main, [&main] {
                main.close();
                QCoreApplication::exit(3);
            });
            return;
        }
        QTimer::singleShot(200, entry, &QAction::trigger);
    }
    // A moment for the status bar clock, the window's list and the layout passes to settle.
    QTimer::singleShot(open.isEmpty() ? 500 : 2000, &main, [&main, file] {
        // The window the entry opened: a dialog of its own (a modal form, the wait
        // window) when there is one, else the main window with its children.
        QWidget* drawn = &main;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != &main && w->isVisible() && qobject_cast<QDialog*>(w)) drawn = w;
        // A palette of 256 colours is plenty for forms and keeps the pictures small.
        const QImage picture = drawn->grab().toImage().convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
        const bool saved = picture.save(file, "PNG", 9);
        if (!saved)
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        if (auto* dialog = qobject_cast<QDialog*>(drawn)) dialog->reject();
        main.close();
        QCoreApplication::exit(saved ? 0 : 3);
    });
}

}  // namespace zq
