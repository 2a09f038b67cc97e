#pragma once
// What a killed duplication leaves of the one copy it was making, removed so that the
// copy can be made again: its table and set-aside table (empty by construction), its
// DB_ELENCO row, its TARV table and registry row, and the identity file that names it
// (with its folder, when that was all the folder held).

#include "app/session.h"
#include "dataaccess/archive_db.h"
#include "duplication/crea_copy.h"

#include <string>

namespace zq {

/// Removes the copy `serial` made in company `company` ("" when it was never linked)
/// with documents folder `folder`; each step goes through `core`'s error report. False
/// when a step was ignored.
bool removeHalfMadeCopy(Session& session, ArchiveDatabase& db, CreaCopy& core, const std::string& serial,
                        const std::string& company, const std::string& folder);

}  // namespace zq
