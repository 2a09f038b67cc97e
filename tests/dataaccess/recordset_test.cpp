#include "dataaccess/recordset.h"

#include "common/error.h"
#include "tarv_fixture.h"

#include <gtest/gtest.h>

namespace zq {
namespace {

using test::TarvFixture;

class RecordsetTest : public ::testing::Test {
protected:
    void SetUp() override {
        c = f.openCommon();
        c->execute("CREATE TABLE ar_dbelenco(ditt CHAR(3), anno INTEGER, tipo_ass CHAR(1), tipo_doc CHAR(3), "
                   "sys_seriale CHAR(20), sys_path_docs CHAR(100), PRIMARY KEY(sys_seriale))");
        c->execute("INSERT INTO ar_dbelenco VALUES('001', 2024, 'M', 'FT', 'a01', '/p/1/'), "
                   "('001', 9999, 'A', '', 'a02', NULL), ('002', 2024, 'M', 'FT', 'a03', '/p/3/'), "
                   "('002', 2024, 'M', 'NC', 'a04', '/p/4/')");
    }
    static std::string trimmed(const Value& v) {
        std::string s = v.toText();
        return s.erase(s.find_last_not_of(' ') + 1);
    }
    RecordsetPtr readOnly(const std::string& sql) { return c->openRecordset(sql, CursorType::Static, LockType::ReadOnly); }
    TarvFixture f;
    ConnectionPtr c;
};

TEST_F(RecordsetTest, StaticCursorsKnowTheTrueCountAndEmptyResultsAreBofAndEof) {
    struct Case {
        CursorType cursor;
        LockType lock;
        const char* where;
        long count;
    };
    const Case cases[] = {
        {CursorType::Static, LockType::ReadOnly, "", 4},
        {CursorType::Static, LockType::Optimistic, " WHERE ditt = '002'", 2},
        {CursorType::Dynamic, LockType::Optimistic, " WHERE anno = 9999", 1},
        {CursorType::Keyset, LockType::ReadOnly, " WHERE ditt = '999'", 0},
        {CursorType::ForwardOnly, LockType::ReadOnly, "", -1},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(std::string("cursor ") + std::to_string(static_cast<int>(k.cursor)) + k.where);
        auto rs = c->openRecordset(std::string("SELECT * FROM ar_dbelenco") + k.where, k.cursor, k.lock);
        EXPECT_EQ(rs->recordCount(), k.count);
        EXPECT_EQ(rs->eof(), k.count == 0);
        if (k.count != 0) continue;
        EXPECT_TRUE(rs->bof());  // an empty result is both
        EXPECT_THROW(rs->field("ditt"), Error);
    }
}

TEST_F(RecordsetTest, FindSearchesForwardFromTheCurrentRow) {
    auto rs = c->openRecordset("SELECT * FROM ar_dbelenco ORDER BY sys_seriale", CursorType::Static, LockType::ReadOnly);
    rs->find("ditt = '002'");
    ASSERT_FALSE(rs->eof());
    EXPECT_EQ(trimmed(rs->field("sys_seriale")), "a03");
    rs->find("ditt = '002'");  // the current row matches: it stays
    EXPECT_EQ(trimmed(rs->field("sys_seriale")), "a03");
    rs->moveNext();
    rs->find("ditt = '002'");
    EXPECT_EQ(trimmed(rs->field("sys_seriale")), "a04");
    rs->moveNext();
    rs->find("ditt = '001'");  // only behind the current row: not found
    EXPECT_TRUE(rs->eof());
    rs->moveFirst();
    rs->find("anno = 9999");
    EXPECT_EQ(trimmed(rs->field("sys_seriale")), "a02");
    EXPECT_THROW(rs->find("nonexistent = 'x'"), Error);
    EXPECT_THROW(rs->find("ditt LIKE 'x'"), Error);

    auto forward = c->openRecordset("SELECT * FROM ar_dbelenco ORDER BY sys_seriale", CursorType::ForwardOnly,
                                    LockType::ReadOnly);
    forward->find("sys_seriale = 'a04'");  // steps through the rows
    ASSERT_FALSE(forward->eof());
    EXPECT_EQ(forward->field("tipo_doc").toText(), "NC ");
}

TEST_F(RecordsetTest, ForwardOnlyReadsNullsAndCannotGoBack) {
    auto rs = c->openRecordset("SELECT sys_seriale, sys_path_docs FROM ar_dbelenco ORDER BY sys_seriale",
                               CursorType::ForwardOnly, LockType::ReadOnly);
    std::vector<bool> nulls;
    for (; !rs->eof(); rs->moveNext()) nulls.push_back(rs->field(1).isNull());
    EXPECT_EQ(nulls, (std::vector<bool>{false, true, false, false}));
    EXPECT_THROW(rs->moveNext(), Error);
    EXPECT_THROW(rs->moveLast(), Error);
    EXPECT_THROW(rs->field(0), Error);
    rs->moveFirst();  // runs the statement again
    EXPECT_EQ(trimmed(rs->field(0)), "a01");
}

TEST_F(RecordsetTest, UpdateByFieldPositionWritesTheRowByItsKey) {
    auto rs = c->openRecordset("SELECT * FROM ar_dbelenco WHERE ditt = '002' ORDER BY sys_seriale", CursorType::Static,
                               LockType::Optimistic);
    rs->moveNext();
    rs->setField(5, Value("/nuovo/"));
    EXPECT_EQ(rs->field(5).toText(), "/nuovo/");
    rs->update();
    EXPECT_EQ(trimmed(rs->field(5)), "/nuovo/");
    auto check = readOnly("SELECT sys_seriale FROM ar_dbelenco WHERE sys_path_docs = '/nuovo/'");
    ASSERT_EQ(check->recordCount(), 1);
    EXPECT_EQ(trimmed(check->field(0)), "a04");
}

TEST_F(RecordsetTest, RowsWithoutKeyAreAddressedByAllTheirValues) {
    c->execute("CREATE TABLE nokey(a INTEGER, b CHAR(2))");
    c->execute("INSERT INTO nokey VALUES(1, 'x'), (1, 'x'), (2, NULL)");
    auto rs = c->openRecordset("SELECT * FROM nokey ORDER BY a", CursorType::Static, LockType::Optimistic);
    rs->setField("b", Value("y"));
    EXPECT_THROW(rs->update(), Error);  // two identical rows: neither may change
    rs = c->openRecordset("SELECT * FROM nokey ORDER BY a", CursorType::Static, LockType::Optimistic);
    rs->moveLast();
    rs->setField("b", Value("z"));
    rs->update();
    auto check = readOnly("SELECT a FROM nokey WHERE b = 'z'");
    ASSERT_EQ(check->recordCount(), 1);
    EXPECT_EQ(check->field(0).toInteger(), 2);
    EXPECT_EQ(readOnly("SELECT * FROM nokey WHERE b = 'x'")->recordCount(), 2);
}

TEST_F(RecordsetTest, AddNewInsertsAndBecomesCurrent) {
    c->execute("CREATE TABLE num(n SERIAL, d CHAR(4))");
    auto rs = c->openRecordset("SELECT * FROM num", CursorType::Static, LockType::Optimistic);
    rs->addNew();
    rs->setField("n", Value(0));
    rs->setField("d", Value("uno"));
    rs->update();
    EXPECT_EQ(rs->recordCount(), 1);
    EXPECT_EQ(rs->field("n").toInteger(), 1);       // numbered by the database, read back
    EXPECT_EQ(rs->field("d").toText(), "uno ");
}

TEST_F(RecordsetTest, DeleteRemovesTheCurrentRow) {
    auto rs = c->openRecordset("SELECT * FROM ar_dbelenco ORDER BY sys_seriale", CursorType::Static, LockType::Optimistic);
    rs->moveNext();
    rs->deleteCurrent();
    EXPECT_THROW(rs->field(0), Error);
    rs->moveNext();
    EXPECT_EQ(trimmed(rs->field("sys_seriale")), "a03");
    EXPECT_EQ(readOnly("ar_dbelenco")->recordCount(), 3);
}

TEST_F(RecordsetTest, ReadOnlyAndJoinedResultsRefuseChanges) {
    EXPECT_THROW(readOnly("SELECT * FROM ar_dbelenco")->setField(0, Value("x")), Error);
    auto joined = c->openRecordset("SELECT a.ditt, b.anno FROM ar_dbelenco a, ar_dbelenco b", CursorType::Static,
                                   LockType::Optimistic);
    EXPECT_THROW(joined->setField(0, Value("x")), Error);
}

TEST_F(RecordsetTest, ClosedRecordsetRefusesEverything) {
    auto rs = readOnly("ar_dbelenco");
    rs->close();
    EXPECT_FALSE(rs->isOpen());
    EXPECT_THROW(rs->recordCount(), Error);
}

}  // namespace
}  // namespace zq
