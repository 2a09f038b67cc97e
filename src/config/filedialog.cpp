#include "config/filedialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include <memory>

namespace zq {

QList<FileDialog::Filter> FileDialog::parseFilter(const QString& text) {
    QList<Filter> out;
    const QStringList parts = text.split(QChar('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        out.append({parts[i], parts[i + 1]});
    if (parts.size() % 2 == 1 && !parts.last().isEmpty())
        out.append({parts.last(), parts.last()});  // a lone pattern is its own description
    return out;
}

QString FileDialog::nameFilter(const Filter& f) {
    QString patterns = f.second;
    patterns.replace(QChar(';'), QChar(' '));
    patterns = patterns.simplified();
    if (patterns == QStringLiteral("*.*"))
        patterns = QStringLiteral("*");  // "*.*" would hide files without a dot
    return QStringLiteral("%1 (%2)").arg(f.first, patterns);
}

QFileDialog* FileDialog::create(QWidget* owner) const {
    auto* dlg = new QFileDialog(owner, title_);
    dlg->setOption(QFileDialog::DontUseNativeDialog, true);
    dlg->setAcceptMode(QFileDialog::AcceptOpen);
    dlg->setFileMode(QFileDialog::ExistingFile);

    QStringList names;
    for (const Filter& f : filters_)
        names << nameFilter(f);
    if (!names.isEmpty()) {
        dlg->setNameFilters(names);
        const int i = (filterIndex_ >= 1 && filterIndex_ <= names.size()) ? filterIndex_ - 1 : 0;
        dlg->selectNameFilter(names[i]);
    }
    if (!defaultExtension_.isEmpty())
        dlg->setDefaultSuffix(defaultExtension_);

    QString proposed = proposedName_;
    if (!startPath_.isEmpty()) {
        const QFileInfo start(startPath_);
        if (start.isDir()) {
            dlg->setDirectory(start.absoluteFilePath());
        } else {
            dlg->setDirectory(start.absolutePath());
            if (proposed.isEmpty())
                proposed = start.fileName();
        }
    }
    if (!proposed.isEmpty())
        dlg->selectFile(proposed);

    if (!open_.isEmpty()) dlg->setLabelText(QFileDialog::Accept, open_);
    if (!cancel_.isEmpty()) dlg->setLabelText(QFileDialog::Reject, cancel_);
    if (!lookIn_.isEmpty()) dlg->setLabelText(QFileDialog::LookIn, lookIn_);
    if (!fileName_.isEmpty()) dlg->setLabelText(QFileDialog::FileName, fileName_);
    if (!fileType_.isEmpty()) dlg->setLabelText(QFileDialog::FileType, fileType_);
    return dlg;
}

QString FileDialog::exec(QWidget* owner) const {
    std::unique_ptr<QFileDialog> dlg(create(owner));
    if (dlg->exec() != QDialog::Accepted)
        return {};
    const QStringList files = dlg->selectedFiles();
    return files.isEmpty() ? QString() : QDir::toNativeSeparators(files.first());
}

}  // namespace zq
