#include "dataaccess/embedded_engine.h"

#include "common/error.h"
#include "dataaccess/resolver.h"
#include "tarv_fixture.h"
#include "thrown_error.h"

#include <gtest/gtest.h>

namespace zq {
namespace {

using test::TarvFixture;
using test::thrownError;

std::vector<Value> column(Connection& c, const std::string& sql) {
    std::vector<Value> out;
    for (auto rs = c.openRecordset(sql, CursorType::ForwardOnly, LockType::ReadOnly); !rs->eof(); rs->moveNext())
        out.push_back(rs->field(0));
    return out;
}

long countOf(Connection& c, const std::string& sql) {
    return c.openRecordset(sql, CursorType::Static, LockType::ReadOnly)->recordCount();
}

// The common database's connection string with one of its values changed.
std::string commonWith(const TarvFixture& f, const std::string& value, const std::string& replacement) {
    std::string s = f.commonConnectionString();
    return s.replace(s.find(value), value.size(), replacement);
}

// An embedded TARV installation with its company database open.
class EmbeddedEngine : public ::testing::Test {
protected:
    TarvFixture f;
    ConnectionPtr c = f.openCompany();
};

TEST_F(EmbeddedEngine, WrongPasswordOrUnknownUserFailsWithProviderNumberAndThePasswordWord) {
    for (const std::string& s :
         {commonWith(f, TarvFixture::kPassword, "sbagliata"), commonWith(f, TarvFixture::kUser, "nessuno")}) {
        SCOPED_TRACE(s);
        const Error e = thrownError([&] { openConnection(s, f.settings()); });
        EXPECT_EQ(e.number(), kErrProviderFailure);
        EXPECT_NE(e.description().find("password"), std::string::npos) << e.description();
    }
}

TEST_F(EmbeddedEngine, BlanksAroundTheUserNameAreDropped) {
    const std::string s = commonWith(f, TarvFixture::kUser, std::string("  ") + TarvFixture::kUser + " ");
    EXPECT_EQ(openConnection(s, f.settings())->state(), 1);
}

TEST_F(EmbeddedEngine, UnknownDatabaseIsNamedAndNotCreated) {
    const Error e = thrownError([&] { openConnection(f.companyConnectionString("/usr/tarv/ditt999"), f.settings()); });
    EXPECT_EQ(e.number(), kErrProviderFailure);
    EXPECT_NE(e.description().find("/usr/tarv/ditt999"), std::string::npos) << e.description();
    EXPECT_FALSE(std::filesystem::exists(embeddedDatabaseFile(f.settings(), "/usr/tarv/ditt999")));
}

TEST_F(EmbeddedEngine, DatabasePathsMapUnderTheRoot) {
    EXPECT_EQ(embeddedDatabaseFile(f.settings(), "/usr/tarv/ditt001"), f.settings().embeddedRoot / "usr/tarv/ditt001.db");
    EXPECT_EQ(embeddedDatabaseFile(f.settings(), "comune"), f.settings().embeddedRoot / "comune.db");
    EXPECT_THROW(embeddedDatabaseFile(f.settings(), "/usr/../../etc/x"), Error);
    EXPECT_THROW(embeddedDatabaseFile(f.settings(), " / "), Error);
}

TEST_F(EmbeddedEngine, AcceptsTheInformixTypesOfTheLinkStep) {
    c->execute("CREATE TABLE a2401010000001234(sys_record SERIAL,descr CHAR(50),data DATE,importo MONEY,"
               "valore DECIMAL,peso FLOAT,quota SMALLFLOAT,flag SMALLINT,numero INTEGER,note CHAR(255))");
    c->execute("CREATE UNIQUE INDEX cliente_data0042 ON a2401010000001234(sys_record)");
    c->execute("CREATE INDEX descr1234 ON a2401010000001234(descr,data)");
    c->execute("INSERT INTO a2401010000001234 VALUES(0,'Fattura','2024-03-05',12.5,3.25,1.5,0.5,1,7,NULL)");
    auto rs = c->openRecordset("SELECT * FROM a2401010000001234", CursorType::Static, LockType::ReadOnly);
    const struct {
        const char* field;
        const char* type;
        Value value;
    } expects[] = {
        {"sys_record", "SERIAL", Value(std::int64_t{1})},
        {"descr", "CHAR(50)", Value("Fattura" + std::string(43, ' '))},
        {"data", "DATE", Value(DateTime{2024, 3, 5, 0, 0, 0})}, {"importo", "MONEY", Value(*Currency::parse("12,5"))},
        {"valore", "DECIMAL", Value(3.25)}, {"peso", "FLOAT", Value(1.5)}, {"quota", "SMALLFLOAT", Value(0.5)},
        {"flag", "SMALLINT", Value(std::int64_t{1})}, {"numero", "INTEGER", Value(std::int64_t{7})},
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

TEST_F(EmbeddedEngine, CharComparesWithoutTrailingBlanksAndComesBackPadded) {
    c->execute("CREATE TABLE t(code CHAR(5), memo CHAR(3))");
    c->execute("INSERT INTO t VALUES('ab', 'xyz')");
    auto rs = c->openRecordset("SELECT code, memo FROM t WHERE code = 'ab'", CursorType::ForwardOnly, LockType::ReadOnly);
    ASSERT_FALSE(rs->eof());
    EXPECT_EQ(rs->field("code").toText(), "ab   ");
    EXPECT_EQ(rs->field("memo").toText(), "xyz");
    EXPECT_EQ(countOf(*c, "SELECT * FROM t WHERE code = 'ab   '"), 1);
}

TEST_F(EmbeddedEngine, SerialNumbersAboveEveryEarlierRow) {
    c->execute("CREATE TABLE s(n SERIAL, x CHAR(1))");
    c->execute("INSERT INTO s VALUES(0, 'a')");            // 1
    c->execute("INSERT INTO s(x) VALUES('b')");            // 2
    c->execute("INSERT INTO s VALUES(10, 'c')");           // explicit 10
    c->execute("INSERT INTO s VALUES(0, 'd')");            // 11
    c->execute("DELETE FROM s WHERE n = 11");
    c->execute("INSERT INTO s VALUES(0, 'e')");            // 12, not 11 again
    c->execute("INSERT INTO s VALUES(5, 'f')");            // explicit below: kept, counter unchanged
    c->execute("INSERT INTO s VALUES(0, 'g')");            // 13
    EXPECT_EQ(column(*c, "SELECT n FROM s ORDER BY x"), (std::vector<Value>{1, 2, 10, 12, 5, 13}));
}

// Names are stored as written; the catalogue lists them lower-case, as Informix keeps them.
TEST_F(EmbeddedEngine, CatalogueAnswersAsInformix) {
    c->execute("CREATE TABLE A1(k INTEGER, d CHAR(4))");
    c->execute("CREATE UNIQUE INDEX K_idx ON A1(k)");
    c->execute("CREATE INDEX D_Idx ON A1(d)");
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

TEST_F(EmbeddedEngine, OneTextIsOneStatement) {
    c->execute("CREATE TABLE t(k INTEGER); -- the only table\n");
    EXPECT_THROW(c->execute("INSERT INTO t VALUES(1); DROP TABLE t"), Error);
    EXPECT_EQ(countOf(*c, "SELECT * FROM t"), 0);
    EXPECT_EQ(countOf(*c, "SELECT * FROM systables WHERE tabname = 't'"), 1);
}

TEST_F(EmbeddedEngine, DatesWrittenDayMonthYearReadBackAsDates) {
    c->execute("CREATE TABLE d(x DATE)");
    c->execute("INSERT INTO d VALUES('05/01/2024'), ('2024-01-05'), ('31/02/2024')");
    const Value date(DateTime{2024, 1, 5, 0, 0, 0});
    // not a date: handed over as written
    EXPECT_EQ(column(*c, "d"), (std::vector<Value>{date, date, Value("31/02/2024")}));
}

TEST_F(EmbeddedEngine, TransactionsAreSupported) {
    c->execute("CREATE TABLE t(k INTEGER)");
    c->beginTrans();
    c->execute("INSERT INTO t VALUES(1)");
    c->rollbackTrans();
    c->beginTrans();
    c->execute("INSERT INTO t VALUES(2)");
    c->commitTrans();
    EXPECT_EQ(column(*c, "SELECT k FROM t"), std::vector<Value>{2});
}

TEST_F(EmbeddedEngine, ExecuteReportsRowsAffected) {
    c = f.openCommon();
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
