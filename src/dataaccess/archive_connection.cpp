#include "dataaccess/archive_db.h"

#include "common/error.h"
#include "common/system_error_text.h"
#include "dataaccess/archive_schema.h"
#include "dataaccess/jet_sql.h"
#include "dataaccess/link_module.h"
#include "dataaccess/sqlite_archive_database.h"
#include "dataaccess/sqlite_connection.h"
#include "dataaccess/sqlite_handle.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace zq {

namespace {
constexpr const char* kSource = "zq.archive";

// Every link of the archive carries the TARV password in its connect string: the file
// is made readable by its owner only, before SQLite writes anything into it (its
// journal files take the same rights).
void createPrivateFile(const std::string& file) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        throw Error(kErrProviderFailure,
                    "Impossibile creare il file dell'archivio '" + file + "': " + systemErrorText(errno), kSource,
                    errno);
    ::close(fd);
}

}  // namespace

std::shared_ptr<sqlite3> openArchiveHandle(const std::string& file, bool create) {
    if (create && std::filesystem::exists(file))
        throw Error(kErrProviderFailure, "Il file dell'archivio '" + file + "' esiste già.", kSource);
    if (!create && !std::filesystem::is_regular_file(file))
        throw Error(kErrProviderFailure, "Impossibile trovare il file dell'archivio '" + file + "'.", kSource);
    if (create) createPrivateFile(file);
    auto db = openSqliteFile(file, create, kSource);
    registerLinkModule(db.get());
    return std::shared_ptr<sqlite3>(std::move(db));
}

std::unique_ptr<SqliteConnection> makeArchiveConnection(std::shared_ptr<sqlite3> db, const std::string& connectionString) {
    SqliteConnection::Options o;
    o.engine = "archive";
    o.source = kSource;
    o.rewrite = jetSqlForSqlite;
    o.intercept = [](sqlite3* handle, const std::string& sql) -> std::optional<long> {
        ArchiveSchema schema(handle);
        if (schema.executeAddPrimaryKey(sql)) return -1L;
        return std::nullopt;
    };
    return std::make_unique<SqliteConnection>(std::move(db), connectionString, o);
}

ConnectionPtr openArchiveConnection(const std::string& file, const std::string& connectionString) {
    return makeArchiveConnection(openArchiveHandle(file, /*create=*/false), connectionString);
}

}  // namespace zq
