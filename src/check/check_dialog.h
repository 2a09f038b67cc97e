#pragma once
// The check as the program offers it: from the menu "?" ("Verifica archivi...") and,
// when the journal holds an interrupted operation, as a question right after start.
// Only Dialogs: the main window wires these to its menu entry and its start.

#include "app/session.h"

namespace zq {

/// Runs the check, shows what it found and, on a Yes, repairs what can be repaired
/// (each deletion asked again) under the writer lock, then says what is left.
void runArchiveCheck(Session& session);

/// At start: when the journal holds an unfinished operation, asks whether to check
/// now and runs the check on a Yes. Nothing at all when the journal is clean.
void offerArchiveCheck(Session& session);

}  // namespace zq
