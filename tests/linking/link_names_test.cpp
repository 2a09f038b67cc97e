// Names, column types and index names of the link step: pure rules, no database.

#include "linking/column_type.h"
#include "linking/index_namer.h"
#include "linking/link_names.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace zq {
namespace {

TEST(ColumnTypeTest, MapsEveryFieldTypeAsTheTableSays) {
    const struct {
        const char* what;
        int type;
        long size;
        int attributes;
        const char* expected;  ///< nullptr: no counterpart
    } cases[] = {
        {"Text 50", dbText, 50, dbVariableField, " CHAR(50),"},
        {"Text 1", dbText, 1, 0, " CHAR(1),"},
        {"Char 11", dbChar, 11, dbFixedField, " CHAR(11),"},
        {"Date", dbDate, 8, dbFixedField, " DATE,"},
        {"Time", dbTime, 8, 0, " DATE,"},
        {"TimeStamp", dbTimeStamp, 8, 0, " DATE,"},
        {"Decimal", dbDecimal, 17, 0, " MONEY,"},
        {"Currency", dbCurrency, 8, dbFixedField, " MONEY,"},
        {"Double", dbDouble, 8, dbFixedField, " DECIMAL,"},
        {"Numeric", dbNumeric, 19, 0, " DECIMAL,"},
        {"BigInt", dbBigInt, 8, 0, " DECIMAL,"},
        {"Float", dbFloat, 8, 0, " FLOAT,"},
        {"Single", dbSingle, 4, dbFixedField, " SMALLFLOAT,"},
        {"Integer", dbInteger, 2, dbFixedField, " SMALLINT,"},
        {"Byte", dbByte, 1, dbFixedField, " SMALLINT,"},
        {"Boolean", dbBoolean, 1, dbFixedField, " SMALLINT,"},
        {"Long counter (17)", dbLong, 4, dbFixedField | dbAutoIncrField, " SERIAL,"},
        {"Long fixed (1)", dbLong, 4, dbFixedField, " INTEGER,"},
        {"Long auto-increment only (16)", dbLong, 4, dbAutoIncrField, " INTEGER,"},
        {"Long counter with more bits (49)", dbLong, 4, 49, " INTEGER,"},
        {"Memo", dbMemo, 0, 0, " CHAR(255),"},
        {"VarBinary", dbVarBinary, 255, 0, " CHAR(255),"},
        {"Binary", dbBinary, 16, 0, " CHAR(255),"},
        {"LongBinary", dbLongBinary, 0, 0, nullptr},
        {"GUID", dbGUID, 16, 0, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FieldDef f;
        f.name = "campo";
        f.type = c.type;
        f.size = c.size;
        f.attributes = c.attributes;
        EXPECT_EQ(ColumnType::informix(f), c.expected ? std::optional<std::string>(c.expected) : std::nullopt);
    }
}

TEST(LinkNamesTest, DerivedNamesAreLowerCase) {
    EXPECT_EQ(LinkNames::sav("2215032010150A1F"), "2215032010150a1f_sav");
    EXPECT_EQ(LinkNames::col(" 2215032010150A1F "), "2215032010150a1f_col");
    EXPECT_EQ(LinkNames::tarv("2215032010150A1F"), "a2215032010150a1f");
}

TEST(LinkNamesTest, SerialsAndNamesThatCouldChangeAStatementAreRefused) {
    for (const char* good : {"2215032010150a1f", "archivio_1"}) EXPECT_TRUE(LinkNames::safeSerial(good)) << good;
    for (const char* bad : {"", "22'15", "2215;DROP", "22 15", "22-15", "22\"15", "2215/x"})
        EXPECT_FALSE(LinkNames::safeSerial(bad)) << bad;
    for (const char* good : {"numero_doc", "data firma", "Forn/Data", "città", "PrimaryKey"})
        EXPECT_TRUE(LinkNames::safeName(good)) << good;
    for (const char* bad : {"", "   ", "nome'x", "a;b", "a,b", "a(b", "a)b", "a-b", "a\"b", "a*b", "a\tb"})
        EXPECT_FALSE(LinkNames::safeName(bad)) << bad;
}

TEST(LinkNamesTest, IndexBasesOfTheLinkAndTheDavLink) {
    const struct {
        const char* index;
        const char* link;  ///< indexBase
        const char* dav;   ///< davIndexBase
    } cases[] = {
        {"cliente/data", "cliente_data", "cliente_data"},
        {"Cod/Doc", "cod_doc", "cod_doc"},
        {"1_codice", "1_codice", "codice"},
        {"__99x", "__99x", "x"},
        {"PrimaryKey", "primarykey", "primarykey"},
        {"Descrizione estesa", "descrizione_estesa", "descrizione_estesa"},
        {"123", "123", "i123"},
        {"9/9", "9_9", "i9_9"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        EXPECT_EQ(LinkNames::indexBase(c.index), c.link);
        EXPECT_EQ(LinkNames::davIndexBase(c.index), c.dav);
    }
}

TEST(IndexNamerTest, FourDigitsRoundedAtLeastFourWide) {
    for (const auto& [value, digits] : {std::pair{0.0, "0000"}, {0.00004, "0000"}, {0.00006, "0001"}, {0.12345, "1235"},
                                        {0.5, "5000"}, {0.99994, "9999"}, {0.99996, "10000"}}) {
        SCOPED_TRACE(value);
        EXPECT_EQ(IndexNamer::digits(value), digits);
    }
}

TEST(IndexNamerTest, CutsTheBaseToFourteenCharactersThenTrims) {
    IndexNamer namer([] { return 0.4321; });
    EXPECT_EQ(namer.next("ragione_sociale_data"), "ragione_social4321");
    EXPECT_EQ(namer.next("abcdefghijklm n"), "abcdefghijklm4321");
    EXPECT_EQ(namer.next("cliente_data"), "cliente_data4321");
}

TEST(IndexNamerTest, NeverGivesANameTheCatalogueOrTheRunAlreadyHas) {
    std::vector<double> values = {0.1111, 0.1111, 0.2222, 0.1111, 0.2222, 0.3333};
    std::size_t n = 0;
    IndexNamer namer([&] { return values.at(n++); });
    namer.addExisting("numero_doc1111   ");  // the catalogue may pad its names
    EXPECT_EQ(namer.next("numero_doc"), "numero_doc2222");
    // Same base again in the same run: 1111 is in the catalogue, 2222 was just given.
    EXPECT_EQ(namer.next("numero_doc"), "numero_doc3333");
    EXPECT_EQ(n, values.size());
}

}  // namespace
}  // namespace zq
