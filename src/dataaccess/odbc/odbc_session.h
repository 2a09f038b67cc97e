#pragma once
// One live connection to a data source: the connection handle from SQLDriverConnect to
// SQLDisconnect. Statements hold their session, so a handle is never freed under a
// statement that still uses it (the connection may meanwhile have moved to a new one).

#include "dataaccess/odbc/odbc_environment.h"

#include <memory>
#include <string>

namespace zq {

class OdbcSession {
public:
    /// Connects with a complete ODBC connection string. `database` names the database
    /// in errors. Throws zq::Error: number kErrProviderFailure; a refused login has
    /// "password" in its description.
    OdbcSession(std::shared_ptr<OdbcEnvironment> env, const std::string& connectionString,
                const std::string& database);
    ~OdbcSession();
    OdbcSession(const OdbcSession&) = delete;
    OdbcSession& operator=(const OdbcSession&) = delete;

    SQLHDBC get() const noexcept { return dbc_.get(); }
    /// True when the driver knows the link to the server is gone (SQL_ATTR_CONNECTION_DEAD).
    bool dead() const noexcept;
    /// Driver name as SQLGetInfo reports it (psqlodbcw.so, iclit09b.so ...).
    const std::string& driverName() const noexcept { return driverName_; }
    /// False for drivers without SQL_C_WCHAR (psqlODBC's ANSI driver): text then
    /// travels as UTF-8 bytes through the narrow entry points.
    bool wideText() const noexcept { return wideText_; }

private:
    std::shared_ptr<OdbcEnvironment> env_;
    DbcHandle dbc_;
    bool connected_ = false;
    std::string driverName_;
    bool wideText_ = true;
};

}  // namespace zq
