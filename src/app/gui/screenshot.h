#pragma once
// "--screenshot FILE [--open MENU_ENTRY]": the program starts as usual, opens the window
// of a menu entry when one is named (as a click on it would), draws into FILE (PNG) its
// main window with what it holds, or the dialog the entry opened (a modal form, the
// wait window), and closes normally (logout included). Used by scripts/screenshot for
// the documentation.

#include <QString>
#include <QStringList>

namespace zq {

class frmMain;

/// The file named after "--screenshot", or the empty string.
QString screenshotRequest(const QStringList& arguments);

/// The menu entry named after "--open" ("mnuGestColl"), or the empty string.
QString screenshotMenuEntry(const QStringList& arguments);

/// Grabs `main`, or the dialog in front of it, into `file` shortly after the event loop
/// starts, after triggering the menu entry `open` when it is not empty, then closes it. A file that cannot be written
/// or an unknown entry ends the program with exit code 3.
void scheduleScreenshot(frmMain& main, const QString& file, const QString& open = {});

}  // namespace zq
