// The statement texts of the link, unlink and registry steps, for ordinary values
// exactly as the original builds them, and values with quotes kept inside literals.

#include "linking/link_sql.h"

#include <gtest/gtest.h>

namespace zq {
namespace {

TEST(LinkSqlTest, StatementsOfOneArchive) {
    const LinkParams m{"001", 2023, "M", "01"};
    const LinkParams a{"001", 9999, "A", ""};
    const LinkParams blankDoc{"001", 2023, "M", "  "};
    IndexDef pk;
    pk.name = "primario";
    pk.primary = true;
    pk.fields = {"Sys_Record", "Anno"};
    const struct {
        const char* what;
        std::string got;
        const char* expected;
    } cases[] = {
        {"parameters M", LinkSql::parameterQuery(m),
         "SELECT * FROM ar_dbelenco WHERE ditt = '001' AND anno = 2023 AND tipo_ass = 'M' AND tipo_doc = '01'"},
        {"parameters A", LinkSql::parameterQuery(a),
         "SELECT * FROM ar_dbelenco WHERE ditt = '001' AND anno = 9999 AND tipo_ass = 'A'"},
        {"parameters blank document type", LinkSql::parameterQuery(blankDoc),
         "SELECT * FROM ar_dbelenco WHERE ditt = '001' AND anno = 2023 AND tipo_ass = 'M'"},
        {"parameters DAV", LinkSql::davParameterQuery("003"),
         "SELECT * FROM ar_dbelenco WHERE ditt = '003' AND anno = 9999 AND tipo_ass = 'M' AND tipo_doc = 'Z'"},
        {"registry", LinkSql::registryQuery("a2215032010150a1f"),
         "SELECT * FROM ar_dbelenco WHERE sys_seriale = 'a2215032010150a1f'"},
        {"systables", LinkSql::systablesQuery("a2215032010150a1f"),
         "SELECT * FROM systables WHERE tabname = 'a2215032010150a1f'"},
        {"sysindexes", LinkSql::sysindexesQuery(), "SELECT * FROM sysindexes ORDER BY idxname"},
        {"index", LinkSql::createIndex(false, "numero_doc1234", "2215032010150A1F", {"Numero_Doc", "data_doc"}),
         "CREATE INDEX numero_doc1234 ON a2215032010150A1F(numero_doc,data_doc)"},
        {"unique index", LinkSql::createIndex(true, "primario0042", "x", {"sys_record"}),
         "CREATE UNIQUE INDEX primario0042 ON ax(sys_record)"},
        {"primary key", LinkSql::primaryKey("2215032010150A1F", pk),
         "ALTER TABLE 2215032010150A1F ADD CONSTRAINT primario PRIMARY KEY (sys_record,anno)"},
        {"update M", LinkSql::registryUpdate(m, "a2215032010150a1f", "/dati/A/00000000/", true),
         "UPDATE ar_dbelenco SET sys_path_docs = '/dati/A/00000000/' WHERE ditt = '001' AND anno = 2023"
         " AND tipo_ass = 'M' AND tipo_doc = '01' AND sys_seriale = 'a2215032010150a1f'"},
        {"update A", LinkSql::registryUpdate(a, "a2215032010150a1f", "/dati/A/00000000/", false),
         "UPDATE ar_dbelenco SET sys_path_docs = '/dati/A/00000000/' WHERE ditt = '001' AND anno = 9999"
         " AND tipo_ass = 'A' AND sys_seriale = 'a2215032010150a1f'"},
        {"insert M", LinkSql::registryInsert(m, "a2215032010150a1f", "/dati/A/00000000/"),
         "INSERT INTO ar_dbelenco VALUES('001', 2023, 'M', '01', 'a2215032010150a1f', '/dati/A/00000000/')"},
        {"insert A", LinkSql::registryInsert(a, "a2215032010150a1f", "C:\\\\A\\\\00000000\\\\"),
         "INSERT INTO ar_dbelenco VALUES('001', 9999, 'A', '', 'a2215032010150a1f', 'C:\\\\A\\\\00000000\\\\')"},
        {"drop", LinkSql::dropTable("a2215032010150a1f"), "DROP TABLE a2215032010150a1f"},
        {"delete", LinkSql::registryDelete("a2215032010150a1f"),
         "DELETE FROM ar_dbelenco WHERE sys_seriale = 'a2215032010150a1f'"},
        {"list all areas", LinkSql::archiveListQuery(0),
         "SELECT AREE.AREA,DB_ELENCO.* From DB_ELENCO INNER JOIN AREE ON DB_ELENCO.ID_AREA = AREE.ID_AREA"
         " ORDER BY AREA, ARCHIVIO"},
        {"list one area", LinkSql::archiveListQuery(5),
         "SELECT AREE.AREA,DB_ELENCO.* From DB_ELENCO INNER JOIN AREE ON DB_ELENCO.ID_AREA = AREE.ID_AREA"
         " WHERE AREE.ID_AREA = 5 ORDER BY AREA, ARCHIVIO"},
        {"unlink list", LinkSql::freeListQuery(),
         "SELECT AREE.AREA,DB_ELENCO.* From DB_ELENCO, AREE Where DB_ELENCO.ID_AREA = AREE.ID_AREA"
         " ORDER BY AREA, ARCHIVIO"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.got, c.expected);
    }
}

TEST(LinkSqlTest, QuotesInValuesStayInsideTheirLiterals) {
    const LinkParams p{"0'1", 2023, "M", "x';--"};
    EXPECT_EQ(LinkSql::parameterQuery(p),
              "SELECT * FROM ar_dbelenco WHERE ditt = '0''1' AND anno = 2023 AND tipo_ass = 'M' AND tipo_doc = 'x'';--'");
    EXPECT_EQ(LinkSql::registryInsert(p, "ax", "/l'archivio/"),
              "INSERT INTO ar_dbelenco VALUES('0''1', 2023, 'M', 'x'';--', 'ax', '/l''archivio/')");
}

}  // namespace
}  // namespace zq
