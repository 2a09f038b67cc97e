#pragma once
// The state behind one ODBC Connection, shared with the recordsets opened on it: the
// connection string, the live session, the transaction in progress. When the server
// goes away between two statements the statement fails with a zq::Error; the next
// statement connects again (outside a transaction), so the error report's Retry works
// once the server is back.

#include "common/error.h"
#include "dataaccess/odbc/odbc_session.h"
#include "dataaccess/odbc/odbc_statement.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace zq {

class OdbcDatabase {
public:
    /// Connects at once. `database` is the name used in error texts.
    OdbcDatabase(std::string odbcConnectionString, std::string database);

    bool isOpen() const noexcept { return open_; }
    void close() noexcept;

    /// The live session, connecting again first when the previous one was lost.
    std::shared_ptr<OdbcSession> session();
    /// A new statement handle on the live session.
    OdbcStatement statement();
    /// The session a forward-only read streams on; hand it back with releaseReader()
    /// once the read is over. Inside a transaction it is the live session (the read
    /// must see the transaction's changes).
    std::shared_ptr<OdbcSession> readerSession();
    void releaseReader(std::shared_ptr<OdbcSession> reader) noexcept;
    /// A new statement on the live session (on a reader session when `reader`) with
    /// `params` bound (OdbcStatement::bindValue), executed; with it whether the driver
    /// answered with data (false for SQL_NO_DATA). A session the server had ended while
    /// it lay idle (the server was restarted since its last statement) is replaced and
    /// the statement sent again, outside a transaction only: inside one, the loss is
    /// reported, since the transaction's earlier statements went with the old session.
    /// Throws zq::Error.
    std::pair<OdbcStatement, bool> run(const std::string& sql, const std::vector<Value>& params, bool reader);
    /// Runs a statement through `stmt`; marks the session lost when the driver says so.
    bool run(OdbcStatement& stmt, const std::string& sql);
    /// Executes one statement; rows affected, 0 for SQL_NO_DATA, -1 when unknown.
    long execute(const std::string& sql, const std::vector<Value>& params = {});

    void beginTrans();
    void commitTrans();
    void rollbackTrans();
    bool inTransaction() const noexcept { return inTransaction_; }

    /// Call with an error raised on this database's session: remembers a lost link.
    void noteFailure(const Error& e) noexcept;

    const std::string& databaseName() const noexcept { return database_; }

private:
    void requireOpen() const;
    void endTrans(SQLSMALLINT completion, const char* what);

    std::string connectionString_;
    std::string database_;
    std::shared_ptr<OdbcEnvironment> env_;
    std::shared_ptr<OdbcSession> session_;
    bool open_ = false;
    bool lost_ = false;
    bool inTransaction_ = false;
    bool separateReaders_ = false;                            // see readerSession()
    std::vector<std::shared_ptr<OdbcSession>> idleReaders_;  // reader sessions to reuse
};

}  // namespace zq
