#pragma once
// The central error report and the rule every trapping routine follows:
// 0 ends the program, 1 retries the failing statement, 2 goes on after it.

#include "common/dialogs.h"
#include "common/error.h"

#include <functional>
#include <string>

namespace zq {

/// The text of the report, exactly as the person reads it.
std::string gestErrText(const Error& e, const std::string& module, const std::string& routine,
                        const std::string& query);

/// Shows the report (Abort/Retry/Ignore, critical icon, title "<product>: Errore non
/// previsto.") and returns 1 for Retry, 2 for Ignore, 0 for Abort and anything else.
int GestErr(Dialogs& dialogs, const Error& e, const std::string& module, const std::string& routine,
            const std::string& query);

/// Converts any exception thrown by a statement into the Error the report prints.
Error toError(const std::exception& e);

/// Runs one statement under the error report: Retry runs it again, Ignore returns false,
/// Abort throws AbortProgram. Returns true when the statement completed.
bool runGuarded(Dialogs& dialogs, const std::string& module, const std::string& routine,
                const std::string& query, const std::function<void()>& statement);

}  // namespace zq
