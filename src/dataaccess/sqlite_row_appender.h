#pragma once
// The RowAppender of the SQLite-backed engines: one prepared INSERT per set of columns
// that carry a value (rows of one table mostly share a few such sets), so that a Null
// leaves the column to its default without a statement being compiled for each row.

#include "dataaccess/row_appender.h"
#include "dataaccess/sqlite_handle.h"

#include <map>

namespace zq {

class SqliteRowAppender final : public RowAppender {
public:
    SqliteRowAppender(sqlite3* db, std::string table, std::vector<std::string> columns, std::string source);
    void add(const std::vector<Value>& values) override;

private:
    Statement& statementFor(const std::vector<bool>& present);

    sqlite3* db_;
    std::string table_;
    std::vector<std::string> columns_;
    std::string source_;
    std::map<std::vector<bool>, Statement> statements_;  // by the columns that carry a value
    std::vector<bool> present_;                          // reused for each row
};

}  // namespace zq
