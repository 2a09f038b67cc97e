#pragma once
// Bookkeeping of the program's windows as they open and close: their geometry in the
// settings store, the count of open windows, the main window's "&Esci" entry and the
// menu entry that opened each of them.
//
// A form names its settings section by its object name ("frmColl") followed by the
// text of its dynamic property "x_Form" ("frmColl" + "" or "frmConf" + "0").
// The main window registers the forms it opens from its menus itself; a form opened
// some other way calls OpenForm when it loads and ClosForm when it unloads.

#include <QString>

class QAction;
class QWidget;

namespace zq {

/// Default geometry of a window without stored settings, in twips.
inline constexpr float kFormDefaultLeft = 1000, kFormDefaultTop = 1000;
inline constexpr float kFormDefaultWidth = 6500, kFormDefaultHeight = 3500;

/// The settings section of a form: object name (class name when it has none) + x_Form.
QString formSection(const QWidget* form);

/// Registers a window as it loads: applies the stored geometry (an MDI child instead
/// fills the main window's inner area), counts it, disables "&Esci" and `entry`.
void OpenForm(QWidget* form, QAction* entry = nullptr);
/// Same, with the main window's menu entry named `entryName` ("mnuGestColl").
void OpenForm(QWidget* form, const QString& entryName);

/// Releases a window as it unloads: saves its geometry when it is neither minimised nor
/// maximised, counts it off, enables "&Esci" after the last one and enables `entry`.
void ClosForm(QWidget* form, QAction* entry = nullptr);
void ClosForm(QWidget* form, const QString& entryName);

/// Windows registered and not yet released.
int nForms();

}  // namespace zq
