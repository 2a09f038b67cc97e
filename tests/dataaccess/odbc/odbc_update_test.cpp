// Changes written back through recordsets: addressed by primary key, by a unique index,
// or by every original value; conflicts and ambiguous rows refused.

#include "odbc_test_base.h"

#include "../thrown_error.h"

#include "common/error.h"

#include <gmock/gmock.h>

namespace zq::test {
namespace {

using ::testing::HasSubstr;

TEST_F(OdbcServerTest, UpdatesARowByItsPrimaryKey) {
    conn_->execute("CREATE TABLE utenti (nome CHAR(20) PRIMARY KEY, porta CHAR(10))");
    conn_->execute("INSERT INTO utenti VALUES ('mario', NULL), ('anna', 'tty1')");
    auto rs = conn_->openRecordset("SELECT * FROM utenti WHERE nome = 'mario'", CursorType::Static,
                                   LockType::Optimistic);
    rs->setField("porta", Value("WIN"));
    EXPECT_EQ(rs->field("porta"), Value("WIN"));  // the edit buffer
    rs->update();
    EXPECT_EQ(scalar("SELECT porta FROM utenti WHERE nome = 'mario'"), Value("WIN       "));
    EXPECT_EQ(scalar("SELECT porta FROM utenti WHERE nome = 'anna'"), Value("tty1      "));
}

TEST_F(OdbcServerTest, UpdatesByAUniqueIndexWhenThereIsNoKey) {
    // What the link step creates on Informix: a table with unique indexes, no key.
    conn_->execute("CREATE TABLE a0712 (sys_record INTEGER, descr CHAR(30), note CHAR(10))");
    conn_->execute("CREATE UNIQUE INDEX a0712_ix1234 ON a0712(sys_record)");
    conn_->execute("INSERT INTO a0712 VALUES (1, 'uno', 'x'), (2, 'due', 'x'), (3, 'tre', 'x')");
    auto rs = conn_->openRecordset("a0712", CursorType::Static, LockType::Optimistic);
    rs->find("sys_record = 2");
    ASSERT_FALSE(rs->eof());
    rs->setField("descr", Value("DUE"));
    rs->moveNext();  // moving off an edited row writes it
    EXPECT_EQ(rs->field("sys_record").toInteger(), 3);
    EXPECT_EQ(scalar("SELECT descr FROM a0712 WHERE sys_record = 2").toText(), "DUE" + std::string(27, ' '));
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM a0712 WHERE descr = 'DUE'").toInteger(), 1);
}

TEST_F(OdbcServerTest, UpdatesByOriginalValuesWithoutAnyKey) {
    conn_->execute("CREATE TABLE t (a INTEGER, b CHAR(5), c DATE)");
    conn_->execute("INSERT INTO t VALUES (1, 'x', NULL), (1, 'y', '2024-01-01'), (1, 'y', '2024-01-01')");
    auto rs = conn_->openRecordset("SELECT * FROM t ORDER BY b", CursorType::Static, LockType::Optimistic);
    rs->setField("a", Value(10));  // row (1,'x',NULL): Null compared with IS NULL
    rs->update();
    EXPECT_EQ(scalar("SELECT a FROM t WHERE b = 'x'").toInteger(), 10);
    rs->moveNext();
    rs->setField("a", Value(20));  // two identical rows: which one is meant cannot be told
    EXPECT_THAT(thrownError([&] { rs->update(); }).description(), HasSubstr("2 rows"));
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM t WHERE a = 20").toInteger(), 0);
}

TEST_F(OdbcServerTest, ARowChangedMeanwhileIsNotOverwritten) {
    conn_->execute("CREATE TABLE utenti (nome CHAR(20) PRIMARY KEY, porta CHAR(10))");
    conn_->execute("INSERT INTO utenti VALUES ('mario', '')");
    auto rs = conn_->openRecordset("utenti", CursorType::Static, LockType::Optimistic);
    connect()->execute("UPDATE utenti SET porta = 'tty9' WHERE nome = 'mario'");
    rs->setField("porta", Value("WIN"));
    EXPECT_THROW(rs->update(), Error);
    EXPECT_EQ(scalar("SELECT porta FROM utenti").toText(), "tty9      ");
}

TEST_F(OdbcServerTest, AddsAndDeletesRows) {
    conn_->execute("CREATE TABLE ar_dbelenco (ditt CHAR(3), anno INTEGER, tipo_ass CHAR(1), tipo_doc CHAR(3),"
                   " sys_seriale CHAR(20), sys_path_docs VARCHAR(200), imp MONEY, dt DATE)");
    auto rs = conn_->openRecordset("SELECT * FROM ar_dbelenco", CursorType::Static, LockType::Optimistic);
    const std::pair<const char*, Value> values[] = {
        {"ditt", Value("001")}, {"anno", Value(9999)}, {"tipo_ass", Value("A")}, {"sys_seriale", Value("a0712")},
        {"sys_path_docs", Value("C:\\\\Archivi\\\\Società\\\\")}, {"imp", Value(12.5)},
        {"dt", Value(DateTime{2024, 3, 1, 0, 0, 0})}};
    rs->addNew();
    for (const auto& [name, value] : values) rs->setField(name, value);
    rs->update();
    EXPECT_EQ(rs->recordCount(), 1);
    EXPECT_EQ(rs->field("anno").toInteger(), 9999);
    EXPECT_TRUE(rs->field("tipo_doc").isNull());

    auto check = conn_->openRecordset("ar_dbelenco", CursorType::Static, LockType::ReadOnly);
    ASSERT_EQ(check->recordCount(), 1);
    EXPECT_EQ(check->field("sys_path_docs"), Value("C:\\\\Archivi\\\\Società\\\\"));
    EXPECT_DOUBLE_EQ(check->field("imp").toDouble(), 12.5);
    EXPECT_EQ(check->field("dt"), Value(DateTime{2024, 3, 1, 0, 0, 0}));
    EXPECT_TRUE(check->field("tipo_doc").isNull());

    rs->moveFirst();
    rs->deleteCurrent();
    EXPECT_EQ(rs->recordCount(), 0);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM ar_dbelenco").toInteger(), 0);
}

TEST_F(OdbcServerTest, ReadOnlyAndJoinedRecordsetsRefuseChanges) {
    conn_->execute("CREATE TABLE a (x INTEGER PRIMARY KEY)");
    conn_->execute("CREATE TABLE b (x INTEGER PRIMARY KEY)");
    conn_->execute("INSERT INTO a VALUES (1)");
    conn_->execute("INSERT INTO b VALUES (1)");
    auto ro = conn_->openRecordset("a", CursorType::Static, LockType::ReadOnly);
    EXPECT_THROW(ro->setField("x", Value(2)), Error);
    EXPECT_THROW(ro->addNew(), Error);
    auto joined = conn_->openRecordset("SELECT a.x FROM a INNER JOIN b ON a.x = b.x", CursorType::Static,
                                       LockType::Optimistic);
    joined->setField(0, Value(5));
    EXPECT_THROW(joined->update(), Error);
    EXPECT_EQ(scalar("SELECT x FROM a").toInteger(), 1);
}

}  // namespace
}  // namespace zq::test
