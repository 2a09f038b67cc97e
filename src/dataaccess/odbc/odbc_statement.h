#pragma once
// One statement handle on a session: executes a text, describes its columns, fetches
// rows as zq::Value lists, binds parameters for the statements the engine builds itself.

#include "dataaccess/odbc/odbc_handle.h"
#include "dataaccess/odbc/odbc_session.h"
#include "runtime/value.h"

#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace zq {

/// A result column as SQLDescribeCol reports it.
struct OdbcColumn {
    std::string name;
    SQLSMALLINT sqlType = 0;
    SQLULEN size = 0;
    SQLSMALLINT digits = 0;
    bool nullable = true;
    bool autoNumbered = false;  ///< SQL_DESC_AUTO_UNIQUE_VALUE: a SERIAL column
};

class OdbcStatement {
public:
    explicit OdbcStatement(std::shared_ptr<OdbcSession> session);
    OdbcStatement(OdbcStatement&&) noexcept = default;
    OdbcStatement& operator=(OdbcStatement&&) noexcept = default;

    /// Executes `sql` (parameters bound before, if any). Returns false when the driver
    /// answered SQL_NO_DATA (an UPDATE or DELETE that touched no row). Throws zq::Error.
    bool execute(const std::string& sql);
    /// Rows affected by the last INSERT/UPDATE/DELETE; -1 when unknown.
    long rowCount();
    /// Columns of the current result (empty for a statement without one).
    const std::vector<OdbcColumn>& columns();
    /// Moves to the next row and reads it; false after the last.
    bool fetch(std::vector<Value>& row);
    /// Binds `v` as parameter `index` (1-based) for a column described by `col`; the
    /// value is copied and kept until the statement is destroyed or unbind().
    void bind(int index, const Value& v, const OdbcColumn& col);
    /// Binds `v` as parameter `index` (1-based) by its own kind, for a statement whose
    /// column types the caller does not know: Integer and Boolean as INTEGER (BIGINT
    /// beyond 32 bits), Decimal as DOUBLE, DateTime as DATE when it has no time of day
    /// else TIMESTAMP, Text as VARCHAR, Null as a VARCHAR null.
    void bindValue(int index, const Value& v);
    void unbind();
    /// Closes the cursor; the handle can run another statement.
    void closeCursor() noexcept;

    SQLHSTMT get() const noexcept { return stmt_.get(); }
    const std::shared_ptr<OdbcSession>& session() const noexcept { return session_; }

private:
    Value readColumn(SQLUSMALLINT index, const OdbcColumn& col);
    [[noreturn]] void fail(const std::string& what);

    struct Param {
        std::vector<char> data;
        SQLLEN indicator = 0;
    };

    std::shared_ptr<OdbcSession> session_;
    StmtHandle stmt_;
    std::vector<OdbcColumn> columns_;
    bool described_ = false;
    std::deque<Param> params_;  // stable addresses: the driver reads them at execute time
};

}  // namespace zq
