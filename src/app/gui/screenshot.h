#pragma once
// "--screenshot FILE": the program starts as usual, draws its main window into FILE
// (PNG) once it is up, and closes normally (logout included). Used by
// scripts/screenshot for the documentation.

#include <QString>
#include <QStringList>

namespace zq {

class frmMain;

/// The file named after "--screenshot", or the empty string.
QString screenshotRequest(const QStringList& arguments);

/// Grabs `main` into `file` shortly after the event loop starts, then closes it. A file
/// that cannot be written ends the program with exit code 3.
void scheduleScreenshot(frmMain& main, const QString& file);

}  // namespace zq
