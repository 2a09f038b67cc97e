#pragma once
// The folder picker.

#include <QString>

class QWidget;

namespace zq {

/// Asks for a folder (folders of the file system only, no files shown). Returns its
/// path, or the empty string when the person cancels. `title` is the dialog's caption;
/// `startFolder`, when not empty, is where browsing begins.
QString SceltaDir(QWidget* owner, const QString& title, const QString& startFolder = {});

}  // namespace zq
