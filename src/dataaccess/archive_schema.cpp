#include "dataaccess/archive_schema.h"

#include "common/error.h"
#include "dataaccess/counter.h"
#include "dataaccess/jet_types.h"
#include "dataaccess/link_module.h"
#include "dataaccess/link_spec.h"
#include "dataaccess/sql_text.h"
#include "dataaccess/sqlite_connection.h"
#include "dataaccess/sqlite_handle.h"

#include <sqlite3.h>

#include <map>
#include <regex>
#include <set>

namespace zq {

namespace {

constexpr const char* kSource = "zq.archive";
constexpr char kFieldSeparator = '\x1f';  // between the field names of an index

const char* kMetadata = R"(
CREATE TABLE IF NOT EXISTS zq_tabledefs(name TEXT PRIMARY KEY COLLATE NOCASE, seq INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS zq_fields(tabname TEXT NOT NULL COLLATE NOCASE, name TEXT NOT NULL COLLATE NOCASE,
  type INTEGER NOT NULL, size INTEGER NOT NULL, attributes INTEGER NOT NULL, required INTEGER NOT NULL,
  ordinal INTEGER NOT NULL, PRIMARY KEY(tabname, name));
CREATE TABLE IF NOT EXISTS zq_indexes(tabname TEXT NOT NULL COLLATE NOCASE, name TEXT NOT NULL COLLATE NOCASE,
  sqlname TEXT NOT NULL UNIQUE, position INTEGER NOT NULL, is_primary INTEGER NOT NULL, is_unique INTEGER NOT NULL,
  is_foreign INTEGER NOT NULL, ignore_nulls INTEGER NOT NULL, clustered INTEGER NOT NULL, required INTEGER NOT NULL,
  fields TEXT NOT NULL, PRIMARY KEY(tabname, name));
CREATE TABLE IF NOT EXISTS zq_counters(id INTEGER PRIMARY KEY, last INTEGER NOT NULL);
)";
// Field properties added after the first files were written: an older file gets them
// the first time its definitions change.
const char* kFieldExtras = R"(
ALTER TABLE zq_fields ADD COLUMN allow_zero_length INTEGER NOT NULL DEFAULT 0;
ALTER TABLE zq_fields ADD COLUMN default_value TEXT NOT NULL DEFAULT '';
)";

[[noreturn]] void fail(const std::string& what) { throw Error(kErrProviderFailure, what, kSource); }

bool reservedName(const std::string& name) {
    std::string l = lowerAscii(name);
    return l.rfind("zq_", 0) == 0 || l.rfind("sqlite_", 0) == 0;
}

std::string joinFields(const std::vector<std::string>& fields) {
    std::string out;
    for (const auto& f : fields) {
        if (!out.empty()) out += kFieldSeparator;
        out += f;
    }
    return out;
}

std::vector<std::string> splitFields(const std::string& text) {
    std::vector<std::string> out;
    std::string cur;
    for (char c : text) {
        if (c == kFieldSeparator) {
            out.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!text.empty()) out.push_back(cur);
    return out;
}

std::string bareName(const std::string& raw) {
    std::string n = trimBlanks(raw);
    if (n.size() >= 2 && n.front() == '[' && n.back() == ']') return n.substr(1, n.size() - 2);
    return unquote(n);
}

TableDef linkDef(const std::string& name, const LinkSpec& linkSpec) {
    TableDef def;
    def.name = name;
    def.connect = linkSpec.connect;
    def.sourceTableName = linkSpec.source;
    def.linkKey = linkSpec.key;
    for (size_t i = 0; i < linkSpec.columns.size(); ++i) {
        FieldDef f = fieldFromRemoteType(linkSpec.columns[i].name, linkSpec.columns[i].type);
        f.ordinalPosition = static_cast<int>(i);
        def.fields.push_back(f);
    }
    if (!linkSpec.key.empty()) {
        IndexDef k;
        k.name = linkSpec.keyName;
        k.primary = k.unique = k.required = true;
        k.fields = linkSpec.key;
        def.indexes.push_back(k);
    }
    return def;
}

}  // namespace

template <class F>
void ArchiveSchema::inSavepoint(F&& f) {
    execSql(db_, "SAVEPOINT zq_schema", kSource);
    try {
        f();
        execSql(db_, "RELEASE zq_schema", kSource);
    } catch (...) {
        sqlite3_exec(db_, "ROLLBACK TO zq_schema; RELEASE zq_schema", nullptr, nullptr, nullptr);
        throw;
    }
}

bool ArchiveSchema::hasMetadata() {
    Statement st(db_, "SELECT 1 FROM sqlite_schema WHERE type = 'table' AND name = 'zq_tabledefs'", kSource);
    return st.step();
}

bool ArchiveSchema::hasFieldExtras() {
    Statement st(db_, "SELECT 1 FROM pragma_table_info('zq_fields') WHERE name = 'allow_zero_length'", kSource);
    return st.step();
}

void ArchiveSchema::ensureMetadata() {
    execSql(db_, kMetadata, kSource);
    if (!hasFieldExtras()) execSql(db_, kFieldExtras, kSource);
}

std::vector<bool> ArchiveSchema::descendingFields(const std::string& sqlname) {
    std::vector<bool> out;
    bool any = false;
    Statement st(db_, "SELECT \"desc\" FROM pragma_index_xinfo(?1) WHERE \"key\" = 1 ORDER BY seqno", kSource);
    st.bindText(1, sqlname);
    while (st.step()) {
        out.push_back(st.columnInt(0) != 0);
        any = any || out.back();
    }
    if (!any) out.clear();
    return out;
}

std::optional<std::string> ArchiveSchema::storedName(const std::string& name) {
    if (reservedName(name)) return std::nullopt;
    Statement st(db_, "SELECT name FROM sqlite_schema WHERE type = 'table' AND name = ?1 COLLATE NOCASE", kSource);
    st.bindText(1, name);
    if (!st.step()) return std::nullopt;
    return st.columnText(0);
}

void ArchiveSchema::requireNewName(const std::string& name) {
    if (trimBlanks(name).empty()) fail("a table needs a name");
    if (reservedName(name)) fail("table name " + name + " is reserved");
    Statement st(db_, "SELECT type FROM sqlite_schema WHERE name = ?1 COLLATE NOCASE", kSource);
    st.bindText(1, name);
    if (st.step()) fail("La tabella '" + name + "' esiste già nell'archivio");
}

std::string ArchiveSchema::requireTable(const std::string& name) {
    auto stored = storedName(name);
    if (!stored) fail("La tabella '" + name + "' non esiste nell'archivio");
    return *stored;
}

void ArchiveSchema::appendToCollection(const std::string& name) {
    Statement st(db_, "INSERT OR REPLACE INTO zq_tabledefs(name, seq) "
                      "SELECT ?1, coalesce(max(seq), 0) + 1 FROM zq_tabledefs", kSource);
    st.bindText(1, name);
    st.step();
}

std::vector<TableDef> ArchiveSchema::tableDefs() {
    std::string sql = hasMetadata()
        ? "SELECT s.name, s.sql FROM sqlite_schema AS s LEFT JOIN zq_tabledefs AS d ON d.name = s.name "
          "WHERE s.type = 'table' AND s.name NOT LIKE 'sqlite\\_%' ESCAPE '\\' AND s.name NOT LIKE 'zq\\_%' ESCAPE '\\' "
          "ORDER BY d.seq IS NULL, d.seq, s.rowid"
        : "SELECT s.name, s.sql FROM sqlite_schema AS s "
          "WHERE s.type = 'table' AND s.name NOT LIKE 'sqlite\\_%' ESCAPE '\\' AND s.name NOT LIKE 'zq\\_%' ESCAPE '\\' "
          "ORDER BY s.rowid";
    std::vector<std::pair<std::string, std::string>> tables;
    {
        Statement st(db_, sql, kSource);
        while (st.step()) tables.emplace_back(st.columnText(0), st.columnText(1));
    }
    std::vector<TableDef> defs;
    for (const auto& [name, create] : tables) {
        if (auto linkSpec = LinkSpec::fromSchemaSql(create)) defs.push_back(linkDef(name, *linkSpec));
        else defs.push_back(readLocal(name));
    }
    return defs;
}

std::optional<TableDef> ArchiveSchema::tableDef(const std::string& name) {
    auto stored = storedName(name);
    if (!stored) return std::nullopt;
    Statement st(db_, "SELECT sql FROM sqlite_schema WHERE type = 'table' AND name = ?1", kSource);
    st.bindText(1, *stored);
    st.step();
    if (auto linkSpec = LinkSpec::fromSchemaSql(st.columnText(0))) return linkDef(*stored, *linkSpec);
    return readLocal(*stored);
}

TableDef ArchiveSchema::readLocal(const std::string& name) {
    TableDef def;
    def.name = name;
    std::map<std::string, FieldDef> kept;
    if (hasMetadata()) {
        const bool extras = hasFieldExtras();
        Statement st(db_,
                     std::string("SELECT name, type, size, attributes, required, ordinal, ") +
                         (extras ? "allow_zero_length, default_value" : "0, ''") + " FROM zq_fields WHERE tabname = ?1",
                     kSource);
        st.bindText(1, name);
        while (st.step()) {
            FieldDef f;
            f.name = st.columnText(0);
            f.type = static_cast<int>(st.columnInt(1));
            f.size = static_cast<long>(st.columnInt(2));
            f.attributes = static_cast<int>(st.columnInt(3));
            f.required = st.columnInt(4) != 0;
            f.ordinalPosition = static_cast<int>(st.columnInt(5));
            f.allowZeroLength = st.columnInt(6) != 0;
            f.defaultValue = st.columnText(7);
            kept[lowerAscii(f.name)] = f;
        }
    }
    Statement cols(db_, "SELECT cid, name, type, \"notnull\" FROM pragma_table_info(?1)", kSource);
    cols.bindText(1, name);
    while (cols.step()) {
        std::string col = cols.columnText(1);
        auto it = kept.find(lowerAscii(col));
        FieldDef f;
        if (it != kept.end()) {
            f = it->second;
        } else {
            f = fieldFromDeclaration(col, cols.columnText(2));
            f.required = cols.columnInt(3) != 0;
            f.ordinalPosition = static_cast<int>(cols.columnInt(0));
        }
        f.name = col;
        def.fields.push_back(f);
    }
    def.indexes = readIndexes(name);
    return def;
}

std::vector<IndexDef> ArchiveSchema::readIndexes(const std::string& name) {
    std::vector<IndexDef> out;
    std::set<std::string> known;
    if (hasMetadata()) {
        Statement st(db_,
                     "SELECT name, sqlname, is_primary, is_unique, is_foreign, ignore_nulls, clustered, required, fields "
                     "FROM zq_indexes WHERE tabname = ?1 ORDER BY position",
                     kSource);
        st.bindText(1, name);
        while (st.step()) {
            IndexDef i;
            i.name = st.columnText(0);
            known.insert(st.columnText(1));
            i.descending = descendingFields(st.columnText(1));
            i.primary = st.columnInt(2) != 0;
            i.unique = st.columnInt(3) != 0;
            i.foreign = st.columnInt(4) != 0;
            i.ignoreNulls = st.columnInt(5) != 0;
            i.clustered = st.columnInt(6) != 0;
            i.required = st.columnInt(7) != 0;
            i.fields = splitFields(st.columnText(8));
            out.push_back(i);
        }
    }
    // indexes made by plain SQL
    Statement list(db_, "SELECT name, \"unique\", origin FROM pragma_index_list(?1) ORDER BY seq DESC", kSource);
    list.bindText(1, name);
    bool hasPrimary = false;
    while (list.step()) {
        std::string sqlname = list.columnText(0);
        if (known.count(sqlname)) continue;
        IndexDef i;
        i.primary = list.columnText(2) == "pk";
        i.name = i.primary ? "PrimaryKey" : sqlname;
        i.unique = list.columnInt(1) != 0;
        i.required = i.primary;
        Statement info(db_, "SELECT name FROM pragma_index_info(?1) ORDER BY seqno", kSource);
        info.bindText(1, sqlname);
        while (info.step()) i.fields.push_back(info.columnText(0));
        i.descending = descendingFields(sqlname);
        hasPrimary = hasPrimary || i.primary;
        out.push_back(i);
    }
    if (!hasPrimary) {
        // an INTEGER PRIMARY KEY has no index of its own: it is the rowid
        Statement pk(db_, "SELECT name FROM pragma_table_info(?1) WHERE pk > 0 ORDER BY pk", kSource);
        pk.bindText(1, name);
        IndexDef i;
        while (pk.step()) i.fields.push_back(pk.columnText(0));
        bool declaredKeyKept = false;
        for (const auto& o : out) declaredKeyKept = declaredKeyKept || o.primary;
        if (!i.fields.empty() && !declaredKeyKept) {
            i.name = "PrimaryKey";
            i.primary = i.unique = i.required = true;
            out.push_back(i);
        }
    }
    return out;
}

void ArchiveSchema::addIndex(const std::string& table, const IndexDef& index, int position) {
    if (trimBlanks(index.name).empty()) fail("index on " + table + " without a name");
    if (index.fields.empty()) fail("index " + index.name + " names no field");
    std::set<std::string> columns;
    {
        Statement cols(db_, "SELECT name FROM pragma_table_info(?1)", kSource);
        cols.bindText(1, table);
        while (cols.step()) columns.insert(lowerAscii(cols.columnText(0)));
    }
    std::string list;
    for (size_t k = 0; k < index.fields.size(); ++k) {
        const std::string& f = index.fields[k];
        if (!columns.count(lowerAscii(f))) fail("index " + index.name + ": no field " + f + " in " + table);
        list += (list.empty() ? "" : ", ") + sqliteName(f);
        if (k < index.descending.size() && index.descending[k]) list += " DESC";
    }
    {
        Statement dup(db_, "SELECT 1 FROM zq_indexes WHERE tabname = ?1 AND name = ?2", kSource);
        dup.bindText(1, table);
        dup.bindText(2, index.name);
        if (dup.step()) fail("index " + index.name + " already exists on " + table);
    }
    Statement next(db_, "SELECT coalesce(max(CAST(substr(sqlname, 7) AS INTEGER)), 0) + 1 FROM zq_indexes", kSource);
    next.step();
    std::string sqlname = "zq_ix_" + std::to_string(next.columnInt(0));
    execSql(db_, std::string(index.unique || index.primary ? "CREATE UNIQUE INDEX " : "CREATE INDEX ") +
                     sqliteName(sqlname) + " ON " + sqliteName(table) + " (" + list + ")",
            kSource);
    Statement meta(db_, "INSERT INTO zq_indexes VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11)", kSource);
    meta.bindText(1, table);
    meta.bindText(2, index.name);
    meta.bindText(3, sqlname);
    meta.bindInt(4, position);
    meta.bindInt(5, index.primary);
    meta.bindInt(6, index.unique);
    meta.bindInt(7, index.foreign);
    meta.bindInt(8, index.ignoreNulls);
    meta.bindInt(9, index.clustered);
    meta.bindInt(10, index.required);
    meta.bindText(11, joinFields(index.fields));
    meta.step();
}

void ArchiveSchema::createTable(const TableDef& def) {
    requireNewName(def.name);
    if (def.fields.empty()) fail("table " + def.name + " has no fields");
    std::set<std::string> seen;
    std::string columns;
    for (const auto& f : def.fields) {
        if (trimBlanks(f.name).empty()) fail("table " + def.name + ": a field without a name");
        if (!seen.insert(lowerAscii(f.name)).second) fail("table " + def.name + ": field " + f.name + " twice");
        columns += (columns.empty() ? "" : ", ") + sqliteName(f.name) + " " + jetDeclaration(f);
        // a counter gets its number after the row is in, so it cannot refuse Null itself
        if (f.required && !isCounter(f)) columns += " NOT NULL";
    }
    ensureMetadata();
    inSavepoint([&] {
        execSql(db_, "CREATE TABLE " + sqliteName(def.name) + " (" + columns + ")", kSource);
        for (const auto& f : def.fields) {
            if (isCounter(f)) installCounter(db_, def.name, f.name, /*zeroMeansNext=*/false, kSource);
            Statement meta(db_,
                           "INSERT INTO zq_fields(tabname, name, type, size, attributes, required, ordinal, "
                           "allow_zero_length, default_value) VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)",
                           kSource);
            meta.bindText(1, def.name);
            meta.bindText(2, f.name);
            meta.bindInt(3, f.type);
            meta.bindInt(4, f.size);
            meta.bindInt(5, f.attributes);
            meta.bindInt(6, f.required);
            meta.bindInt(7, f.ordinalPosition);
            meta.bindInt(8, f.allowZeroLength);
            meta.bindText(9, f.defaultValue);
            meta.step();
        }
        int position = 0;
        for (const auto& i : def.indexes) addIndex(def.name, i, position++);
        appendToCollection(def.name);
    });
}

void ArchiveSchema::createLink(const std::string& name, const std::string& connect, const std::string& sourceTable) {
    requireNewName(name);
    LinkSpec linkSpec;
    linkSpec.connect = connect;
    linkSpec.source = sourceTable;
    if (trimBlanks(connect).empty() || trimBlanks(sourceTable).empty())
        fail("link " + name + " needs a connect string and a source table");
    try {
        linkSpec.columns = describeRemoteTable(db_, connect, sourceTable);
    } catch (const Error& e) {
        fail("link " + name + ": " + e.description());
    }
    createStoredLink(name, linkSpec);
}

void ArchiveSchema::createStoredLink(const std::string& name, const LinkSpec& link) {
    requireNewName(name);
    if (trimBlanks(link.connect).empty() || trimBlanks(link.source).empty())
        fail("link " + name + " needs a connect string and a source table");
    if (link.columns.empty()) fail("link " + name + " has no columns");
    ensureMetadata();
    inSavepoint([&] {
        execSql(db_, link.createStatement(name), kSource);
        appendToCollection(name);
    });
}

void ArchiveSchema::renameTable(const std::string& oldName, const std::string& newName) {
    std::string stored = requireTable(oldName);
    if (stored == newName) return;
    bool caseOnly = iequals(stored, newName);
    if (!caseOnly) requireNewName(newName);
    if (trimBlanks(newName).empty() || reservedName(newName)) fail("table name " + newName + " not allowed");
    bool meta = hasMetadata();
    inSavepoint([&] {
        std::string from = stored;
        if (caseOnly) {
            // SQLite sees "A" and "a" as one name: pass through a name of our own
            execSql(db_, "ALTER TABLE " + sqliteName(from) + " RENAME TO \"zq_renaming\"", kSource);
            from = "zq_renaming";
        }
        execSql(db_, "ALTER TABLE " + sqliteName(from) + " RENAME TO " + sqliteName(newName), kSource);
        if (!meta) return;
        for (const char* table : {"zq_tabledefs", "zq_fields", "zq_indexes"}) {
            std::string column = std::string(table) == "zq_tabledefs" ? "name" : "tabname";
            Statement st(db_, std::string("UPDATE ") + table + " SET " + column + " = ?1 WHERE " + column + " = ?2",
                         kSource);
            st.bindText(1, newName);
            st.bindText(2, stored);
            st.step();
        }
    });
}

void ArchiveSchema::deleteTable(const std::string& name) {
    std::string stored = requireTable(name);
    bool meta = hasMetadata();
    inSavepoint([&] {
        execSql(db_, "DROP TABLE " + sqliteName(stored), kSource);
        if (!meta) return;
        for (const char* sql : {"DELETE FROM zq_tabledefs WHERE name = ?1", "DELETE FROM zq_fields WHERE tabname = ?1",
                                "DELETE FROM zq_indexes WHERE tabname = ?1"}) {
            Statement st(db_, sql, kSource);
            st.bindText(1, stored);
            st.step();
        }
    });
}

void ArchiveSchema::setLinkConnect(const std::string& name, const std::string& connect, const std::string& sourceTable) {
    std::string stored = requireTable(name);
    Statement st(db_, "SELECT sql FROM sqlite_schema WHERE type = 'table' AND name = ?1", kSource);
    st.bindText(1, stored);
    st.step();
    auto linkSpec = LinkSpec::fromSchemaSql(st.columnText(0));
    if (!linkSpec) fail("table " + stored + " is not a link");
    if (trimBlanks(connect).empty()) fail("link " + stored + " needs a connect string");
    linkSpec->connect = connect;
    if (!trimBlanks(sourceTable).empty()) linkSpec->source = sourceTable;
    inSavepoint([&] {
        execSql(db_, "DROP TABLE " + sqliteName(stored), kSource);
        execSql(db_, linkSpec->createStatement(stored), kSource);
    });
}

bool ArchiveSchema::executeAddPrimaryKey(const std::string& sql) {
    static const std::regex re(
        R"(^\s*ALTER\s+TABLE\s+(\[[^\]]+\]|"[^"]+"|[^\s\[\]"]+)\s+ADD\s+CONSTRAINT\s+(\[[^\]]+\]|"[^"]+"|[^\s\[\]"]+)\s+PRIMARY\s+KEY\s*\(([^)]*)\)\s*;?\s*$)",
        std::regex::icase);
    std::smatch m;
    if (!std::regex_match(sql, m, re)) return false;
    std::string stored = requireTable(bareName(m[1].str()));
    std::string keyName = bareName(m[2].str());
    std::vector<std::string> fields;
    for (const auto& f : splitTopLevel(m[3].str(), ','))
        if (!bareName(f).empty()) fields.push_back(bareName(f));
    if (fields.empty()) fail("primary key " + keyName + " names no field");

    Statement st(db_, "SELECT sql FROM sqlite_schema WHERE type = 'table' AND name = ?1", kSource);
    st.bindText(1, stored);
    st.step();
    if (auto linkSpec = LinkSpec::fromSchemaSql(st.columnText(0))) {
        std::vector<std::string> key;
        for (const auto& f : fields) {
            int i = linkSpec->columnIndex(f);
            if (i < 0) fail("link " + stored + ": no field " + f + " for primary key " + keyName);
            key.push_back(linkSpec->columns[static_cast<size_t>(i)].name);
        }
        linkSpec->key = key;
        linkSpec->keyName = keyName;
        inSavepoint([&] {
            execSql(db_, "DROP TABLE " + sqliteName(stored), kSource);
            execSql(db_, linkSpec->createStatement(stored), kSource);
        });
        return true;
    }
    for (const auto& i : readIndexes(stored))
        if (i.primary) fail("table " + stored + " already has a primary key");
    IndexDef pk;
    pk.name = keyName;
    pk.primary = pk.unique = pk.required = true;
    pk.fields = fields;
    ensureMetadata();
    inSavepoint([&] { addIndex(stored, pk, static_cast<int>(readIndexes(stored).size())); });
    return true;
}


}  // namespace zq
