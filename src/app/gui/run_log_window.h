#pragma once
// "Registro operazioni" of the menu "?": the log of runs of the installation, read-only,
// newest first, as `zelq log` prints it.

#include <string>

class QWidget;

namespace zq {

/// Shows the log of the archive database `archivePath` in a modal window over `parent`.
void showRunLog(QWidget* parent, const std::string& archivePath);

}  // namespace zq
