#pragma once
// Installation configuration outside the 13-line configuration file: which engine
// serves the TARV databases and how an Informix database path becomes a connection.
//
// File "zel_QUIRNOVA.engines" in the program folder (absent = embedded defaults):
//
//   # embedded (default) or odbc
//   tarv.engine = embedded
//   # embedded: folder under which each Informix path is an SQLite file,
//   # /usr/tarv/comune -> <root>/usr/tarv/comune.db (relative = program folder)
//   tarv.root = tarv
//   # odbc: driver name (odbcinst.ini) or DSN (odbc.ini), and the mapping of the path
//   odbc.driver = PostgreSQL Unicode
//   odbc.dsn =
//   odbc.mapping = postgresql        (or informix)
//   odbc.port = 5432
//   odbc.options =                   (appended verbatim, e.g. "UseDeclareFetch=1;Fetch=2000")
//
// Embedded engine (embedded_engine.h): the Informix database path P is the SQLite file
// <tarv.root>/P.db (leading "/" dropped, ".." refused): /usr/tarv/comune ->
// <root>/usr/tarv/comune.db. The server's accounts are <tarv.root>/tarv.accounts, one
// "user<TAB>password" per line; createEmbeddedAccount() and createEmbeddedDatabase()
// make them for the demo installation and the tests. Opening never creates a database.

#include <filesystem>
#include <string>

namespace zq {

struct EngineSettings {
    enum class Tarv { Embedded, Odbc };

    Tarv tarvEngine = Tarv::Embedded;
    std::filesystem::path embeddedRoot;  ///< absolute
    std::string odbcDriver;
    std::string odbcDsn;
    std::string odbcMapping = "informix";  ///< "informix" or "postgresql"
    std::string odbcPort;
    std::string odbcOptions;

    /// Reads "zel_QUIRNOVA.engines" from the program folder; defaults when absent
    /// (embedded, root = programFolder/"tarv"). Throws zq::Error on a malformed file.
    static EngineSettings load(const std::filesystem::path& programFolder);
    /// Writes the file (used by the demo installation and the tests).
    void save(const std::filesystem::path& programFolder) const;
    static constexpr const char* kFileName = "zel_QUIRNOVA.engines";
};

/// The settings of this process: the ones the link module uses to follow a link.
/// Set once at start (main, zelq, test fixtures). Until then, the first call loads the
/// engines file of the folder named by ZEL_QUIRNOVA_HOME (else the current folder):
/// that is how the loadable link extension finds the installation in other programs.
void setInstallation(const EngineSettings& s);
const EngineSettings& installation();

}  // namespace zq
