#pragma once
// Maps every connection string the program builds to an engine:
//  - "Provider=Ifxoledbc.2;...;Data Source=<path>@<server>" (TARV common and company),
//  - "ODBC;DRIVER={INFORMIX-CLI 2.5 (32 bit)};...;DATABASE=<path>;..." (link connect),
//  - "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=<file>;..." (archive database).
// Values go in through connectionValue() and come back through parseConnectionString().
// A malformed string throws zq::Error naming what is missing, never a value.

#include "dataaccess/connection.h"
#include "dataaccess/engine_settings.h"

#include <functional>
#include <map>
#include <string>

namespace zq {

/// One TARV database as a connection string names it.
struct TarvTarget {
    std::string database;  ///< Informix path, "/usr/tarv/comune" (no "@server")
    std::string host;
    std::string server;
    std::string user;
    std::string password;
};

/// A value as it goes into a connection string: verbatim unless it holds ";" or opens
/// with "{" or a quote; then in braces with every "}" doubled (the ODBC rule), so a ";"
/// in a path or a password cannot end it early.
std::string connectionValue(const std::string& value);

/// Key/value pairs of a connection string; keys lower-cased, values as written, a
/// braced value without its braces (and "}}" read as "}").
std::map<std::string, std::string> parseConnectionString(const std::string& s);

/// True for the Jet provider string of the archive database.
bool isArchiveConnectionString(const std::string& s);
/// The TARV database a provider or link connect string names. Throws zq::Error.
TarvTarget tarvTargetOf(const std::string& connectionString);

using TarvEngineFactory =
    std::function<ConnectionPtr(const TarvTarget&, const std::string& connectionString,
                                const EngineSettings&)>;
/// Lets an engine library (the ODBC engine) plug itself in; "embedded" is built in.
void registerTarvEngine(const std::string& name, TarvEngineFactory factory);

/// Opens whatever the string names, with the process's installation().
ConnectionPtr openConnection(const std::string& connectionString);
ConnectionPtr openConnection(const std::string& connectionString, const EngineSettings& settings);

}  // namespace zq
