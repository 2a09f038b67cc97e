// Connections, statements, recordset kinds, values and Find against PostgreSQL through
// psqlODBC.

#include "odbc_test_base.h"

#include "../thrown_error.h"

#include "common/error.h"
#include "dataaccess/odbc/odbc_engine.h"

#include <gmock/gmock.h>

#include <clocale>

namespace zq::test {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

TEST_F(OdbcServerTest, ExecutesStatementsAndCountsAffectedRows) {
    EXPECT_EQ(conn_->state(), 1);
    EXPECT_EQ(conn_->engineName(), "odbc");
    EXPECT_THAT(conn_->connectionString(), HasSubstr("Provider=Ifxoledbc.2"));
    conn_->execute("CREATE TABLE utenti (nome CHAR(20), password CHAR(20), porta CHAR(10))");
    EXPECT_EQ(conn_->execute("INSERT INTO utenti VALUES ('mario', 'x', NULL)"), 1);
    EXPECT_EQ(conn_->execute("INSERT INTO utenti VALUES ('anna', 'y', 'tty3')"), 1);
    EXPECT_EQ(conn_->execute("UPDATE utenti SET porta = 'WIN'WHERE nome = 'mario'"), 1);
    EXPECT_EQ(conn_->execute("UPDATE utenti SET porta = ''WHERE nome = 'nessuno'"), 0);
    EXPECT_EQ(conn_->execute("DELETE FROM utenti"), 2);
    conn_->close();
    EXPECT_EQ(conn_->state(), 0);
    EXPECT_THROW(conn_->execute("SELECT 1"), Error);
}

TEST_F(OdbcServerTest, StatementErrorsCarryTheDriversDiagnostics) {
    const Error e = thrownError([&] { conn_->execute("SELECT * FROM tabella_che_non_esiste"); });
    EXPECT_EQ(e.number(), kErrProviderFailure);
    EXPECT_EQ(e.sqlState(), "42P01");
    EXPECT_THAT(e.description(), HasSubstr("tabella_che_non_esiste"));
    EXPECT_THAT(e.source(), HasSubstr("ODBC"));
    // The connection is still usable afterwards.
    EXPECT_EQ(scalar("SELECT 41 + 1").toInteger(), 42);
}

TEST_F(OdbcServerTest, StaticRecordsetsHaveTheTrueCountAndMoveBothWays) {
    conn_->execute("CREATE TABLE t (n INTEGER)");
    conn_->execute("INSERT INTO t SELECT generate_series(1, 25)");
    auto rs = conn_->openRecordset("SELECT n FROM t ORDER BY n", CursorType::Static, LockType::ReadOnly);
    EXPECT_EQ(rs->recordCount(), 25);
    EXPECT_FALSE(rs->bof());
    EXPECT_EQ(rs->field("n").toInteger(), 1);
    rs->moveLast();
    EXPECT_EQ(rs->field("N").toInteger(), 25);
    rs->moveNext();
    EXPECT_TRUE(rs->eof());
    EXPECT_THROW(rs->field(0), Error);
    rs->moveFirst();
    EXPECT_EQ(rs->field(0).toInteger(), 1);
    rs->close();
    EXPECT_FALSE(rs->isOpen());

    auto empty = conn_->openRecordset("SELECT n FROM t WHERE n < 0", CursorType::Static, LockType::ReadOnly);
    EXPECT_EQ(empty->recordCount(), 0);
    EXPECT_TRUE(empty->eof());
    EXPECT_TRUE(empty->bof());
}

TEST_F(OdbcServerTest, ForwardOnlyRecordsetsReadOnceInOrder) {
    conn_->execute("CREATE TABLE t (n INTEGER)");
    conn_->execute("INSERT INTO t SELECT generate_series(1, 5000)");
    auto rs = conn_->openRecordset("SELECT n FROM t ORDER BY n", CursorType::ForwardOnly, LockType::ReadOnly);
    EXPECT_EQ(rs->recordCount(), -1);
    rs->moveFirst();  // allowed before the first MoveNext
    std::int64_t expected = 1;
    for (; !rs->eof(); rs->moveNext()) ASSERT_EQ(rs->field(0).toInteger(), expected++);
    EXPECT_EQ(expected, 5001);  // more than one fetch batch
    EXPECT_THROW(rs->moveFirst(), Error);
    EXPECT_THROW(rs->moveLast(), Error);
    EXPECT_THROW(rs->setField(0, Value(1)), Error);  // read-only

    // A statement on the same connection between two reads of an open cursor.
    auto a = conn_->openRecordset("SELECT n FROM t ORDER BY n", CursorType::ForwardOnly, LockType::ReadOnly);
    a->moveNext();
    EXPECT_EQ(conn_->execute("UPDATE t SET n = n WHERE n = 1"), 1);
    EXPECT_EQ(a->field(0).toInteger(), 2);
}

TEST_F(OdbcServerTest, OpensATableByName) {
    conn_->execute("CREATE TABLE regditta (anno INTEGER, ar_attiva CHAR(1))");
    conn_->execute("INSERT INTO regditta VALUES (2024, 'S')");
    auto rs = conn_->openRecordset("regditta", CursorType::Static, LockType::ReadOnly);
    ASSERT_EQ(rs->recordCount(), 1);
    EXPECT_EQ(rs->field("ar_attiva"), Value("S"));
}

TEST_F(OdbcServerTest, ValuesComeBackTyped) {
    conn_->execute(
        "CREATE TABLE v (c CHAR(10), vc VARCHAR(20), s SMALLINT, i INTEGER, d DECIMAL, m MONEY, f FLOAT,"
        " sf SMALLFLOAT, dt DATE, ts TIMESTAMP, n INTEGER)");
    conn_->execute(
        "INSERT INTO v VALUES ('abc', 'Società è già', -3, 123456, 3.25, 1234567.891, 2.5, 1.5,"
        " '2024-01-31', '2024-02-29 13:45:07', NULL)");
    auto rs = conn_->openRecordset("SELECT * FROM v", CursorType::ForwardOnly, LockType::ReadOnly);
    ASSERT_FALSE(rs->eof());
    const std::pair<const char*, Value> expected[] = {
        {"c", Value("abc       ")},  // blank-padded as Informix hands it over: the program trims where it compares
        {"vc", Value("Società è già")},
        {"s", Value(std::int64_t{-3})},
        {"i", Value(std::int64_t{123456})},
        {"d", Value(3.25)},
        {"m", Value(*Currency::parse("1234567,89"))},  // MONEY is an exact number (16,2), not a currency text
        {"f", Value(2.5)},
        {"sf", Value(1.5)},
        {"dt", Value(DateTime{2024, 1, 31, 0, 0, 0})},
        {"ts", Value(DateTime{2024, 2, 29, 13, 45, 7})},
        {"n", Value::null()},
    };
    for (const auto& [name, value] : expected) EXPECT_EQ(rs->field(name), value) << name;
}

TEST_F(OdbcServerTest, NumbersAreReadTheSameUnderAnItalianLocale) {
    // Qt sets the process locale from the environment; an Italian one has a decimal comma.
    const char* it = nullptr;
    for (const char* name : {"it_IT.UTF-8", "it_IT.utf8", "de_DE.UTF-8", "fr_FR.UTF-8"})
        if (std::setlocale(LC_NUMERIC, name)) {
            it = name;
            break;
        }
    conn_->execute("CREATE TABLE m (imp MONEY, f FLOAT)");
    conn_->execute("INSERT INTO m VALUES (12.5, 0.25)");
    auto rs = conn_->openRecordset("m", CursorType::Static, LockType::Optimistic);
    EXPECT_DOUBLE_EQ(rs->field("imp").toDouble(), 12.5);
    EXPECT_DOUBLE_EQ(rs->field("f").toDouble(), 0.25);
    rs->setField("imp", Value(7.75));
    rs->update();
    std::setlocale(LC_NUMERIC, "C");
    EXPECT_DOUBLE_EQ(scalar("SELECT imp FROM m").toDouble(), 7.75);
    if (!it) GTEST_LOG_(INFO) << "no comma-decimal locale installed: checked under C only";
}

TEST_F(OdbcServerTest, FindSearchesForwardFromTheCurrentRow) {
    conn_->execute("CREATE TABLE ar_dbelenco (ditt CHAR(3), anno INTEGER, sys_seriale CHAR(20))");
    conn_->execute("INSERT INTO ar_dbelenco VALUES ('001', 2023, 'a0712'), ('001', 2024, 'a0713'),"
                   " ('002', 2024, 'a0712')");
    auto rs = conn_->openRecordset("SELECT * FROM ar_dbelenco ORDER BY ditt, anno", CursorType::Static,
                                   LockType::ReadOnly);
    // CHAR values are padded; the condition's value is not: trailing blanks do not count.
    rs->find("sys_seriale = 'a0713'");
    ASSERT_FALSE(rs->eof());
    EXPECT_EQ(rs->field("anno").toInteger(), 2024);
    rs->find("sys_seriale = 'a0712'");  // from the current row on: the third row
    ASSERT_FALSE(rs->eof());
    EXPECT_EQ(rs->field("ditt"), Value("002"));
    rs->moveFirst();
    rs->find("anno = 2024");
    ASSERT_FALSE(rs->eof());
    EXPECT_EQ(rs->field("sys_seriale"), Value("a0713               "));
    rs->find("sys_seriale = 'A0713'");  // exact, case-sensitive
    EXPECT_TRUE(rs->eof());
    rs->moveFirst();
    EXPECT_THROW(rs->find("nessuna = 'x'"), Error);

    auto fwd = conn_->openRecordset("SELECT * FROM ar_dbelenco ORDER BY ditt, anno", CursorType::ForwardOnly,
                                    LockType::ReadOnly);
    fwd->find("ditt = '002'");
    ASSERT_FALSE(fwd->eof());
    EXPECT_EQ(fwd->field("anno").toInteger(), 2024);
}

TEST_F(OdbcServerTest, TransactionsCommitAndRollBack) {
    conn_->execute("CREATE TABLE t (n INTEGER)");
    auto other = connect();
    conn_->beginTrans();
    conn_->execute("INSERT INTO t VALUES (1)");
    EXPECT_THROW(conn_->beginTrans(), Error);
    conn_->rollbackTrans();
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM t").toInteger(), 0);

    conn_->beginTrans();
    conn_->execute("INSERT INTO t VALUES (2)");
    const auto seenElsewhere = [&] {
        return other->openRecordset("SELECT COUNT(*) FROM t", CursorType::Static, LockType::ReadOnly)->field(0).toInteger();
    };
    EXPECT_EQ(seenElsewhere(), 0);  // not yet visible elsewhere
    conn_->commitTrans();
    EXPECT_EQ(seenElsewhere(), 1);
    EXPECT_THROW(conn_->commitTrans(), Error);

    // Back in autocommit: a statement is visible at once.
    conn_->execute("INSERT INTO t VALUES (3)");
    EXPECT_EQ(seenElsewhere(), 2);
}

TEST_F(OdbcServerTest, AWrongPasswordSaysPassword) {
    const Error e = thrownError([&] { connect("sbagliata"); });
    EXPECT_EQ(e.number(), kErrProviderFailure);
    // The login shows "Password errata!" when the description has this word.
    EXPECT_THAT(e.description(), HasSubstr("password"));
    EXPECT_FALSE(e.sqlState().empty());
    EXPECT_THAT(e.description(), Not(HasSubstr("sbagliata")));
}

TEST_F(OdbcServerTest, AnUnknownDatabaseIsNamedInTheError) {
    TarvTarget t = target();
    t.database = "/usr/tarv/ditt999";
    const Error e = thrownError([&] { openOdbcConnection(t, "x", tarv_->settings()); });
    EXPECT_EQ(e.number(), kErrProviderFailure);
    EXPECT_THAT(e.description(), HasSubstr("ditt999"));
    EXPECT_THAT(e.description(), Not(HasSubstr("password")));
}

TEST_F(OdbcServerTest, AnUnreachableServerIsAProviderFailure) {
    EngineSettings s = tarv_->settings();
    s.odbcPort = "1";  // nothing listens there
    const Error e = thrownError([&] { openOdbcConnection(target(), "x", s); });
    EXPECT_EQ(e.number(), kErrProviderFailure);
    EXPECT_FALSE(e.description().empty());
    EXPECT_THAT(e.description(), Not(HasSubstr("password")));
}


TEST_F(OdbcServerTest, TheResolverOpensProviderAndLinkStringsThroughTheOdbcEngine) {
    registerOdbcEngine();
    auto common = openConnection(tarv_->providerString(path_), tarv_->settings());
    EXPECT_EQ(common->engineName(), "odbc");
    common->execute("CREATE TABLE volumi (cod_ditta CHAR(3), volume CHAR(30))");

    auto linked = openConnection(linkConnect(), tarv_->settings());
    EXPECT_EQ(linked->engineName(), "odbc");
    EXPECT_EQ(linked->connectionString(), linkConnect());
    EXPECT_EQ(linked->execute("INSERT INTO volumi VALUES ('001', '/vol2')"), 1);
}

TEST_F(OdbcServerTest, AFailedStatementDoesNotSpoilAnOpenForwardOnlyRead) {
    conn_->execute("CREATE TABLE t (n INTEGER PRIMARY KEY)");
    conn_->execute("INSERT INTO t SELECT generate_series(1, 5000)");
    auto rs = conn_->openRecordset("SELECT n FROM t ORDER BY n", CursorType::ForwardOnly, LockType::ReadOnly);
    EXPECT_THROW(conn_->execute("INSERT INTO t VALUES (1)"), Error);  // duplicate key
    EXPECT_EQ(conn_->execute("INSERT INTO t VALUES (5001)"), 1);
    long n = 0;
    for (; !rs->eof(); rs->moveNext()) ++n;
    EXPECT_GE(n, 5000);
    rs->close();
    EXPECT_EQ(connect()->execute("DELETE FROM t WHERE n = 5001"), 1);  // the insert was committed

    // The same inside a transaction, where the read shares the transaction's session.
    conn_->beginTrans();
    conn_->execute("INSERT INTO t VALUES (6001)");
    auto inTx = conn_->openRecordset("SELECT n FROM t ORDER BY n", CursorType::ForwardOnly, LockType::ReadOnly);
    EXPECT_THROW(conn_->execute("INSERT INTO t VALUES (1)"), Error);
    n = 0;
    for (; !inTx->eof(); inTx->moveNext()) ++n;
    EXPECT_EQ(n, 5001);  // sees the transaction's own row
    inTx->close();
    conn_->commitTrans();
    EXPECT_EQ(connect()->execute("DELETE FROM t WHERE n = 6001"), 1);
}

}  // namespace
}  // namespace zq::test
