#include "dataaccess/odbc/odbc_connection.h"

#include "dataaccess/odbc/odbc_recordset.h"

namespace zq {

OdbcConnection::OdbcConnection(const std::string& odbcConnectionString, std::string programString,
                               const std::string& database)
    : db_(std::make_shared<OdbcDatabase>(odbcConnectionString, database)),
      programString_(std::move(programString)) {}

OdbcConnection::~OdbcConnection() { db_->close(); }

int OdbcConnection::state() const { return db_->isOpen() ? 1 : 0; }

void OdbcConnection::close() { db_->close(); }

long OdbcConnection::execute(const std::string& sql) { return db_->execute(sql); }

long OdbcConnection::execute(const std::string& sql, const std::vector<Value>& params) {
    return db_->execute(sql, params);
}

RecordsetPtr OdbcConnection::openRecordset(const std::string& sql, CursorType cursor, LockType lock,
                                           const std::vector<Value>& params) {
    return std::make_unique<OdbcRecordset>(db_, sql, cursor, lock, params);
}

RecordsetPtr OdbcConnection::openRecordset(const std::string& sqlOrTable, CursorType cursor, LockType lock) {
    return std::make_unique<OdbcRecordset>(db_, sqlOrTable, cursor, lock);
}

void OdbcConnection::beginTrans() { db_->beginTrans(); }
void OdbcConnection::commitTrans() { db_->commitTrans(); }
void OdbcConnection::rollbackTrans() { db_->rollbackTrans(); }

}  // namespace zq
