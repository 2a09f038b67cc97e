#pragma once
// zq::Connection over ODBC: a TARV database on the office's Informix server (or the
// tests' PostgreSQL), opened from the ODBC connection string the installation's
// mapping builds (odbc_connect_string.h).

#include "dataaccess/connection.h"
#include "dataaccess/odbc/odbc_database.h"

#include <memory>
#include <string>

namespace zq {

class OdbcConnection : public Connection {
public:
    /// Connects with `odbcConnectionString`; `programString` is the string the program
    /// opened (reported by connectionString()); `database` names the database in errors.
    /// Throws zq::Error (number kErrProviderFailure).
    OdbcConnection(const std::string& odbcConnectionString, std::string programString,
                   const std::string& database);
    ~OdbcConnection() override;

    int state() const override;
    void close() override;
    long execute(const std::string& sql) override;
    long execute(const std::string& sql, const std::vector<Value>& params) override;
    /// Static and dynamic cursors are read whole at open (client-side cursor, true
    /// count); forward-only reads row by row from the server.
    RecordsetPtr openRecordset(const std::string& sqlOrTable, CursorType cursor, LockType lock) override;
    RecordsetPtr openRecordset(const std::string& sql, CursorType cursor, LockType lock,
                               const std::vector<Value>& params) override;
    void beginTrans() override;
    void commitTrans() override;
    void rollbackTrans() override;
    const std::string& connectionString() const override { return programString_; }
    std::string engineName() const override { return "odbc"; }

private:
    std::shared_ptr<OdbcDatabase> db_;
    std::string programString_;
};

}  // namespace zq
