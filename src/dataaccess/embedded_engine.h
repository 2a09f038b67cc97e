#pragma once
// The embedded TARV engine: each Informix database is one SQLite file under the
// installation's tarv.root (see engine_settings.h), and the server's accounts are the
// lines of one file in that root.
//
//   database path  /usr/tarv/ditt001   ->  <root>/usr/tarv/ditt001.db
//   database path  comune              ->  <root>/comune.db
//   accounts       <root>/tarv.accounts, one "user<TAB>password" per line, '#' comments
//
// Opening checks the account first (Informix answers "Incorrect password or user …")
// and then the database file; both failures carry kErrProviderFailure. Opening never
// creates anything: databases and accounts are made by the two functions below (demo
// installation, test fixtures). Each connection sees the Informix catalogue as the
// temporary views systables (tabname, tabid, tabtype, owner) and sysindexes (idxname,
// tabid, idxtype 'U'/'D', owner), computed from SQLite's own schema, so they never
// fall out of step. CHAR(n) values come back blank-padded to n characters, SERIAL
// columns number a row inserted with 0 or nothing above every earlier row.

#include "dataaccess/connection.h"
#include "dataaccess/engine_settings.h"
#include "dataaccess/resolver.h"

#include <filesystem>
#include <string>

namespace zq {

/// The SQLite file of an Informix database path. Throws zq::Error for an empty path or
/// one that climbs out of the root ("..").
std::filesystem::path embeddedDatabaseFile(const EngineSettings& s, const std::string& informixPath);
/// The accounts file of the root.
std::filesystem::path embeddedAccountsFile(const EngineSettings& s);

/// Creates an empty database (folders included); an existing one is left as it is.
void createEmbeddedDatabase(const EngineSettings& s, const std::string& informixPath);
/// Adds the account, or sets the password of an existing one.
void createEmbeddedAccount(const EngineSettings& s, const std::string& user, const std::string& password);

/// The engine behind openConnection() for tarv.engine = embedded.
ConnectionPtr openEmbeddedConnection(const TarvTarget& target, const std::string& connectionString,
                                     const EngineSettings& s);

}  // namespace zq
