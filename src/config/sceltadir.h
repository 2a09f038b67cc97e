#pragma once
// The folder picker, and where a picker starts for the path a field holds.

#include <QString>

class QWidget;

namespace zq {

/// Asks for a folder (folders of the file system only, no files shown). Returns its
/// path, or the empty string when the person cancels. `title` is the dialog's caption;
/// browsing begins at pickerStartFolder(`startFolder`).
QString SceltaDir(QWidget* owner, const QString& title, const QString& startFolder = {});

/// The existing folder a picker opens at for the folder `field` names: the folder
/// itself, written with or without its final "\" (stored folders end with one) and with
/// "\" read as the separator where "/" is; else its nearest existing parent. Empty
/// when the field names nothing that exists.
QString pickerStartFolder(const QString& field);

}  // namespace zq
