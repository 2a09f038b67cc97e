#include "dataaccess/sqlite_archive_database.h"

#include "common/error.h"
#include "dataaccess/archive_schema.h"
#include "dataaccess/sql_text.h"
#include "dataaccess/sqlite_handle.h"

namespace zq {

namespace {
constexpr const char* kSource = "zq.archive";
}

SqliteArchiveDatabase::SqliteArchiveDatabase(std::shared_ptr<sqlite3> db, std::string path)
    : db_(db), connection_(makeArchiveConnection(db, "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + path)),
      path_(std::move(path)) {}

SqliteArchiveDatabase::~SqliteArchiveDatabase() = default;

sqlite3* SqliteArchiveDatabase::handle() const {
    if (!db_) throw Error(kErrProviderFailure, "Object invalid or no longer set: database closed", kSource);
    return db_.get();
}

std::vector<TableDef> SqliteArchiveDatabase::tableDefs() { return ArchiveSchema(handle()).tableDefs(); }
std::optional<TableDef> SqliteArchiveDatabase::tableDef(const std::string& name) {
    return ArchiveSchema(handle()).tableDef(name);
}
bool SqliteArchiveDatabase::hasTable(const std::string& name) {
    return ArchiveSchema(handle()).storedName(name).has_value();
}
void SqliteArchiveDatabase::createTable(const TableDef& def) { ArchiveSchema(handle()).createTable(def); }
void SqliteArchiveDatabase::createLink(const std::string& name, const std::string& connect,
                                       const std::string& sourceTable) {
    ArchiveSchema(handle()).createLink(name, connect, sourceTable);
}
void SqliteArchiveDatabase::renameTable(const std::string& oldName, const std::string& newName) {
    ArchiveSchema(handle()).renameTable(oldName, newName);
}
void SqliteArchiveDatabase::deleteTable(const std::string& name) { ArchiveSchema(handle()).deleteTable(name); }
void SqliteArchiveDatabase::setLinkConnect(const std::string& name, const std::string& connect,
                                           const std::string& sourceTable) {
    ArchiveSchema(handle()).setLinkConnect(name, connect, sourceTable);
}
void SqliteArchiveDatabase::execute(const std::string& sql) {
    handle();
    connection_->execute(sql);
}

// IMMEDIATE takes the write lock at once, so a grouped step cannot fail half-way for a
// lock another connection holds.
void SqliteArchiveDatabase::beginTrans() { execSql(handle(), "BEGIN IMMEDIATE", kSource); }
void SqliteArchiveDatabase::commitTrans() { execSql(handle(), "COMMIT", kSource); }
void SqliteArchiveDatabase::rollbackTrans() { execSql(handle(), "ROLLBACK", kSource); }

Connection& SqliteArchiveDatabase::connection() {
    handle();
    return *connection_;
}

RecordsetPtr SqliteArchiveDatabase::openTable(const std::string& name) {
    auto stored = ArchiveSchema(handle()).storedName(name);
    if (!stored) throw Error(kErrProviderFailure, "La tabella '" + name + "' non esiste nell'archivio", kSource);
    return connection_->openRecordset("SELECT * FROM " + sqliteName(*stored), CursorType::Keyset, LockType::Optimistic);
}

void SqliteArchiveDatabase::close() {
    if (connection_) connection_->close();
    db_.reset();
}

std::unique_ptr<ArchiveDatabase> ArchiveDatabase::open(const std::string& path) {
    return std::make_unique<SqliteArchiveDatabase>(openArchiveHandle(path, /*create=*/false), path);
}

std::unique_ptr<ArchiveDatabase> ArchiveDatabase::create(const std::string& path) {
    auto db = openArchiveHandle(path, /*create=*/true);
    ArchiveSchema(db.get()).ensureMetadata();
    return std::make_unique<SqliteArchiveDatabase>(db, path);
}

bool TableDef::isLink() const { return !trimBlanks(sourceTableName).empty(); }

const FieldDef* TableDef::findField(const std::string& name) const {
    for (const auto& f : fields)
        if (iequals(f.name, name)) return &f;
    return nullptr;
}

}  // namespace zq
