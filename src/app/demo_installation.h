#pragma once
// A complete installation to try the program with, and to test against: configuration
// file, engines file, archive database with areas, archives, records and their PDF
// documents, the TARV common database and three company databases on the embedded
// engine. Made by "zelq demo DIR"; the integration tests build one per test.

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

    /// The configuration the installation's file holds.
    static Config config(const std::filesystem::path& dir);
    /// The archives the installation holds, in DB_ELENCO order.
    static std::vector<Archive> archives(const std::filesystem::path& dir);

private:
    static void buildAll(const std::filesystem::path& dir);
};

}  // namespace zq
