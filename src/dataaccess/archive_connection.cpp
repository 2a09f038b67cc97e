#include "dataaccess/archive_db.h"

#include "common/error.h"
#include "dataaccess/sqlite_connection.h"
#include "dataaccess/sqlite_handle.h"

#include <filesystem>

namespace zq {

namespace {
constexpr const char* kSource = "zq.archive";
}

std::shared_ptr<sqlite3> openArchiveHandle(const std::string& file) {
    if (!std::filesystem::is_regular_file(file))
        throw Error(kErrProviderFailure, "Could not find file '" + file + "'.", kSource);
    return std::shared_ptr<sqlite3>(openSqliteFile(file, /*create=*/false, kSource));
}

ConnectionPtr openArchiveConnection(const std::string& file, const std::string& connectionString) {
    SqliteConnection::Options o;
    o.engine = "archive";
    o.source = kSource;
    return std::make_unique<SqliteConnection>(openArchiveHandle(file), connectionString, o);
}

}  // namespace zq
