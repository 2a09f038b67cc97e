#include "config/sceltadir.h"

#include <QDir>
#include <QFileDialog>

namespace zq {

QString SceltaDir(QWidget* owner, const QString& title, const QString& startFolder) {
    // Qt's own dialog rather than the desktop's: it looks the same on every desktop
    // and under the offscreen platform, where the tests drive it.
    const QString dir = QFileDialog::getExistingDirectory(
        owner, title, startFolder,
        QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    return dir.isEmpty() ? QString() : QDir::toNativeSeparators(dir);
}

}  // namespace zq
