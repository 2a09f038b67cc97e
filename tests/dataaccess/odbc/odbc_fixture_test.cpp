// The Informix compatibility fixture: what the link step writes runs unchanged.

#include "odbc_test_base.h"

namespace zq::test {
namespace {

TEST_F(OdbcServerTest, SerialNumbersARowWhenZeroIsInserted) {
    conn_->execute("CREATE TABLE a0712(sys_record SERIAL,descr CHAR(50))");
    conn_->execute("INSERT INTO a0712 VALUES (0, 'uno')");
    conn_->execute("INSERT INTO a0712 VALUES (0, 'due')");
    conn_->execute("INSERT INTO a0712 VALUES (10, 'dieci')");  // an explicit number moves the counter on
    conn_->execute("INSERT INTO a0712 VALUES (0, 'undici')");
    conn_->execute("INSERT INTO a0712 (descr) VALUES ('dodici')");
    auto rs = conn_->openRecordset("SELECT sys_record, descr FROM a0712 ORDER BY sys_record", CursorType::Static,
                                   LockType::ReadOnly);
    const std::pair<int, const char*> expected[] = {{1, "uno"}, {2, "due"}, {10, "dieci"}, {11, "undici"},
                                                    {12, "dodici"}};
    ASSERT_EQ(rs->recordCount(), 5);
    for (const auto& [n, d] : expected) {
        SCOPED_TRACE(d);
        EXPECT_EQ(rs->field(0).toInteger(), n);
        EXPECT_EQ(rs->field(1).toText().substr(0, std::string(d).size()), d);
        rs->moveNext();
    }
}

TEST_F(OdbcServerTest, SerialAlsoNumbersRowsAddedThroughARecordset) {
    conn_->execute("CREATE TABLE a0713(sys_record SERIAL,descr CHAR(10))");
    auto rs = conn_->openRecordset("a0713", CursorType::Static, LockType::Optimistic);
    for (const char* d : {"a", "b"}) {
        rs->addNew();
        rs->setField("sys_record", Value(0));
        rs->setField("descr", Value(d));
        rs->update();
    }
    EXPECT_EQ(scalar("SELECT MAX(sys_record) FROM a0713").toInteger(), 2);
    EXPECT_EQ(scalar("SELECT COUNT(DISTINCT sys_record) FROM a0713").toInteger(), 2);
}

TEST_F(OdbcServerTest, TheLinkStepsTypeNamesAreAccepted) {
    // The column types the link step maps archive fields to, as it writes them.
    conn_->execute(
        "CREATE TABLE a0714(testo CHAR(50),data DATE,imp MONEY,dbl DECIMAL,flt FLOAT,sng SMALLFLOAT,"
        "sht SMALLINT,cnt SERIAL,lng INTEGER,memo CHAR(255))");
    conn_->execute("INSERT INTO a0714 VALUES ('t', '2024-05-06', 99.999, 1.125, 0.5, 0.25, 1, 0, 7, 'm')");
    auto rs = conn_->openRecordset("a0714", CursorType::Static, LockType::ReadOnly);
    ASSERT_EQ(rs->recordCount(), 1);
    EXPECT_EQ(rs->field("testo").toText().size(), 50u);
    EXPECT_DOUBLE_EQ(rs->field("imp").toDouble(), 100.00);  // MONEY keeps two decimals
    EXPECT_DOUBLE_EQ(rs->field("dbl").toDouble(), 1.125);
    EXPECT_DOUBLE_EQ(rs->field("sng").toDouble(), 0.25);
    EXPECT_EQ(rs->field("cnt").toInteger(), 1);
    EXPECT_EQ(rs->field("memo").toText().size(), 255u);
    // and named the Informix way
    const std::pair<const char*, const char*> types[] = {
        {"testo", "CHAR(50)"}, {"data", "DATE"}, {"imp", "DECIMAL(16,2)"}, {"dbl", "DECIMAL"},
        {"flt", "FLOAT"},      {"sng", "SMALLFLOAT"}, {"sht", "SMALLINT"}, {"lng", "INTEGER"}};
    for (const auto& [name, type] : types) EXPECT_EQ(rs->fieldTypeName(rs->fieldIndex(name)), type) << name;
}

TEST_F(OdbcServerTest, SystablesAndSysindexesListWhatExists) {
    EXPECT_TRUE(conn_->openRecordset("SELECT * FROM systables WHERE tabname = 'a0712'", CursorType::ForwardOnly,
                                     LockType::ReadOnly)->eof());
    conn_->execute("CREATE TABLE a0712(sys_record SERIAL,descr CHAR(50))");
    conn_->execute("CREATE UNIQUE INDEX descr1234 ON a0712(descr)");
    conn_->execute("CREATE INDEX sys_record0042 ON a0712(sys_record)");
    auto t = conn_->openRecordset("SELECT * FROM systables WHERE tabname = 'a0712'", CursorType::ForwardOnly,
                                  LockType::ReadOnly);
    ASSERT_FALSE(t->eof());
    EXPECT_EQ(t->field("tabname"), Value("a0712"));

    auto ix = conn_->openRecordset("SELECT * FROM sysindexes ORDER BY idxname", CursorType::Static,
                                   LockType::ReadOnly);
    const std::pair<const char*, bool> indexes[] = {{"sys_record0042", true}, {"descr1234", true}, {"descr9999", false}};
    for (const auto& [name, listed] : indexes) {
        ix->moveFirst();
        ix->find(std::string("idxname = '") + name + "'");
        EXPECT_NE(ix->eof(), listed) << name;
    }
}

}  // namespace
}  // namespace zq::test
