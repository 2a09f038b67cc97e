#pragma once
// A connection of its own to one company's TARV database, for work that must not move
// the session's company connection (the pickers' CnnDitt): completing an interrupted
// operation of another company, the consistency check.

#include "app/session.h"

#include <string>

namespace zq {

/// Opens the database of company `code` as ConnDitt would, without touching CnnDitt.
ConnectionPtr openCompanyConnection(Session& session, const std::string& code);

}  // namespace zq
