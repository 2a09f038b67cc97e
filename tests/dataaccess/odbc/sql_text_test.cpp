#include "dataaccess/odbc/odbc_sql_text.h"

#include "common/error.h"

#include <gtest/gtest.h>

namespace zq {
namespace {

TEST(OdbcSqlText, FindsTheOneTableAStatementReads) {
    struct Case {
        const char* sql;
        const char* table;
    } cases[] = {
        {"SELECT * FROM utenti WHERE nome = 'mario'", "utenti"},
        {"select * from ar_dbelenco where sys_seriale = 'a0712'", "ar_dbelenco"},
        {"SELECT a, b FROM informix.systables ORDER BY tabname", "informix.systables"},
        {"SELECT * FROM volumi v WHERE v.cod_ditta = '001'", "volumi"}, {"SELECT * FROM volumi AS v", "volumi"},
        {"regditta", "regditta"}, {"SELECT * FROM a, b WHERE a.x = b.x", ""},
        {"SELECT * FROM a INNER JOIN b ON a.x = b.x", ""}, {"SELECT * FROM a WHERE x IN (SELECT x FROM b)", ""},
        {"SELECT count(*) FROM a GROUP BY x", ""}, {"UPDATE a SET x = 1", ""},
        {"SELECT (SELECT max(x) FROM b) FROM a", "a"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sql);
        EXPECT_EQ(sourceTableOf(c.sql), c.table);
    }
}

TEST(OdbcSqlText, ReadsFindConditions) {
    auto c = parseFindCriteria("sys_seriale = 'a0712'");
    EXPECT_EQ(c.column, "sys_seriale");
    EXPECT_EQ(c.value, Value("a0712"));
    c = parseFindCriteria("idxname='l''indice'");
    EXPECT_EQ(c.column, "idxname");
    EXPECT_EQ(c.value, Value("l'indice"));
    c = parseFindCriteria(" anno = 2024 ");
    EXPECT_EQ(c.column, "anno");
    EXPECT_EQ(c.value.toDouble(), 2024.0);
    c = parseFindCriteria("x = ''");
    EXPECT_EQ(c.value, Value(""));
    c = parseFindCriteria("[sys_seriale] = 'a0712'");
    EXPECT_EQ(c.column, "sys_seriale");
    for (const char* bad : {"anno > 3", "= 'x'", "x = 'a", "x = 'a'b'", "x = abc", "a b = 1", "[] = 1"}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(parseFindCriteria(bad), Error);
    }
}

TEST(OdbcSqlText, TableNamesBecomeStatements) {
    EXPECT_EQ(recordsetStatement("utenti"), "SELECT * FROM utenti");
    EXPECT_EQ(recordsetStatement(" informix.systables "), "SELECT * FROM informix.systables");
    EXPECT_EQ(recordsetStatement("SELECT 1"), "SELECT 1");
    EXPECT_TRUE(isPlainIdentifier("a0712_x"));
    EXPECT_FALSE(isPlainIdentifier("a b"));
    EXPECT_FALSE(isPlainIdentifier("1abc"));
    EXPECT_FALSE(isPlainIdentifier("own.tab"));
    EXPECT_TRUE(isPlainIdentifier("own.tab", /*allowOwner=*/true));
    EXPECT_FALSE(isPlainIdentifier("x;drop", /*allowOwner=*/true));
}

}  // namespace
}  // namespace zq
