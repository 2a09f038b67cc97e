// The server goes away between two statements and comes back.

#include "common/error.h"
#include "dataaccess/odbc/odbc_engine.h"
#include "pg_server.h"
#include "../thrown_error.h"

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

TEST(OdbcOutage, AStoppedServerGivesAnErrorAndTheConnectionWorksAgainAfterARestart) {
    PgServer::fromEnvironment();  // same requirement as every server test
    Outage o("outage");
    auto& conn = o.conn;
    conn->execute("INSERT INTO t VALUES (1)");
    // A streamed read before the outage: its session is kept for the next one.
    auto before = conn->openRecordset("SELECT n FROM t", CursorType::ForwardOnly, LockType::ReadOnly);
    while (!before->eof()) before->moveNext();

    o.server.pause();
    const Error e = thrownError([&] { conn->execute("INSERT INTO t VALUES (2)"); });
    EXPECT_EQ(e.number(), kErrProviderFailure);
    EXPECT_FALSE(e.description().empty());
    EXPECT_FALSE(e.sqlState().empty());
    // Still down: the retry fails the same way instead of hanging or crashing.
    EXPECT_THROW(conn->execute("INSERT INTO t VALUES (2)"), Error);

    o.server.resume();
    EXPECT_EQ(conn->execute("INSERT INTO t VALUES (3)"), 1);
    auto rs = conn->openRecordset("SELECT n FROM t ORDER BY n", CursorType::Static, LockType::ReadOnly);
    ASSERT_EQ(rs->recordCount(), 2);
    EXPECT_EQ(rs->field(0).toInteger(), 1);
    rs->moveNext();
    EXPECT_EQ(rs->field(0).toInteger(), 3);
    auto streamed = conn->openRecordset("SELECT n FROM t ORDER BY n DESC", CursorType::ForwardOnly,
                                        LockType::ReadOnly);
    ASSERT_FALSE(streamed->eof());
    EXPECT_EQ(streamed->field(0).toInteger(), 3);
}

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
