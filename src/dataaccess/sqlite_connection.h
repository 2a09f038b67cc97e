#pragma once
// The Connection of both SQLite-backed engines. What differs between them (the
// statements an engine handles itself, CHAR padding) comes in through Options.

#include "dataaccess/connection.h"
#include "dataaccess/sqlite_handle.h"

#include <functional>
#include <memory>
#include <optional>

namespace zq {

class SqliteConnection final : public Connection {
public:
    /// A statement the engine handles itself: returns rows affected, or nothing to let
    /// SQLite run the statement as written.
    using Intercept = std::function<std::optional<long>(sqlite3*, const std::string&)>;
    struct Options {
        std::string engine;   ///< "embedded" or "archive"
        std::string source;   ///< error source
        bool padChar = false; ///< CHAR(n) values come back blank-padded
        Intercept intercept;
        /// Makes the program's SQL readable for SQLite (the archive's Jet names).
        std::function<std::string(const std::string&)> rewrite;
    };

    /// Shares the handle: the archive's table definitions and its connection() use one.
    SqliteConnection(std::shared_ptr<sqlite3> db, std::string connectionString, Options options);
    ~SqliteConnection() override;

    int state() const override { return db_ ? 1 : 0; }
    void close() override;
    long execute(const std::string& sql) override;
    long execute(const std::string& sql, const std::vector<Value>& params) override;
    RecordsetPtr openRecordset(const std::string& sqlOrTable, CursorType cursor, LockType lock) override;
    RecordsetPtr openRecordset(const std::string& sql, CursorType cursor, LockType lock,
                               const std::vector<Value>& params) override;
    /// Prepared INSERTs straight into the table (SqliteRowAppender).
    RowAppenderPtr openRowAppender(const std::string& table, const std::vector<std::string>& columns) override;
    void beginTrans() override;
    void commitTrans() override;
    void rollbackTrans() override;
    const std::string& connectionString() const override { return connectionString_; }
    std::string engineName() const override { return options_.engine; }

    sqlite3* handle() const;

private:
    std::shared_ptr<sqlite3> db_;
    std::string connectionString_;
    Options options_;
};

/// Runs one statement (no results expected) and returns the rows it changed, -1 for
/// statements that change no rows (DDL, SELECT).
long runStatement(sqlite3* db, const std::string& sql, const std::string& source);

}  // namespace zq
