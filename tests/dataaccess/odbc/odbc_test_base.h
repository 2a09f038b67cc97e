#pragma once
// A fresh Informix-like database on the test server per test, owned by an account with
// a password, and a connection to it through the ODBC engine.

#include "dataaccess/connection.h"
#include "dataaccess/resolver.h"
#include "pg_server.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace zq::test {

class OdbcServerTest : public ::testing::Test {
protected:
    void SetUp() override;

    /// The target of this test's database, with `password` (the account's when empty).
    TarvTarget target(const std::string& password = {}) const;
    /// A new connection through the ODBC engine.
    ConnectionPtr connect(const std::string& password = {}) const;
    /// Reads a single value with a static recordset.
    Value scalar(const std::string& sql) const;
    /// The link step's connect string to this test's database.
    std::string linkConnect() const;

    std::unique_ptr<PgTarv> tarv_;
    std::string path_;
    ConnectionPtr conn_;
};

}  // namespace zq::test
