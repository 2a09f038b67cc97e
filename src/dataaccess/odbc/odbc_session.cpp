#include "dataaccess/odbc/odbc_session.h"

#include "dataaccess/odbc/odbc_diagnostics.h"
#include "dataaccess/odbc/odbc_text.h"

#include <sqlext.h>
#include <sqlucode.h>

namespace zq {

namespace {

// The login branches on the word "password" in the description (case-sensitive).
// psqlODBC and the Informix driver both say it for a refused login; a driver that only
// says so through a class-28 SQLSTATE gets the word added, so the login still shows
// "Password errata!".
// NOTE: psqlODBC reports a refused login as SQLSTATE 08001 with the server's text
// "password authentication failed for user ..."; the text is what counts.
void markRefusedLogin(Error& e) {
    if (e.sqlState().rfind("28", 0) != 0) return;
    if (std::string(e.description()).find("password") != std::string::npos) return;
    Error marked(e.number(), e.description() + "\n(invalid user name or password)", e.source(),
                 e.systemCode());
    marked.withDriverState(e.sqlState(), e.nativeCode());
    e = marked;
}

}  // namespace

OdbcSession::OdbcSession(std::shared_ptr<OdbcEnvironment> env, const std::string& connectionString,
                         const std::string& database)
    : env_(std::move(env)) {
    const std::string source = "ODBC connect " + database;
    SQLHANDLE h = SQL_NULL_HANDLE;
    checkOdbc(SQLAllocHandle(SQL_HANDLE_DBC, env_->get(), &h), SQL_HANDLE_ENV, env_->get(), source);
    dbc_ = DbcHandle(h);
    SQLSetConnectAttr(h, SQL_ATTR_LOGIN_TIMEOUT, reinterpret_cast<SQLPOINTER>(20), 0);

    OdbcWString in = toOdbcText(connectionString);
    SQLWCHAR out[1024];
    SQLSMALLINT outLen = 0;
    SQLRETURN rc = SQLDriverConnectW(h, nullptr, in.data(), static_cast<SQLSMALLINT>(in.size()), out,
                                     static_cast<SQLSMALLINT>(std::size(out)), &outLen,
                                     SQL_DRIVER_NOPROMPT);
    if (!SQL_SUCCEEDED(rc)) {
        Error e = odbcError(SQL_HANDLE_DBC, h, source);
        markRefusedLogin(e);
        if (!database.empty() && e.description().find(database) == std::string::npos &&
            e.sqlState().rfind("28", 0) != 0) {
            Error named(e.number(), e.description() + "\n(database " + database + ")", e.source(),
                        e.systemCode());
            named.withDriverState(e.sqlState(), e.nativeCode());
            throw named;
        }
        throw e;
    }
    connected_ = true;

    SQLWCHAR name[256] = {};
    SQLSMALLINT nameLen = 0;
    if (SQL_SUCCEEDED(SQLGetInfoW(h, SQL_DRIVER_NAME, name, sizeof name, &nameLen)))
        driverName_ = fromOdbcText(name, static_cast<std::size_t>(nameLen) / sizeof(SQLWCHAR));
    // NOTE: psqlODBC's ANSI driver (psqlodbca.so) refuses SQL_C_WCHAR ("Received an
    // unsupported type"), and unixODBC narrows the W calls it forwards to it character
    // by character; its bytes are the database's encoding (UTF-8 for ours).
    wideText_ = driverName_.rfind("psqlodbca", 0) != 0 && driverName_.rfind("PSQLODBCA", 0) != 0;
}

OdbcSession::~OdbcSession() {
    if (!connected_) return;
    // SQLDisconnect refuses while a transaction is open: end it first, quietly.
    SQLEndTran(SQL_HANDLE_DBC, dbc_.get(), SQL_ROLLBACK);
    SQLDisconnect(dbc_.get());
}

bool OdbcSession::dead() const noexcept {
    SQLUINTEGER v = SQL_CD_FALSE;
    if (!SQL_SUCCEEDED(SQLGetConnectAttr(dbc_.get(), SQL_ATTR_CONNECTION_DEAD, &v, 0, nullptr)))
        return false;
    return v == SQL_CD_TRUE;
}

}  // namespace zq
