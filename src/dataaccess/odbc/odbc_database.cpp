#include "dataaccess/odbc/odbc_database.h"

#include "dataaccess/odbc/odbc_diagnostics.h"

#include <sqlext.h>

#include <cctype>
#include <optional>

namespace zq {

OdbcDatabase::OdbcDatabase(std::string odbcConnectionString, std::string database)
    : connectionString_(std::move(odbcConnectionString)),
      database_(std::move(database)),
      env_(OdbcEnvironment::shared()) {
    session_ = std::make_shared<OdbcSession>(env_, connectionString_, database_);
    open_ = true;
    // NOTE: psqlODBC streams a forward-only read (UseDeclareFetch) through a cursor in
    // an implicit transaction; when another statement on the same session fails, the
    // driver ends that transaction and the cursor with it, and the read then stops
    // early without any error. Outside a transaction such reads therefore get a session
    // of their own.
    std::string driver = session_->driverName();
    for (auto& c : driver) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    separateReaders_ = driver.rfind("psqlodbc", 0) == 0;
}

void OdbcDatabase::close() noexcept {
    // Recordsets still open keep their own session alive until they are released.
    session_.reset();
    idleReaders_.clear();
    open_ = false;
    inTransaction_ = false;
    lost_ = false;
}

void OdbcDatabase::requireOpen() const {
    if (!open_)
        throw Error(kErrProviderFailure, "Operation is not allowed when the connection is closed",
                    "ODBC " + database_);
}

std::shared_ptr<OdbcSession> OdbcDatabase::session() {
    requireOpen();
    if (lost_ || session_->dead()) {
        if (inTransaction_) {
            // The server rolled the transaction back when the link broke: say so once,
            // then the next statement starts afresh.
            inTransaction_ = false;
            lost_ = true;
            throw Error(kErrProviderFailure,
                        "The connection to database " + database_ +
                            " was lost; the transaction in progress was rolled back",
                        "ODBC " + database_)
                .withDriverState("08S01", 0);
        }
        // A new handle: statements of the old session may still be held by recordsets.
        // Idle reader sessions went down with the server too.
        idleReaders_.clear();
        session_ = std::make_shared<OdbcSession>(env_, connectionString_, database_);
        lost_ = false;
    }
    return session_;
}

OdbcStatement OdbcDatabase::statement() {
    return OdbcStatement(session());
}

std::shared_ptr<OdbcSession> OdbcDatabase::readerSession() {
    auto live = session();
    if (!separateReaders_ || inTransaction_) return live;
    while (!idleReaders_.empty()) {
        auto reader = std::move(idleReaders_.back());
        idleReaders_.pop_back();
        if (!reader->dead()) return reader;
    }
    return std::make_shared<OdbcSession>(env_, connectionString_, database_);
}

void OdbcDatabase::releaseReader(std::shared_ptr<OdbcSession> reader) noexcept {
    if (!reader || reader == session_ || !open_ || reader->dead()) return;
    try {
        if (idleReaders_.size() < 4) idleReaders_.push_back(std::move(reader));
    } catch (...) {
        // Not kept for reuse: it disconnects when the last reference goes.
    }
}

void OdbcDatabase::noteFailure(const Error& e) noexcept {
    if (isConnectionLost(e.sqlState()) || (session_ && session_->dead())) lost_ = true;
}

namespace {

// NOTE: psqlODBC hands on the server's goodbye to a session it ended while the session
// lay idle (a restart: "terminating connection due to administrator command", SQLSTATE
// 57P01) as the answer to the next statement, which the server therefore never ran.
bool endedBeforeTheStatement(const Error& e) {
    return e.sqlState() == "57P01" || e.sqlState() == "57P02";
}

}  // namespace

std::pair<OdbcStatement, bool> OdbcDatabase::run(const std::string& sql, const std::vector<Value>& params,
                                                 bool reader) {
    for (bool first = true;; first = false) {
        auto s = reader ? readerSession() : session();
        std::optional<OdbcStatement> stmt(std::in_place, s);
        try {
            for (std::size_t i = 0; i < params.size(); ++i) stmt->bindValue(static_cast<int>(i) + 1, params[i]);
            const bool data = stmt->execute(sql);
            return {std::move(*stmt), data};
        } catch (const Error& e) {
            noteFailure(e);
            stmt.reset();
            if (reader) releaseReader(std::move(s));
            if (!first || inTransaction_ || !lost_ || !endedBeforeTheStatement(e)) throw;
        }
    }
}

bool OdbcDatabase::run(OdbcStatement& stmt, const std::string& sql) {
    try {
        return stmt.execute(sql);
    } catch (const Error& e) {
        noteFailure(e);
        throw;
    }
}

long OdbcDatabase::execute(const std::string& sql, const std::vector<Value>& params) {
    auto [stmt, data] = run(sql, params, /*reader=*/false);
    if (!data) return 0;
    return stmt.rowCount();
}

void OdbcDatabase::beginTrans() {
    auto s = session();
    if (inTransaction_)
        throw Error(kErrProviderFailure, "A transaction is already in progress on database " + database_,
                    "ODBC BeginTrans");
    SQLUSMALLINT capable = SQL_TC_NONE;
    if (SQL_SUCCEEDED(SQLGetInfo(s->get(), SQL_TXN_CAPABLE, &capable, sizeof capable, nullptr)) &&
        capable == SQL_TC_NONE)
        throw Error(kErrProviderFailure, "Database " + database_ + " does not support transactions",
                    "ODBC BeginTrans");
    try {
        checkOdbc(SQLSetConnectAttr(s->get(), SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF),
                                    SQL_IS_UINTEGER),
                  SQL_HANDLE_DBC, s->get(), "ODBC BeginTrans");
    } catch (const Error& e) {
        noteFailure(e);
        throw;
    }
    inTransaction_ = true;
}

void OdbcDatabase::endTrans(SQLSMALLINT completion, const char* what) {
    requireOpen();
    if (!inTransaction_)
        throw Error(kErrProviderFailure, "No transaction is in progress on database " + database_, what);
    inTransaction_ = false;
    SQLHDBC h = session_->get();
    SQLRETURN rc = SQLEndTran(SQL_HANDLE_DBC, h, completion);
    Error failure(0, "");
    bool failed = !SQL_SUCCEEDED(rc);
    if (failed) failure = odbcError(SQL_HANDLE_DBC, h, what);
    SQLSetConnectAttr(h, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON), SQL_IS_UINTEGER);
    if (failed) {
        noteFailure(failure);
        throw failure;
    }
}

void OdbcDatabase::commitTrans() { endTrans(SQL_COMMIT, "ODBC CommitTrans"); }
void OdbcDatabase::rollbackTrans() { endTrans(SQL_ROLLBACK, "ODBC RollbackTrans"); }

}  // namespace zq
