#include "config/sceltadir.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace zq {
namespace {

QString withoutFinalSeparators(QString p) {
    while (p.size() > 1 && (p.endsWith(QChar('\\')) || p.endsWith(QChar('/')))) p.chop(1);
    return p;
}

// The nearest existing folder at or above `p`; empty when none.
QString existingFolderAt(QString p) {
    while (!p.isEmpty()) {
        const QFileInfo info(p);
        if (info.isDir()) return info.absoluteFilePath();
        const QString parent = info.path();
        if (parent == p || parent == QStringLiteral(".")) return {};
        p = parent;
    }
    return {};
}

}  // namespace

QString pickerStartFolder(const QString& field) {
    const QString p = withoutFinalSeparators(field.trimmed());
    if (p.isEmpty()) return {};
    if (QFileInfo(p).isDir()) return QFileInfo(p).absoluteFilePath();
    // A folder written the Windows way ("C:\Dati\Aree\" kept from another office, or a
    // value whose separators were never converted).
    QString slashed = p;
    if (QDir::separator() == QChar('/')) slashed.replace(QChar('\\'), QChar('/'));
    return existingFolderAt(withoutFinalSeparators(slashed));
}

QString SceltaDir(QWidget* owner, const QString& title, const QString& startFolder) {
    // Qt's own dialog rather than the desktop's: it looks the same on every desktop
    // and under the offscreen platform, where the tests drive it.
    const QString dir = QFileDialog::getExistingDirectory(
        owner, title, pickerStartFolder(startFolder),
        QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    return dir.isEmpty() ? QString() : QDir::toNativeSeparators(dir);
}

}  // namespace zq
