#pragma once
// Which form each menu entry of the main window opens.

namespace zq {

class frmMain;
class Session;

/// Registers every form the program has with its menu entry. One line per form.
void registerForms(frmMain& main, Session& session);

/// After start: when an operation was interrupted, offers to check the archives.
void offerCheckAtStart(Session& session);

}  // namespace zq
