#pragma once
// The ODBC engine's entry point: plugs it into the resolver under the name "odbc", so
// that every TARV connection string (provider strings and link connect strings) of an
// installation with tarv.engine = odbc opens through unixODBC.

#include "dataaccess/connection.h"
#include "dataaccess/engine_settings.h"
#include "dataaccess/resolver.h"

#include <string>

namespace zq {

/// Registers the "odbc" TARV engine (idempotent). Call once at start.
void registerOdbcEngine();

/// Opens `target` with the ODBC engine; `programString` is the string the program
/// built. Throws zq::Error (number kErrProviderFailure).
ConnectionPtr openOdbcConnection(const TarvTarget& target, const std::string& programString,
                                 const EngineSettings& settings);

}  // namespace zq
