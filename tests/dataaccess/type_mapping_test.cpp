#include "dataaccess/informix_ddl.h"
#include "dataaccess/jet_types.h"
#include "dataaccess/link_spec.h"

#include "common/error.h"

#include <gtest/gtest.h>

#include <tuple>

namespace zq {
namespace {

TEST(JetTypes, LinkFieldsFromRemoteColumnTypes) {
    struct Case {
        const char* remote;
        int type;
        long size;
        int attributes;
    };
    const Case cases[] = {
        {"CHAR(50)", dbText, 50, dbFixedField}, {"bpchar(3)", dbText, 3, dbFixedField},
        {"VARCHAR(80)", dbText, 80, dbVariableField}, {"SERIAL", dbLong, 4, 17}, {"INTEGER", dbLong, 4, dbFixedField},
        {"int4", dbLong, 4, dbFixedField}, {"SMALLINT", dbInteger, 2, dbFixedField},
        {"MONEY", dbCurrency, 8, dbFixedField}, {"DECIMAL(16,2)", dbDouble, 8, dbFixedField},
        {"FLOAT", dbDouble, 8, dbFixedField}, {"SMALLFLOAT", dbSingle, 4, dbFixedField},
        {"DATE", dbDate, 8, dbFixedField}, {"TEXT", dbMemo, 0, dbVariableField}, {"", dbText, 255, dbVariableField},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.remote);
        const FieldDef f = fieldFromRemoteType("x", c.remote);
        EXPECT_EQ(std::tuple(f.type, f.size, f.attributes), std::tuple(c.type, c.size, c.attributes));
    }
}

TEST(JetTypes, DeclarationsRoundTripThroughTheirTypeCodes) {
    struct Case {
        int type;
        long size;
        int attributes;
        const char* declaration;
    };
    const Case cases[] = {
        {dbBoolean, 1, 1, "BIT"},          {dbByte, 1, 1, "BYTE"},         {dbInteger, 2, 1, "SHORT"},
        {dbLong, 4, 1, "LONG"},            {dbLong, 4, 17, "COUNTER"},     {dbCurrency, 8, 1, "CURRENCY"},
        {dbSingle, 4, 1, "SINGLE"},        {dbDouble, 8, 1, "DOUBLE"},     {dbDate, 8, 1, "DATETIME"},
        {dbBinary, 16, 1, "BINARY(16)"},   {dbText, 50, 2, "TEXT(50)"},    {dbMemo, 0, 2, "LONGTEXT"},
        {dbBigInt, 8, 1, "BIGINT"},        {dbVarBinary, 9, 2, "VARBINARY(9)"}, {dbChar, 10, 1, "CHAR(10)"},
        {dbNumeric, 19, 1, "NUMERIC"},     {dbDecimal, 16, 1, "DECIMAL"},  {dbFloat, 8, 1, "FLOAT"},
        {dbTime, 8, 1, "TIME"},            {dbTimeStamp, 8, 1, "TIMESTAMP"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.declaration);
        EXPECT_EQ(jetDeclaration({.name = "x", .type = c.type, .size = c.size, .attributes = c.attributes}),
                  c.declaration);
        const FieldDef back = fieldFromDeclaration("x", c.declaration);
        EXPECT_EQ(std::tuple(back.type, back.size, back.attributes), std::tuple(c.type, c.size, c.attributes));
    }
    EXPECT_THROW(jetDeclaration({.name = "x", .type = 99}), Error);
}

TEST(InformixDdl, CreateTableBecomesSqlite) {
    struct Case {
        const char* informix;
        const char* sqlite;
        std::vector<std::string> serials;
    };
    const Case cases[] = {
        {"CREATE TABLE a1(sys_record SERIAL,descr CHAR(50),importo MONEY)",
         "CREATE TABLE \"a1\" (sys_record SERIAL, descr CHAR(50) COLLATE RTRIM, importo MONEY)", {"sys_record"}},
        {"create table T (n serial(100) not null, c char (3) not null, d decimal(16,2), primary key (n)) "
         "in dbs1 extent size 16 lock mode row",
         "CREATE TABLE \"T\" (n SERIAL not null, c CHAR(3) not null COLLATE RTRIM, d decimal(16,2), primary key (n))",
         {"n"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.informix);
        auto t = translateInformixCreateTable(c.informix);
        ASSERT_TRUE(t);
        EXPECT_EQ(t->sql, c.sqlite);
        EXPECT_EQ(t->serialColumns, c.serials);
    }
    EXPECT_FALSE(translateInformixCreateTable("CREATE INDEX i ON t(a)"));
    EXPECT_FALSE(translateInformixCreateTable("DROP TABLE t"));
    EXPECT_THROW(translateInformixCreateTable("CREATE TABLE t(a CHAR(3)"), Error);
    EXPECT_THROW(translateInformixCreateTable("CREATE TABLE t(a CHAR(3),)"), Error);
}

TEST(LinkSpec, ArgumentsRoundTripThroughTheSchemaStatement) {
    LinkSpec linkSpec;
    linkSpec.connect = "ODBC;DRIVER={INFORMIX-CLI 2.5 (32 bit)};DATABASE=/usr/tarv/ditt001;userid=u;password=p'q,r";
    linkSpec.source = "a2401011200001a2b";
    linkSpec.columns = {{"sys_record", "SERIAL"}, {"strano \"nome\", sì", "DECIMAL(16,2)"}, {"senza", ""}};
    linkSpec.key = {"sys_record", "senza"};
    linkSpec.keyName = "Primary/Key";
    auto back = LinkSpec::fromSchemaSql(linkSpec.createStatement("2401011200001a2b"));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->connect, linkSpec.connect);
    EXPECT_EQ(back->source, linkSpec.source);
    ASSERT_EQ(back->columns.size(), 3u);
    for (size_t i = 0; i < 3; ++i)
        EXPECT_EQ(std::tie(back->columns[i].name, back->columns[i].type),
                  std::tie(linkSpec.columns[i].name, linkSpec.columns[i].type));
    EXPECT_EQ(back->key, linkSpec.key);
    EXPECT_EQ(back->keyName, linkSpec.keyName);
    EXPECT_FALSE(LinkSpec::fromSchemaSql("CREATE TABLE x(a)"));
    EXPECT_FALSE(LinkSpec::fromSchemaSql("CREATE VIRTUAL TABLE x USING fts5(a)"));
    EXPECT_THROW(LinkSpec::fromArguments({"source='a'"}), Error);
    EXPECT_THROW(LinkSpec::fromArguments({"connect='c'", "source='a'", "colour='red'"}), Error);
}

}  // namespace
}  // namespace zq
