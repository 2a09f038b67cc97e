#pragma once
// AccessImport: brings an office's Access archive database (Vizidore.mdb: AREE,
// DB_ELENCO, one table per archive, the archives linked to TARV as ODBC links) into
// the program's archive, an SQLite file, one way. The source is only read.
//
//   AccessImport imp(dialogs, progress);
//   ImportReport r = imp.run("/mnt/ufficio/Vizidore.mdb", "/opt/zq/Vizidore.mdb");
//   if (!r.everythingImported()) ...            // r.items says what was left out and why
//
// What comes over:
//  - every user table, with every row; each column with its Jet type code, size,
//    attributes (AutoNumber too, with the next number it would give), required and
//    allow-zero-length flags and default value; each index with its name, fields in
//    order, direction, primary, unique and ignore-nulls flags;
//  - every ODBC link (MSysObjects Connect and ForeignName) as a link of the tarvlink
//    module with the same connect string and source table, its columns as Access kept
//    them and its primary key declared. A link whose server cannot be reached now is
//    still created, as it was stored, and the report says so.
// What does not: links to other Access files, queries, forms, reports, macros, modules
// and relationships; each is named in the report with the reason.
//
// Safety: the target must not exist or be empty (no tables). The archive is built in
// "<target>.parziale" beside it, synced and renamed over the target only when every
// table was read whole; a run that was killed leaves that file, which the next run
// starts again. An unreadable, damaged or encrypted source, or a table that cannot be
// read whole, stops the import with an Italian message naming it and leaves nothing.

#include "common/dialogs.h"
#include "common/progress.h"
#include "import/import_report.h"

#include <filesystem>

namespace zq {

class AccessImport {
public:
    AccessImport(Dialogs& dialogs, Progress& progress) : dialogs_(dialogs), progress_(progress) {}

    /// Imports `source` into `target`. Refusals and failures are shown through the
    /// dialogs (exclamation) and returned in the report (completed false, failure set).
    ImportReport run(const std::filesystem::path& source, const std::filesystem::path& target);

    /// The file an import builds before it becomes `target`.
    static std::filesystem::path partialFile(const std::filesystem::path& target);

private:
    void checkTarget(const std::filesystem::path& source, const std::filesystem::path& target);
    void build(const std::filesystem::path& source, const std::filesystem::path& partial, ImportReport& report);

    Dialogs& dialogs_;
    Progress& progress_;
};

/// Title of the import's messages.
inline constexpr const char* kImportTitle = "Importazione archivio Access";

}  // namespace zq
