#include "dataaccess/embedded_engine.h"

#include "common/error.h"
#include "dataaccess/resolver.h"
#include "tarv_fixture.h"

#include <gtest/gtest.h>

#include <regex>

namespace zq {
namespace {

using test::TarvFixture;

std::vector<std::int64_t> serialsOf(Connection& c, const std::string& sql) {
    std::vector<std::int64_t> out;
    for (auto rs = c.openRecordset(sql, CursorType::ForwardOnly, LockType::ReadOnly); !rs->eof(); rs->moveNext())
        out.push_back(rs->field(0).toInteger());
    return out;
}

long countOf(Connection& c, const std::string& sql) {
    auto rs = c.openRecordset(sql, CursorType::Static, LockType::ReadOnly);
    return rs->recordCount();
}

Error openError(const std::string& connectionString, const EngineSettings& s) {
    try {
        openConnection(connectionString, s);
    } catch (const Error& e) {
        return e;
    }
    ADD_FAILURE() << "opened";
    return Error(0, "");
}

TEST(EmbeddedEngine, WrongPasswordFailsWithProviderNumberAndThePasswordWord) {
    TarvFixture f;
    std::string s = f.commonConnectionString();
    s.replace(s.find(TarvFixture::kPassword), std::string(TarvFixture::kPassword).size(), "sbagliata");
    Error e = openError(s, f.settings());
    EXPECT_EQ(e.number(), kErrProviderFailure);
    EXPECT_NE(e.description().find("password"), std::string::npos) << e.description();
}

TEST(EmbeddedEngine, UnknownUserFailsLikeAWrongPassword) {
    TarvFixture f;
    std::string s = f.commonConnectionString();
    s.replace(s.find(TarvFixture::kUser), std::string(TarvFixture::kUser).size(), "nessuno");
    Error e = openError(s, f.settings());
    EXPECT_EQ(e.number(), kErrProviderFailure);
    EXPECT_NE(e.description().find("password"), std::string::npos);
}

TEST(EmbeddedEngine, BlanksAroundTheUserNameAreDropped) {
    TarvFixture f;
    std::string s = f.commonConnectionString();
    s.replace(s.find(TarvFixture::kUser), std::string(TarvFixture::kUser).size(), std::string("  ") + TarvFixture::kUser + " ");
    EXPECT_EQ(openConnection(s, f.settings())->state(), 1);
}

TEST(EmbeddedEngine, UnknownDatabaseIsNamedAndNotCreated) {
    TarvFixture f;
    Error e = openError(f.companyConnectionString("/usr/tarv/ditt999"), f.settings());
    EXPECT_EQ(e.number(), kErrProviderFailure);
    EXPECT_NE(e.description().find("/usr/tarv/ditt999"), std::string::npos) << e.description();
    EXPECT_FALSE(std::filesystem::exists(embeddedDatabaseFile(f.settings(), "/usr/tarv/ditt999")));
}

TEST(EmbeddedEngine, DatabasePathsMapUnderTheRoot) {
    TarvFixture f;
    EXPECT_EQ(embeddedDatabaseFile(f.settings(), "/usr/tarv/ditt001"), f.settings().embeddedRoot / "usr/tarv/ditt001.db");
    EXPECT_EQ(embeddedDatabaseFile(f.settings(), "comune"), f.settings().embeddedRoot / "comune.db");
    EXPECT_THROW(embeddedDatabaseFile(f.settings(), "/usr/../../etc/x"), Error);
    EXPECT_THROW(embeddedDatabaseFile(f.settings(), " / "), Error);
}

TEST(EmbeddedEngine, AcceptsTheInformixTypesOfTheLinkStep) {
    TarvFixture f;
    auto c = f.openCompany();
    c->execute("CREATE TABLE a2401010000001234(sys_record SERIAL,descr CHAR(50),data DATE,importo MONEY,"
               "valore DECIMAL,peso FLOAT,quota SMALLFLOAT,flag SMALLINT,numero INTEGER,note CHAR(255))");
    c->execute("CREATE UNIQUE INDEX cliente_data0042 ON a2401010000001234(sys_record)");
    c->execute("CREATE INDEX descr1234 ON a2401010000001234(descr,data)");
    c->execute("INSERT INTO a2401010000001234 VALUES(0,'Fattura','2024-03-05',12.5,3.25,1.5,0.5,1,7,NULL)");
    auto rs = c->openRecordset("SELECT * FROM a2401010000001234", CursorType::Static, LockType::ReadOnly);
    struct Expect {
        const char* field;
        const char* type;
        Value value;
    };
    const Expect expects[] = {
        {"sys_record", "SERIAL", Value(std::int64_t{1})},
        {"descr", "CHAR(50)", Value("Fattura" + std::string(43, ' '))},
        {"data", "DATE", Value(DateTime{2024, 3, 5, 0, 0, 0})},
        {"importo", "MONEY", Value(12.5)},
        {"valore", "DECIMAL", Value(3.25)},
        {"peso", "FLOAT", Value(1.5)},
        {"quota", "SMALLFLOAT", Value(0.5)},
        {"flag", "SMALLINT", Value(std::int64_t{1})},
        {"numero", "INTEGER", Value(std::int64_t{7})},
        {"note", "CHAR(255)", Value::null()},
    };
    for (const auto& e : expects) {
        SCOPED_TRACE(e.field);
        int i = rs->fieldIndex(e.field);
        ASSERT_GE(i, 0);
        EXPECT_EQ(rs->fieldTypeName(i), e.type);
        EXPECT_EQ(rs->field(i), e.value);
    }
    c->execute("DROP TABLE a2401010000001234");
    EXPECT_EQ(countOf(*c, "SELECT * FROM systables WHERE tabname = 'a2401010000001234'"), 0);
}

TEST(EmbeddedEngine, CharComparesWithoutTrailingBlanksAndComesBackPadded) {
    TarvFixture f;
    auto c = f.openCompany();
    c->execute("CREATE TABLE t(code CHAR(5), memo CHAR(3))");
    c->execute("INSERT INTO t VALUES('ab', 'xyz')");
    auto rs = c->openRecordset("SELECT code, memo FROM t WHERE code = 'ab'", CursorType::ForwardOnly, LockType::ReadOnly);
    ASSERT_FALSE(rs->eof());
    EXPECT_EQ(rs->field("code").toText(), "ab   ");
    EXPECT_EQ(rs->field("memo").toText(), "xyz");
    EXPECT_EQ(countOf(*c, "SELECT * FROM t WHERE code = 'ab   '"), 1);
}

TEST(EmbeddedEngine, SerialNumbersAboveEveryEarlierRow) {
    TarvFixture f;
    auto c = f.openCompany();
    c->execute("CREATE TABLE s(n SERIAL, x CHAR(1))");
    c->execute("INSERT INTO s VALUES(0, 'a')");            // 1
    c->execute("INSERT INTO s(x) VALUES('b')");            // 2
    c->execute("INSERT INTO s VALUES(10, 'c')");           // explicit 10
    c->execute("INSERT INTO s VALUES(0, 'd')");            // 11
    c->execute("DELETE FROM s WHERE n = 11");
    c->execute("INSERT INTO s VALUES(0, 'e')");            // 12, not 11 again
    c->execute("INSERT INTO s VALUES(5, 'f')");            // explicit below: kept, counter unchanged
    c->execute("INSERT INTO s VALUES(0, 'g')");            // 13
    EXPECT_EQ(serialsOf(*c, "SELECT n FROM s ORDER BY x"), (std::vector<std::int64_t>{1, 2, 10, 12, 5, 13}));
}

TEST(EmbeddedEngine, CatalogueAnswersAsInformix) {
    TarvFixture f;
    auto c = f.openCompany();
    c->execute("CREATE TABLE a1(k INTEGER, d CHAR(4))");
    c->execute("CREATE UNIQUE INDEX k_idx ON a1(k)");
    c->execute("CREATE INDEX d_idx ON a1(d)");
    EXPECT_EQ(countOf(*c, "SELECT * FROM systables WHERE tabname = 'a1'"), 1);
    EXPECT_EQ(countOf(*c, "SELECT * FROM systables WHERE tabname = 'a2'"), 0);
    EXPECT_EQ(countOf(*c, "SELECT * FROM systables WHERE tabname = 'zq_counters'"), 0);
    auto rs = c->openRecordset("SELECT * FROM sysindexes ORDER BY idxname", CursorType::Static, LockType::ReadOnly);
    ASSERT_EQ(rs->recordCount(), 2);
    EXPECT_EQ(rs->field("idxname").toText(), "d_idx");
    EXPECT_EQ(rs->field("idxtype").toText(), "D");
    rs->find("idxname = 'k_idx'");
    ASSERT_FALSE(rs->eof());
    EXPECT_EQ(rs->field("idxtype").toText(), "U");
    c->execute("DROP TABLE a1");
    EXPECT_EQ(countOf(*c, "SELECT * FROM sysindexes"), 0);
    // the catalogue is the connection's own: nothing was written into the file for it
    EXPECT_EQ(countOf(*c, "SELECT * FROM sqlite_schema WHERE name IN ('systables','sysindexes')"), 0);
}

TEST(EmbeddedEngine, CatalogueNamesAreLowerCaseAsInformixKeepsThem) {
    TarvFixture f;
    auto c = f.openCompany();
    c->execute("CREATE TABLE A2401(k INTEGER)");
    c->execute("CREATE INDEX Cliente_Data1234 ON A2401(k)");
    EXPECT_EQ(countOf(*c, "SELECT * FROM systables WHERE tabname = 'a2401'"), 1);
    EXPECT_EQ(countOf(*c, "SELECT * FROM sysindexes WHERE idxname = 'cliente_data1234'"), 1);
}

TEST(EmbeddedEngine, OneTextIsOneStatement) {
    TarvFixture f;
    auto c = f.openCompany();
    c->execute("CREATE TABLE t(k INTEGER); -- the only table\n");
    EXPECT_THROW(c->execute("INSERT INTO t VALUES(1); DROP TABLE t"), Error);
    EXPECT_EQ(countOf(*c, "SELECT * FROM t"), 0);
    EXPECT_EQ(countOf(*c, "SELECT * FROM systables WHERE tabname = 't'"), 1);
}

TEST(EmbeddedEngine, DatesWrittenDayMonthYearReadBackAsDates) {
    TarvFixture f;
    auto c = f.openCompany();
    c->execute("CREATE TABLE d(x DATE)");
    c->execute("INSERT INTO d VALUES('05/01/2024')");
    c->execute("INSERT INTO d VALUES('2024-01-05')");
    c->execute("INSERT INTO d VALUES('31/02/2024')");
    auto rs = c->openRecordset("d", CursorType::Static, LockType::ReadOnly);
    EXPECT_EQ(rs->field(0), Value(DateTime{2024, 1, 5, 0, 0, 0}));
    rs->moveNext();
    EXPECT_EQ(rs->field(0), Value(DateTime{2024, 1, 5, 0, 0, 0}));
    rs->moveNext();
    EXPECT_EQ(rs->field(0), Value("31/02/2024"));  // not a date: handed over as written
}

TEST(EmbeddedEngine, TransactionsAreSupported) {
    TarvFixture f;
    auto c = f.openCompany();
    c->execute("CREATE TABLE t(k INTEGER)");
    c->beginTrans();
    c->execute("INSERT INTO t VALUES(1)");
    c->rollbackTrans();
    c->beginTrans();
    c->execute("INSERT INTO t VALUES(2)");
    c->commitTrans();
    EXPECT_EQ(serialsOf(*c, "SELECT k FROM t"), (std::vector<std::int64_t>{2}));
}

TEST(EmbeddedEngine, ExecuteReportsRowsAffected) {
    TarvFixture f;
    auto c = f.openCommon();
    EXPECT_EQ(c->execute("CREATE TABLE utenti(nome CHAR(10), porta CHAR(10))"), -1);
    c->execute("INSERT INTO utenti VALUES('a', ''), ('b', '')");
    Command cmd{c.get(), "UPDATE utenti SET porta = 'WIN'WHERE nome = 'a'"};
    EXPECT_EQ(cmd.execute(), 1);
    EXPECT_EQ(c->execute("UPDATE utenti SET porta = ''"), 2);
    c->close();
    EXPECT_EQ(c->state(), 0);
    EXPECT_THROW(cmd.execute(), Error);
}

}  // namespace
}  // namespace zq
