#pragma once
// How a TARV database named the Informix way (a path such as /usr/tarv/comune or
// /vol2/ditt003, plus Host, Server, User and Password of the configuration) becomes an
// ODBC connection string, by the installation's odbc.mapping:
//
//   informix:   DRIVER={<odbc.driver>} or DSN=<odbc.dsn>;HOST=<Host>;SERVER=<Server>;
//               SERVICE=sqlexec (or odbc.port);PROTOCOL=onsoctcp;DATABASE=<path>;
//               UID=<User>;PWD=<Password>
//   postgresql: DRIVER={...} or DSN=...;Server=<Host>;Port=<odbc.port>;
//               Database=<last element of the path>;UID=<User>;PWD=<Password>;
//               UseDeclareFetch=1;Fetch=2000
//
// then odbc.options verbatim. Values holding ';', '{', '}' or blanks at either end are
// wrapped in braces, as ODBC requires.

#include "dataaccess/engine_settings.h"
#include "dataaccess/resolver.h"

#include <string>

namespace zq {

/// psqlODBC reads this many rows per round trip when a forward-only cursor streams.
inline constexpr int kOdbcFetchRows = 2000;

/// The ODBC connection string for `target` under `settings`. Throws zq::Error for an
/// unknown mapping or an empty database path.
std::string odbcConnectionString(const TarvTarget& target, const EngineSettings& settings);

/// The database as the server knows it: the path (informix) or its last element
/// (postgresql).
std::string odbcDatabaseName(const TarvTarget& target, const EngineSettings& settings);

/// One "key=value" attribute, the value braced when it needs to be.
std::string odbcAttribute(const std::string& key, const std::string& value);

}  // namespace zq
