#include "import/link_import.h"

#include "dataaccess/archive_schema.h"
#include "dataaccess/link_module.h"
#include "dataaccess/link_spec.h"
#include "import/access_table.h"
#include "import/mdb_file.h"

namespace zq {

namespace {

// libmdb files a cached ODBC link under the object type that its reports also use.
constexpr int kMdbOdbcLink = MDB_REPORT;

// The remote type an ODBC link reports for a Jet field, so the link's fields read back
// with the same type codes (jet_types.h, fieldFromRemoteType).
std::string remoteTypeOf(const FieldDef& f) {
    switch (f.type) {
    case dbText: return "VARCHAR(" + std::to_string(f.size) + ")";
    case dbMemo: return "TEXT";
    case dbLong: return (f.attributes & dbAutoIncrField) ? "SERIAL" : "INTEGER";
    case dbInteger: case dbByte: return "SMALLINT";
    case dbBoolean: return "BOOLEAN";
    case dbCurrency: return "MONEY";
    case dbSingle: return "REAL";
    case dbDouble: return "FLOAT";
    case dbDecimal: return "DECIMAL";
    case dbDate: return "DATETIME";
    case dbBigInt: return "BIGINT";
    default: return "VARCHAR(255)";
    }
}

LinkSpec cachedLinkDef(MdbHandle* mdb, const AccessObject& link) {
    LinkSpec cached;
    cached.connect = link.connect;
    cached.source = link.foreignName;
    MdbTablePtr table = readTableDef(mdb, link.name.c_str(), kMdbOdbcLink);
    if (!table) return cached;
    const AccessTable def = describeTable(mdb, table.get());
    for (const auto& f : def.def.fields) cached.columns.push_back(LinkColumn{f.name, remoteTypeOf(f)});
    for (const auto& i : def.def.indexes) {
        if (!i.primary) continue;
        cached.keyName = i.name;
        cached.key = i.fields;
    }
    return cached;
}

}  // namespace

void importOdbcLink(MdbHandle* mdb, const AccessObject& link, sqlite3* db, ImportItem& item) {
    LinkSpec linkDef = cachedLinkDef(mdb, link);
    std::string reachable;
    try {
        const auto remote = describeRemoteTable(db, linkDef.connect, linkDef.source);
        if (linkDef.columns.empty()) linkDef.columns = remote;
    } catch (const std::exception&) {
        // The engine's text may quote the connect string, password included: not shown.
        reachable = "server non raggiungibile ora: collegamento creato com'era";
    }
    if (linkDef.columns.empty()) {
        item.note = "Access non conserva le colonne del collegamento e " + reachable;
        return;
    }
    ArchiveSchema(db).createStoredLink(link.name, linkDef);
    item.imported = true;
    item.columns = static_cast<int>(linkDef.columns.size());
    item.indexes = linkDef.key.empty() ? 0 : 1;
    item.note = "origine " + linkDef.source + (reachable.empty() ? "" : "; " + reachable);
}

}  // namespace zq
