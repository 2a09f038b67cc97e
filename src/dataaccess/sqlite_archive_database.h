#pragma once
// ArchiveDatabase over an SQLite file: table definitions through ArchiveSchema,
// statements and recordsets through a Connection on the same handle, so that a
// transaction covers both.

#include "dataaccess/archive_db.h"
#include "dataaccess/sqlite_connection.h"

#include <memory>

namespace zq {

/// The handle every archive connection uses: the file must exist unless `create`
/// (then it must not), and the link module is registered on it.
std::shared_ptr<sqlite3> openArchiveHandle(const std::string& file, bool create);
/// The archive's Connection on a handle: ALTER … PRIMARY KEY on links is handled.
std::unique_ptr<SqliteConnection> makeArchiveConnection(std::shared_ptr<sqlite3> db,
                                                        const std::string& connectionString);

class SqliteArchiveDatabase final : public ArchiveDatabase {
public:
    SqliteArchiveDatabase(std::shared_ptr<sqlite3> db, std::string path);
    ~SqliteArchiveDatabase() override;

    std::vector<TableDef> tableDefs() override;
    std::optional<TableDef> tableDef(const std::string& name) override;
    bool hasTable(const std::string& name) override;
    void createTable(const TableDef& def) override;
    void createLink(const std::string& name, const std::string& connect, const std::string& sourceTable) override;
    void renameTable(const std::string& oldName, const std::string& newName) override;
    void deleteTable(const std::string& name) override;
    void setLinkConnect(const std::string& name, const std::string& connect, const std::string& sourceTable) override;
    void execute(const std::string& sql) override;
    void beginTrans() override;
    void commitTrans() override;
    void rollbackTrans() override;
    Connection& connection() override;
    RecordsetPtr openTable(const std::string& name) override;
    void close() override;
    const std::string& path() const override { return path_; }

private:
    sqlite3* handle() const;

    std::shared_ptr<sqlite3> db_;
    std::unique_ptr<SqliteConnection> connection_;
    std::string path_;
};

}  // namespace zq
