// The server goes away inside a transaction and comes back: the loss is said, never
// hidden by a new connection (the runs' outages are in tests/linking/outage_test.cpp).

#include "common/error.h"
#include "dataaccess/odbc/odbc_engine.h"
#include "pg_server.h"

#include <gtest/gtest.h>

namespace zq::test {
namespace {

// A private server (stopping the shared one would break other tests) with one
// database and a connection to it through the ODBC engine.
struct Outage {
    explicit Outage(const std::string& name) : path(tarv.uniquePath(name)) {
        tarv.createDatabase(path);
        conn = openOdbcConnection(TarvTarget{path, tarv.host(), tarv.serverName(), tarv.user(), tarv.password()},
                                  tarv.providerString(path), tarv.settings());
        conn->execute("CREATE TABLE t (n INTEGER)");
    }
    PrivatePgServer server;
    PgTarv tarv{server.server()};
    std::string path;
    ConnectionPtr conn;
};

TEST(OdbcOutage, ATransactionCutByTheOutageIsReportedAsLost) {
    Outage o("outage_tx");
    auto& conn = o.conn;
    conn->beginTrans();
    conn->execute("INSERT INTO t VALUES (1)");
    o.server.pause();
    EXPECT_THROW(conn->execute("INSERT INTO t VALUES (2)"), Error);
    o.server.resume();
    EXPECT_THROW(conn->execute("INSERT INTO t VALUES (3)"), Error);  // says the transaction is gone
    EXPECT_EQ(conn->execute("INSERT INTO t VALUES (4)"), 1);        // then carries on, autocommit
    auto rs = conn->openRecordset("SELECT n FROM t", CursorType::Static, LockType::ReadOnly);
    ASSERT_EQ(rs->recordCount(), 1);
    EXPECT_EQ(rs->field(0).toInteger(), 4);
}

}  // namespace
}  // namespace zq::test
