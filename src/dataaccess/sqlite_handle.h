#pragma once
// Owners of SQLite handles and the one place SQLite result codes become zq::Error.

#include "runtime/value.h"

#include <memory>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;
struct sqlite3_context;

namespace zq {

/// Closes a connection; statements still open keep it alive until they finish.
struct SqliteCloser {
    void operator()(sqlite3* db) const noexcept;
};
/// Finalizes a statement.
struct StatementFinalizer {
    void operator()(sqlite3_stmt* st) const noexcept;
};
/// Sole owner of a connection.
using SqliteDbPtr = std::unique_ptr<sqlite3, SqliteCloser>;

/// Throws zq::Error (kErrProviderFailure) with SQLite's message for `db`.
[[noreturn]] void throwSqlite(sqlite3* db, const std::string& what, const std::string& source);

/// Opens an existing file (never creates one unless `create`), with the busy timeout and
/// WAL journal every connection of this program uses.
SqliteDbPtr openSqliteFile(const std::string& path, bool create, const std::string& source);

/// Runs statements without results; throws on failure.
void execSql(sqlite3* db, const std::string& sql, const std::string& source);

/// One prepared statement, finalized by its destructor.
class Statement {
public:
    /// Prepares exactly one statement; a second one after ";" is refused.
    Statement(sqlite3* db, std::string_view sql, const std::string& source);
    sqlite3_stmt* get() const { return st_.get(); }
    /// true while rows come; throws on errors.
    bool step();
    /// Back to before the first row, bindings cleared.
    void reset();
    /// Binds a Value (1-based): Null/Empty as NULL, dates as ISO text, booleans as 1/0.
    void bind(int index, const Value& v);
    void bindText(int index, std::string_view text);
    void bindInt(int index, long long v);
    /// Raw column value in the storage class SQLite holds.
    Value column(int index) const;
    std::string columnText(int index) const;
    long long columnInt(int index) const;
    int columnCount() const;

private:
    sqlite3* db_;
    std::string source_;
    std::unique_ptr<sqlite3_stmt, StatementFinalizer> st_;
};

/// How a stored value reads back, from the column's declared type: dates become
/// DateTime, BIT/BOOLEAN become booleans, CHAR(n) of the TARV engine is blank-padded,
/// amounts (holdsCurrency) become Currency.
enum class ColumnConversion { Plain, Date, Boolean, PaddedChar, Currency };
struct ColumnReading {
    ColumnConversion conversion = ColumnConversion::Plain;
    int width = 0;  ///< characters, for PaddedChar
};
/// `padChar` is true for the TARV engine, whose CHAR(n) values come back padded.
ColumnReading columnReadingFor(const char* declType, bool padChar);
/// The current row's column as a Value, converted as `how` says.
Value readColumn(sqlite3_stmt* st, int index, const ColumnReading& how);

/// True for a column type that holds exact amounts: CURRENCY, MONEY, and DECIMAL or
/// NUMERIC with one to four decimals (a MONEY column as a PostgreSQL server reports it).
bool holdsCurrency(std::string_view declType);

/// How an amount is kept in an SQLite column: a number when a double holds it digit
/// for digit (every amount up to fifteen digits: SQL sums and compares it as before),
/// otherwise its Italian text ("99999999999999,99"), which a CURRENCY or MONEY column
/// does not take for a number and so keeps whole. Both read back as the same Currency,
/// and so do the doubles that files written before held.
void bindCurrency(sqlite3_stmt* st, int index, Currency c);
/// The same, as the result of a function or a link's column.
void resultCurrency(sqlite3_context* ctx, Currency c);

/// Pads UTF-8 text with blanks to `width` characters (longer text is left as it is).
std::string padToWidth(std::string text, int width);

}  // namespace zq
