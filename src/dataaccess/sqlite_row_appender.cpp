#include "dataaccess/sqlite_row_appender.h"

#include "common/error.h"
#include "dataaccess/sql_text.h"

namespace zq {

SqliteRowAppender::SqliteRowAppender(sqlite3* db, std::string table, std::vector<std::string> columns, std::string source)
    : db_(db), table_(std::move(table)), columns_(std::move(columns)), source_(std::move(source)) {}

Statement& SqliteRowAppender::statementFor(const std::vector<bool>& present) {
    // Rows whose Nulls fall in ever new places make ever new texts: a bound keeps the
    // cache small.
    constexpr std::size_t kMostStatements = 32;
    if (auto found = statements_.find(present); found != statements_.end()) return found->second;
    if (statements_.size() >= kMostStatements) statements_.clear();
    std::string cols, marks;
    int n = 0;
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        if (!present[i]) continue;
        const std::string separator = n++ ? ", " : "";
        cols += separator + sqliteName(columns_[i]);
        marks += separator + "?" + std::to_string(n);
    }
    const std::string sql = n == 0 ? "INSERT INTO " + sqliteName(table_) + " DEFAULT VALUES"
                                   : "INSERT INTO " + sqliteName(table_) + " (" + cols + ") VALUES (" + marks + ")";
    return statements_.try_emplace(present, db_, sql, source_).first->second;
}

void SqliteRowAppender::add(const std::vector<Value>& values) {
    if (values.size() != columns_.size())
        throw Error(kErrProviderFailure, "row of " + std::to_string(values.size()) + " values for " +
                                             std::to_string(columns_.size()) + " columns of " + table_, source_);
    present_.assign(values.size(), false);
    for (std::size_t i = 0; i < values.size(); ++i) present_[i] = !values[i].isNull();
    Statement& st = statementFor(present_);
    int n = 0;
    for (std::size_t i = 0; i < values.size(); ++i)
        if (present_[i]) st.bind(++n, values[i]);
    // reset also when the insert is refused: a statement left mid-way holds the file
    struct Reset {
        Statement& st;
        ~Reset() { st.reset(); }
    } reset{st};
    st.step();
}

}  // namespace zq
