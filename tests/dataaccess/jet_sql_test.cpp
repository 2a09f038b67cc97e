#include "dataaccess/jet_sql.h"

#include <gtest/gtest.h>

namespace zq {
namespace {

TEST(JetSql, NamesThatBeginWithADigitAreDelimited) {
    struct Case {
        const char* jet;
        const char* sqlite;
    };
    const Case cases[] = {
        {"SELECT * FROM 2401011200001a2b", "SELECT * FROM \"2401011200001a2b\""},
        {"SELECT * FROM 2401011200001a2b_sav WHERE anno = 2024 AND tipo_doc = 3",
         "SELECT * FROM \"2401011200001a2b_sav\" WHERE anno = 2024 AND tipo_doc = 3"},
        {"SELECT * FROM 2401011200001234 ORDER BY sys_record DESC",
         "SELECT * FROM \"2401011200001234\" ORDER BY sys_record DESC"},
        {"select * from 2401011200001e25", "select * from \"2401011200001e25\""},
        {"INSERT INTO 2401011200001a2b SELECT * FROM 2401011200001a2b_sav",
         "INSERT INTO \"2401011200001a2b\" SELECT * FROM \"2401011200001a2b_sav\""},
        {"UPDATE 24a SET x = 1.5e-3, y = 0x1F, z = 3.25 WHERE k = 1e5",
         "UPDATE \"24a\" SET x = 1.5e-3, y = 0x1F, z = 3.25 WHERE k = 1e5"},
        {"ALTER TABLE 24a ADD CONSTRAINT PrimaryKey PRIMARY KEY (sys_record)",
         "ALTER TABLE \"24a\" ADD CONSTRAINT PrimaryKey PRIMARY KEY (sys_record)"},
        {"SELECT * FROM [24a] WHERE d = '24a' AND e = \"24b\" -- 24c\n", "SELECT * FROM [24a] WHERE d = '24a' AND e = \"24b\" -- 24c\n"},
        {"SELECT 24a.x FROM DB_ELENCO, 24a", "SELECT \"24a\".x FROM DB_ELENCO, \"24a\""},
        {"SELECT * FROM t WHERE s = 'it''s 24a'", "SELECT * FROM t WHERE s = 'it''s 24a'"},
        {"SELECT * FROM AREE WHERE ID_PARENT = 0", "SELECT * FROM AREE WHERE ID_PARENT = 0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.jet);
        EXPECT_EQ(jetSqlForSqlite(c.jet), c.sqlite);
    }
}

}  // namespace
}  // namespace zq
