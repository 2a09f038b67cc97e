#include "dataaccess/archive_db.h"

#include "common/error.h"
#include "dataaccess/resolver.h"
#include "temp_dir.h"
#include "thrown_error.h"

#include <gtest/gtest.h>

#include <tuple>

namespace zq {
namespace {

using test::thrownError;

FieldDef field(const char* name, int type, long size, int attributes, bool required = false, int ordinal = 0) {
    return FieldDef{name, type, size, attributes, required, ordinal};
}

IndexDef index(const char* name, std::vector<std::string> fields, bool primary = false, bool unique = false) {
    return IndexDef{.name = name, .primary = primary, .unique = unique, .fields = std::move(fields)};
}

TableDef table(const char* name, std::vector<FieldDef> fields, std::vector<IndexDef> indexes = {}) {
    TableDef t;
    t.name = name;
    t.fields = std::move(fields);
    t.indexes = std::move(indexes);
    return t;
}

// Every property of a definition, so one comparison says which one differs.
auto props(const FieldDef& f) {
    return std::tuple(f.name, f.type, f.size, f.attributes, f.required, f.ordinalPosition, f.allowZeroLength,
                      f.defaultValue);
}
auto props(const IndexDef& i) {
    return std::tuple(i.name, i.primary, i.unique, i.foreign, i.ignoreNulls, i.clustered, i.required, i.fields,
                      i.descending);
}

long rows(ArchiveDatabase& db, const std::string& sql) {
    return db.connection().openRecordset(sql, CursorType::Static, LockType::ReadOnly)->recordCount();
}

std::vector<std::string> names(ArchiveDatabase& db) {
    std::vector<std::string> out;
    for (const auto& t : db.tableDefs()) out.push_back(t.name);
    return out;
}

class ArchiveTest : public ::testing::Test {
protected:
    std::string file() const { return (dir / "Vizidore.mdb").string(); }
    test::TempDir dir;
};

TEST_F(ArchiveTest, EveryFieldTypeRoundTrips) {
    const FieldDef fields[] = {
        field("f_bool", dbBoolean, 1, dbFixedField, false, 0), field("f_byte", dbByte, 1, dbFixedField, true, 1),
        field("f_int", dbInteger, 2, dbFixedField, false, 2), field("f_long", dbLong, 4, dbFixedField, true, 3),
        field("sys_record", dbLong, 4, dbFixedField | dbAutoIncrField, true, 4),
        field("f_cur", dbCurrency, 8, dbFixedField, false, 5), field("f_single", dbSingle, 4, dbFixedField, false, 6),
        field("f_double", dbDouble, 8, dbFixedField, false, 7), field("f_date", dbDate, 8, dbFixedField, false, 8),
        field("f_bin", dbBinary, 16, dbFixedField, false, 9), field("f_text", dbText, 50, dbVariableField, true, 10),
        field("f_longbin", dbLongBinary, 0, 0, false, 11), field("f_memo", dbMemo, 0, dbVariableField, false, 12),
        field("f_guid", dbGUID, 16, dbFixedField, false, 13), field("f_bigint", dbBigInt, 8, dbFixedField, false, 14),
        field("f_varbin", dbVarBinary, 100, dbVariableField, false, 15),
        field("f_char", dbChar, 10, dbFixedField, false, 16),
        field("f_numeric", dbNumeric, 19, dbFixedField, false, 17),
        field("f_decimal", dbDecimal, 16, dbFixedField, false, 18),
        field("f_float", dbFloat, 8, dbFixedField, false, 19), field("f_time", dbTime, 8, dbFixedField, false, 20),
        field("f_stamp", dbTimeStamp, 8, dbFixedField, false, 21),
        field("f text with blank", dbText, 255, 0, false, 22),
        FieldDef{"f_default", dbText, 20, dbVariableField, false, 23, /*allowZeroLength=*/true, "\"nessuno\""},
    };
    ArchiveDatabase::create(file())->createTable(table("everything", {std::begin(fields), std::end(fields)}));
    auto def = ArchiveDatabase::open(file())->tableDef("EVERYTHING");
    ASSERT_TRUE(def);
    ASSERT_EQ(def->fields.size(), std::size(fields));
    EXPECT_FALSE(def->isLink());
    EXPECT_EQ(def->connect, "");
    for (size_t i = 0; i < std::size(fields); ++i) EXPECT_EQ(props(def->fields[i]), props(fields[i]));
}

TEST_F(ArchiveTest, CurrencyKeepsEveryDigitAndReadsWhatOlderFilesHold) {
    auto db = ArchiveDatabase::create(file());
    db->createTable(table("fatture", {field("n", dbLong, 4, 17, true), field("importo", dbCurrency, 8, dbFixedField)}));
    // Rows as files written before kept them: plain doubles, a sum's included.
    db->execute("INSERT INTO fatture(importo) VALUES (12.5), (0.1 + 0.2), (100)");
    auto rs = db->openTable("fatture");
    for (const Value& v : {Value(*Currency::parse("99999999999999,99")), Value(0.1 + 0.2), Value("-1.234,5678")}) {
        rs->addNew();
        rs->setField("importo", v);
        rs->update();
    }
    EXPECT_THROW(rs->setField("importo", Value("dodici")), Error);
    rs->close();
    db->close();

    db = ArchiveDatabase::open(file());
    std::vector<std::string> read;
    for (auto all = db->openTable("fatture"); !all->eof(); all->moveNext()) {
        EXPECT_EQ(all->field("importo").kind(), ValueKind::Currency);
        read.push_back(all->field("importo").toText());
    }
    EXPECT_EQ(read, (std::vector<std::string>{"12,5", "0,3", "100", "99999999999999,99", "0,3", "-1234,5678"}));
    // SQL still compares the amounts a double holds; the old sum is still off by 4E-17.
    EXPECT_EQ(rows(*db, "SELECT * FROM fatture WHERE importo = 0.3"), 1);
    EXPECT_EQ(rows(*db, "SELECT * FROM fatture WHERE importo BETWEEN 12 AND 101"), 2);
}

TEST_F(ArchiveTest, InvalidDefinitionsAreRefusedAndNothingIsMade) {
    auto db = ArchiveDatabase::create(file());
    EXPECT_THROW(db->createTable(table("t", {field("a", dbText, 10, 2), field("b", 99, 0, 0)})), Error);
    EXPECT_FALSE(db->hasTable("t"));
    EXPECT_THROW(db->createTable(table("t", {field("a", dbText, 10, 2), field("A", dbText, 10, 2)})), Error);
    EXPECT_THROW(db->createTable(table("zq_mine", {field("a", dbText, 10, 2)})), Error);
    EXPECT_THROW(db->createTable(table("t", {field("a", dbText, 10, 2)}, {index("ix", {"b"})})), Error);
    EXPECT_TRUE(db->tableDefs().empty());
}

TEST_F(ArchiveTest, CounterNumbersRowsItself) {
    auto db = ArchiveDatabase::create(file());
    db->createTable(table("t", {field("n", dbLong, 4, 17, true), field("d", dbText, 10, 2)}));
    auto rs = db->openTable("t");
    for (const char* d : {"a", "b"}) {
        rs->addNew();
        rs->setField("d", Value(d));
        rs->update();
    }
    EXPECT_EQ(rs->field("n").toInteger(), 2);
    db->execute("DELETE FROM t WHERE n = 2");
    db->execute("INSERT INTO t(d) VALUES('c')");
    auto check = db->connection().openRecordset("SELECT n FROM t ORDER BY n", CursorType::Static, LockType::ReadOnly);
    std::vector<std::int64_t> got;
    for (; !check->eof(); check->moveNext()) got.push_back(check->field(0).toInteger());
    EXPECT_EQ(got, (std::vector<std::int64_t>{1, 3}));
}

TEST_F(ArchiveTest, IndexesRoundTrip) {
    const IndexDef pk{.name = "PrimaryKey", .primary = true, .unique = true, .clustered = true, .required = true,
                      .fields = {"sys_record"}};
    const IndexDef indexes[] = {pk, {.name = "cliente/data", .ignoreNulls = true, .fields = {"cliente", "data"}, .descending = {false, true}},
                                index("Codice unico", {"codice"}, false, true)};
    {
        auto db = ArchiveDatabase::create(file());
        db->createTable(table("a1", {field("sys_record", dbLong, 4, 17, true), field("cliente", dbText, 60, 2),
                                     field("data", dbDate, 8, 1), field("codice", dbText, 10, 2)},
                              {std::begin(indexes), std::end(indexes)}));
        // the same index names on another table: Jet names belong to their table
        db->createTable(table("a2", {field("sys_record", dbLong, 4, 1)}, {pk}));
    }
    auto db = ArchiveDatabase::open(file());
    auto def = db->tableDef("a1");
    ASSERT_TRUE(def);
    ASSERT_EQ(def->indexes.size(), std::size(indexes));
    for (size_t i = 0; i < std::size(indexes); ++i) EXPECT_EQ(props(def->indexes[i]), props(indexes[i]));
    EXPECT_EQ(db->tableDef("a2")->indexes.at(0).name, "PrimaryKey");
    // the unique index is enforced
    db->execute("INSERT INTO a1(cliente, codice) VALUES('x', 'C1')");
    EXPECT_THROW(db->execute("INSERT INTO a1(cliente, codice) VALUES('y', 'C1')"), Error);
}

TEST_F(ArchiveTest, CollectionOrderIsCreationOrderAcrossRenames) {
    auto db = ArchiveDatabase::create(file());
    for (const char* n : {"zeta", "alfa", "Mezzo"}) db->createTable(table(n, {field("a", dbText, 10, 2)}));
    db->renameTable("zeta", "omega_sav");
    db->renameTable("mezzo", "MEZZO");  // only the case changes
    EXPECT_EQ(names(*db), (std::vector<std::string>{"omega_sav", "alfa", "MEZZO"}));
    db->deleteTable("ALFA");
    db->createTable(table("beta", {field("a", dbText, 10, 2)}));
    EXPECT_EQ(names(*db), (std::vector<std::string>{"omega_sav", "MEZZO", "beta"}));
}

TEST_F(ArchiveTest, RenameKeepsRowsFieldsAndIndexes) {
    auto db = ArchiveDatabase::create(file());
    db->createTable(table("2401011200001a2b",
                          {field("sys_record", dbLong, 4, 17, true), field("descr", dbText, 40, 2, true)},
                          {index("PrimaryKey", {"sys_record"}, true, true), index("descr/x", {"descr"})}));
    db->execute("INSERT INTO \"2401011200001a2b\"(descr) VALUES('uno'), ('due')");
    auto before = *db->tableDef("2401011200001a2b");
    db->renameTable("2401011200001A2B", "2401011200001a2b_sav");
    EXPECT_FALSE(db->hasTable("2401011200001a2b"));
    auto after = db->tableDef("2401011200001a2b_sav");
    ASSERT_TRUE(after);
    EXPECT_EQ(after->name, "2401011200001a2b_sav");
    ASSERT_EQ(after->fields.size(), before.fields.size());
    for (size_t i = 0; i < before.fields.size(); ++i) EXPECT_EQ(props(after->fields[i]), props(before.fields[i]));
    ASSERT_EQ(after->indexes.size(), 2u);
    EXPECT_EQ(after->indexes[1].name, "descr/x");
    EXPECT_EQ(rows(*db, "SELECT * FROM \"2401011200001a2b_sav\""), 2);
    // numbering goes on under the new name
    db->execute("INSERT INTO \"2401011200001a2b_sav\"(descr) VALUES('tre')");
    EXPECT_EQ(rows(*db, "SELECT * FROM \"2401011200001a2b_sav\" WHERE sys_record = 3"), 1);
}

TEST_F(ArchiveTest, RenameOntoAnExistingNameOrOfAMissingTableFails) {
    auto db = ArchiveDatabase::create(file());
    db->createTable(table("a", {field("x", dbText, 10, 2)}));
    db->createTable(table("b", {field("x", dbText, 10, 2)}));
    EXPECT_THROW(db->renameTable("a", "B"), Error);
    EXPECT_THROW(db->renameTable("nothing", "c"), Error);
    EXPECT_THROW(db->deleteTable("nothing"), Error);
    EXPECT_EQ(names(*db), (std::vector<std::string>{"a", "b"}));
}

TEST_F(ArchiveTest, DeleteRemovesTableAndDefinition) {
    auto db = ArchiveDatabase::create(file());
    db->createTable(table("a", {field("x", dbText, 10, 2)}, {index("ix", {"x"})}));
    db->deleteTable("A");
    EXPECT_FALSE(db->tableDef("a"));
    db->createTable(table("a", {field("y", dbLong, 4, 1)}));
    auto def = db->tableDef("a");
    ASSERT_EQ(def->fields.size(), 1u);
    EXPECT_EQ(def->fields[0].type, dbLong);
    EXPECT_TRUE(def->indexes.empty());
}

TEST_F(ArchiveTest, TablesMadeByPlainSqlAreReadFromTheirDeclarations) {
    auto db = ArchiveDatabase::create(file());
    db->execute("CREATE TABLE AREE (ID_AREA LONG NOT NULL PRIMARY KEY, AREA TEXT(50), ID_PARENT LONG, NOTE MEMO)");
    auto def = db->tableDef("aree");
    ASSERT_TRUE(def);
    ASSERT_EQ(def->fields.size(), 4u);
    EXPECT_EQ(def->fields[0].type, dbLong);
    EXPECT_TRUE(def->fields[0].required);
    EXPECT_EQ(def->fields[1].type, dbText);
    EXPECT_EQ(def->fields[1].size, 50);
    EXPECT_EQ(def->fields[3].type, dbMemo);
    ASSERT_EQ(def->indexes.size(), 1u);
    EXPECT_TRUE(def->indexes[0].primary);
    EXPECT_EQ(def->indexes[0].fields, std::vector<std::string>{"ID_AREA"});
}

TEST_F(ArchiveTest, MissingFileIsAnErrorAndCreatesNothing) {
    const std::string jet = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + file() +
                            ";Persist Security Info=False;Jet OLEDB:Database Password=zzpergola31";
    for (const Error& e :
         {thrownError([&] { ArchiveDatabase::open(file()); }), thrownError([&] { openConnection(jet); })}) {
        EXPECT_EQ(e.number(), kErrProviderFailure);
        EXPECT_NE(e.description().find(file()), std::string::npos) << e.description();
    }
    EXPECT_FALSE(std::filesystem::exists(file()));
    ArchiveDatabase::create(file());
    EXPECT_THROW(ArchiveDatabase::create(file()), Error);  // never over an existing file
    EXPECT_EQ(openConnection(jet)->engineName(), "archive");
}

TEST_F(ArchiveTest, GroupedStepsRollBackAndAClosedDatabaseRefusesWork) {
    auto db = ArchiveDatabase::create(file());
    db->createTable(table("s", {field("x", dbText, 10, 2)}));
    {
        ArchiveTransaction t(*db);
        db->renameTable("s", "s_sav");
        db->createTable(table("other", {field("x", dbText, 10, 2)}));
    }  // no commit
    EXPECT_EQ(names(*db), std::vector<std::string>{"s"});
    {
        ArchiveTransaction t(*db);
        db->renameTable("s", "s_sav");
        t.commit();
    }
    EXPECT_EQ(names(*db), std::vector<std::string>{"s_sav"});
    db->close();
    EXPECT_THROW(db->tableDefs(), Error);
}

TEST_F(ArchiveTest, PrimaryKeyStatementOnALocalTableAddsThePrimaryIndex) {
    auto db = ArchiveDatabase::create(file());
    db->createTable(table("t", {field("a", dbLong, 4, 1), field("b", dbText, 5, 2)}, {index("ix", {"b"})}));
    db->execute("ALTER TABLE t ADD CONSTRAINT [Chiave/1] PRIMARY KEY (a, b)");
    auto def = db->tableDef("t");
    ASSERT_EQ(def->indexes.size(), 2u);
    EXPECT_EQ(def->indexes[1].name, "Chiave/1");
    EXPECT_TRUE(def->indexes[1].primary);
    EXPECT_EQ(def->indexes[1].fields, (std::vector<std::string>{"a", "b"}));
    EXPECT_THROW(db->execute("ALTER TABLE t ADD CONSTRAINT k2 PRIMARY KEY (a)"), Error);
    EXPECT_TRUE(def->linkKey.empty());
}

TEST_F(ArchiveTest, ArchiveConnectionStringOpensTheSameFile) {
    ArchiveDatabase::create(file())->createTable(table("DB_ELENCO", {field("SYS_SERIALE", dbText, 16, 2)}));
    auto c = openArchiveConnection(file(), "x");
    EXPECT_EQ(c->engineName(), "archive");
    c->execute("INSERT INTO DB_ELENCO VALUES('2401011200001a2b')");
    EXPECT_EQ(c->openRecordset("db_elenco", CursorType::Static, LockType::ReadOnly)->recordCount(), 1);
}

}  // namespace
}  // namespace zq
