#include "linking/link_sql.h"

#include "common/textroutines.h"
#include "linking/link_names.h"
#include "runtime/text.h"

namespace zq {

std::string LinkSql::parameterQuery(const LinkParams& p) {
    std::string sel = "SELECT * FROM ar_dbelenco " + ("WHERE ditt = " + sqlText(p.ditt)) +
                      " AND anno = " + std::to_string(p.anno) + " AND tipo_ass = " + sqlText(p.tipoAss);
    if (!vbTrim(p.tipoDoc).empty()) sel += " AND tipo_doc = " + sqlText(p.tipoDoc);
    return sel;
}

std::string LinkSql::davParameterQuery(const std::string& ditt) {
    return "SELECT * FROM ar_dbelenco " + ("WHERE ditt = " + sqlText(ditt)) + " AND anno = " + "9999" +
           " AND tipo_ass = " + sqlText("M") + " AND tipo_doc = " + sqlText("Z");
}

std::string LinkSql::registryQuery(const std::string& tarv) {
    return "SELECT * FROM ar_dbelenco " + ("WHERE sys_seriale = " + sqlText(vbTrim(tarv)));
}

std::string LinkSql::systablesQuery(const std::string& tarv) {
    return "SELECT * FROM systables WHERE tabname = " + sqlText(tarv);
}

std::string LinkSql::sysindexesQuery() { return "SELECT * FROM sysindexes ORDER BY idxname"; }

std::string LinkSql::createIndex(bool unique, const std::string& name, const std::string& tableName,
                                 const std::vector<std::string>& fields) {
    std::string stmt = std::string(unique ? "CREATE UNIQUE INDEX" : "CREATE INDEX") + " " + name + " ON a" +
                       tableName + "(";
    for (const auto& f : fields) stmt += vbLCase(f) + ",";
    stmt.back() = ')';
    return stmt;
}

std::string LinkSql::primaryKey(const std::string& tableName, const IndexDef& index) {
    std::string fields;
    for (const auto& f : index.fields) fields += (fields.empty() ? "" : ",") + vbLCase(f);
    return "ALTER TABLE " + tableName + " ADD CONSTRAINT " + LinkNames::keyName(index.name) + " PRIMARY KEY (" + fields + ")";
}

std::string LinkSql::registryUpdate(const LinkParams& p, const std::string& tarv, const std::string& serverPath,
                                    bool withDocType) {
    std::string upd = "UPDATE ar_dbelenco " + ("SET sys_path_docs = " + sqlText(serverPath)) +
                      " WHERE ditt = " + sqlText(p.ditt) + " AND anno = " + std::to_string(p.anno) +
                      " AND tipo_ass = " + sqlText(p.tipoAss);
    if (withDocType) upd += " AND tipo_doc = " + sqlText(p.tipoDoc);
    return upd + " AND sys_seriale = " + sqlText(tarv);
}

std::string LinkSql::registryInsert(const LinkParams& p, const std::string& tarv, const std::string& serverPath) {
    return "INSERT INTO ar_dbelenco VALUES(" + sqlText(p.ditt) + ", " + std::to_string(p.anno) + ", " +
           sqlText(p.tipoAss) + ", " + sqlText(p.tipoDoc) + ", " + sqlText(tarv) + ", " + sqlText(serverPath) + ")";
}

std::string LinkSql::dropTable(const std::string& tarv) { return "DROP TABLE " + tarv; }

std::string LinkSql::registryDelete(const std::string& tarv) {
    return "DELETE FROM ar_dbelenco WHERE sys_seriale = " + sqlText(tarv);
}

std::string LinkSql::archiveListQuery(long areaId) {
    std::string sql = std::string("SELECT AREE.AREA,DB_ELENCO.*") + " From DB_ELENCO INNER JOIN AREE" +
                      " ON DB_ELENCO.ID_AREA = AREE.ID_AREA";
    if (areaId != 0) sql += " WHERE AREE.ID_AREA = " + std::to_string(areaId);
    return sql + " ORDER BY AREA, ARCHIVIO";
}

std::string LinkSql::freeListQuery() {
    return std::string("SELECT AREE.AREA,DB_ELENCO.*") + " From DB_ELENCO, AREE" +
           " Where DB_ELENCO.ID_AREA = AREE.ID_AREA" + " ORDER BY AREA, ARCHIVIO";
}

std::string LinkSql::registryListQuery() { return "SELECT * FROM ar_dbelenco ORDER BY sys_seriale"; }

}  // namespace zq
