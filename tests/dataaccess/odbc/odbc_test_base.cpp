#include "odbc_test_base.h"

#include "dataaccess/odbc/odbc_engine.h"

namespace zq::test {

void OdbcServerTest::SetUp() {
    tarv_ = std::make_unique<PgTarv>();
    path_ = tarv_->uniquePath("db");
    tarv_->createDatabase(path_);
    conn_ = connect();
}

TarvTarget OdbcServerTest::target(const std::string& password) const {
    return TarvTarget{path_, tarv_->host(), tarv_->serverName(), tarv_->user(),
                      password.empty() ? tarv_->password() : password};
}

ConnectionPtr OdbcServerTest::connect(const std::string& password) const {
    return openOdbcConnection(target(password), tarv_->providerString(path_, password), tarv_->settings());
}

Value OdbcServerTest::scalar(const std::string& sql) const {
    auto rs = conn_->openRecordset(sql, CursorType::Static, LockType::ReadOnly);
    if (rs->eof()) return Value();
    return rs->field(0);
}

std::string OdbcServerTest::linkConnect() const {
    return "ODBC;DRIVER={INFORMIX-CLI 2.5 (32 bit)};PRO=sesoctcp;SRVR=" + tarv_->serverName() +
           ";SERV=sqlexec;HOST=" + tarv_->host() + ";DATABASE=" + path_ + ";DSN=Default;userid=" + tarv_->user() +
           ";password=" + tarv_->password();
}

}  // namespace zq::test
