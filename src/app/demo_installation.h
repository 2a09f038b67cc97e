#pragma once
// A complete installation to try the program with, and to test against: configuration
// file, engines file, archive database with areas, archives, records and their PDF
// documents, the TARV common database and the company databases, on the embedded
// engine or on a PostgreSQL server. Made by "zelq demo DIR [--server odbc ...]"; the
// integration tests build one per test.

#include "app/demo_server_login.h"
#include "app/session.h"

#include <filesystem>
#include <string>
#include <vector>

namespace zq {

class DemoInstallation {
public:
    /// The login of the installation.
    static constexpr const char* kUser = "tarv";
    static constexpr const char* kPassword = "Quirnova24";

    /// One archive of the demo: its DB_ELENCO row and table.
    struct Archive {
        std::string serial;   ///< SYS_SERIALE, as stored
        std::string name;     ///< ARCHIVIO
        std::string area;     ///< AREE.AREA of its area
        std::string docs;     ///< sys_path_docs; empty for the row with Null
        std::vector<long> records;  ///< sys_record values of its rows
    };

    /// Builds the installation in `dir` (created when missing). Refuses, creating
    /// nothing, when `dir` already holds a configuration file, an archive or TARV
    /// databases. Throws zq::Error; a failed build removes what it had created.
    static void build(const std::filesystem::path& dir);
    /// As build(dir), with the TARV databases on the PostgreSQL server `server` names
    /// (tarv.engine = odbc, postgresql mapping, Host = the server): creates the login
    /// kUser (an existing one must accept kPassword) and the databases, refusing,
    /// creating nothing, when one of them exists already. The archive database and the
    /// documents stay in `dir`. A failed build drops again what it had created.
    static void build(const std::filesystem::path& dir, const DemoServerLogin& server);

    /// The configuration the installation's file holds (`host`: the TARV server).
    static Config config(const std::filesystem::path& dir, const std::string& host = "server");
    /// The Informix paths of the TARV databases: the common database, then the companies'.
    static std::vector<std::string> tarvDatabases();
    /// The archives the installation holds, in DB_ELENCO order.
    static std::vector<Archive> archives(const std::filesystem::path& dir);
};

}  // namespace zq
