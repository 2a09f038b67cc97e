#include "dataaccess/sqlite_connection.h"

#include "common/error.h"
#include "dataaccess/sql_text.h"
#include "dataaccess/sqlite_recordset.h"
#include "dataaccess/sqlite_row_appender.h"

#include <sqlite3.h>

namespace zq {

SqliteConnection::SqliteConnection(std::shared_ptr<sqlite3> db, std::string connectionString, Options options)
    : db_(std::move(db)), connectionString_(std::move(connectionString)), options_(std::move(options)) {}

SqliteConnection::~SqliteConnection() = default;

sqlite3* SqliteConnection::handle() const {
    if (!db_)
        throw Error(kErrProviderFailure, "Operation is not allowed when the object is closed.", options_.source);
    return db_.get();
}

void SqliteConnection::close() { db_.reset(); }

long runStatement(sqlite3* db, const std::string& sql, const std::string& source) {
    Statement st(db, sql, source);
    bool writes = !sqlite3_stmt_readonly(st.get());
    while (st.step()) {
    }
    if (!writes) return -1;
    return upperAscii(trimBlanks(sql)).rfind("CREATE", 0) == 0 || upperAscii(trimBlanks(sql)).rfind("DROP", 0) == 0
               ? -1
               : sqlite3_changes(db);
}

long SqliteConnection::execute(const std::string& text) {
    sqlite3* db = handle();
    const std::string sql = options_.rewrite ? options_.rewrite(text) : text;
    if (options_.intercept)
        if (auto handled = options_.intercept(db, sql)) return *handled;
    return runStatement(db, sql, options_.source);
}

long SqliteConnection::execute(const std::string& text, const std::vector<Value>& params) {
    sqlite3* db = handle();
    Statement st(db, options_.rewrite ? options_.rewrite(text) : text, options_.source);
    for (std::size_t i = 0; i < params.size(); ++i) st.bind(static_cast<int>(i) + 1, params[i]);
    st.step();
    return sqlite3_changes(db);
}

RecordsetPtr SqliteConnection::openRecordset(const std::string& sql, CursorType cursor, LockType lock,
                                             const std::vector<Value>& params) {
    SqliteRecordsetOptions o;
    o.cursor = cursor;
    o.lock = lock;
    o.padChar = options_.padChar;
    o.source = options_.source;
    o.params = params;
    return std::make_unique<SqliteRecordset>(handle(), options_.rewrite ? options_.rewrite(sql) : sql, o);
}

RecordsetPtr SqliteConnection::openRecordset(const std::string& sqlOrTable, CursorType cursor, LockType lock) {
    SqliteRecordsetOptions o;
    o.cursor = cursor;
    o.lock = lock;
    o.padChar = options_.padChar;
    o.source = options_.source;
    const bool tableName = trimBlanks(sqlOrTable).find_first_of(" \t\r\n") == std::string::npos;
    return std::make_unique<SqliteRecordset>(
        handle(), options_.rewrite && !tableName ? options_.rewrite(sqlOrTable) : sqlOrTable, o);
}

RowAppenderPtr SqliteConnection::openRowAppender(const std::string& table, const std::vector<std::string>& columns) {
    return std::make_unique<SqliteRowAppender>(handle(), table, columns, options_.source);
}

void SqliteConnection::beginTrans() { execSql(handle(), "BEGIN", options_.source); }
void SqliteConnection::commitTrans() { execSql(handle(), "COMMIT", options_.source); }
void SqliteConnection::rollbackTrans() { execSql(handle(), "ROLLBACK", options_.source); }

}  // namespace zq
