#pragma once
// The company and year a command names, picked as the forms' pickers would be, with
// the command's own complaint when there is no such company or its database is out of
// reach.

#include "cli/cli_command.h"
#include "lookups/lookups.h"

#include <cstddef>
#include <functional>
#include <string>

namespace zq {

/// Selects in `companies` (filled by LeggDitt) the company whose code is `code`, looking
/// from entry `first` on. False, after "zelq COMMAND: ditta non in elenco: CODE", when
/// there is none.
bool pickCompany(CliContext& ctx, const char* command, const Lookups& lookups, Picker& companies,
                 const std::string& code, std::size_t first = 0);

/// Runs `change`, the lookups' move to the company picked (CambDitt or CambDit1). False,
/// after "zelq COMMAND: database della ditta CODE non raggiungibile: …", when it cannot
/// reach the company's database; an AbortProgram still ends the program.
bool reachCompany(CliContext& ctx, const char* command, const std::string& code, const std::function<void()>& change);

/// Selects in `years` the year `text`; nothing is selected when the list has none such.
void pickYear(Picker& years, const std::string& text);

}  // namespace zq
