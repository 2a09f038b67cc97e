#include "dataaccess/archive_db.h"

#include "common/error.h"
#include "dataaccess/archive_schema.h"
#include "dataaccess/jet_sql.h"
#include "dataaccess/link_module.h"
#include "dataaccess/sqlite_archive_database.h"
#include "dataaccess/sqlite_connection.h"
#include "dataaccess/sqlite_handle.h"

#include <filesystem>

namespace zq {

namespace {
constexpr const char* kSource = "zq.archive";
}

std::shared_ptr<sqlite3> openArchiveHandle(const std::string& file, bool create) {
    if (create && std::filesystem::exists(file))
        throw Error(kErrProviderFailure, "File '" + file + "' already exists.", kSource);
    if (!create && !std::filesystem::is_regular_file(file))
        throw Error(kErrProviderFailure, "Could not find file '" + file + "'.", kSource);
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
