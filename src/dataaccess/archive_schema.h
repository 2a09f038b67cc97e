#pragma once
// Table definitions of an archive file: what Jet kept in its system tables, kept here
// in hidden tables beside the data (names starting "zq_", never listed):
//
//   zq_tabledefs(name, seq)          collection order: creation order, kept by a rename
//   zq_fields(tabname, name, type, size, attributes, required, ordinal,
//             allow_zero_length, default_value)
//   zq_indexes(tabname, name, sqlname, position, is_primary, is_unique, is_foreign,
//              ignore_nulls, clustered, required, fields)
//   zq_counters(id, last)            COUNTER numbering (counter.h)
//
// Jet index names belong to their table ("PrimaryKey" on every table, names with "/"),
// SQLite's to the file: each index gets a file-wide SQLite name (zq_ix_<n>) and keeps
// its Jet name in zq_indexes. A table made by plain SQL, without these rows, is read
// from its column declarations (jet_types.h) and SQLite's own indexes. An index field's
// direction is SQLite's own (DESC in the index).
// Every change runs inside a savepoint: it happens whole or not at all.

#include "dataaccess/archive_db.h"
#include "dataaccess/link_spec.h"

#include <optional>
#include <string>
#include <vector>

struct sqlite3;

namespace zq {

class ArchiveSchema {
public:
    explicit ArchiveSchema(sqlite3* db) : db_(db) {}

    std::vector<TableDef> tableDefs();
    std::optional<TableDef> tableDef(const std::string& name);
    /// The name as stored (its case), or nothing when no such table.
    std::optional<std::string> storedName(const std::string& name);

    void createTable(const TableDef& def);
    void createLink(const std::string& name, const std::string& connect, const std::string& sourceTable);
    /// A link as another database stored it: its columns (and key, when declared) are
    /// taken as given, so the remote table need not be reachable.
    void createStoredLink(const std::string& name, const LinkSpec& link);
    void renameTable(const std::string& oldName, const std::string& newName);
    void deleteTable(const std::string& name);
    void setLinkConnect(const std::string& name, const std::string& connect, const std::string& sourceTable);
    /// "ALTER TABLE t ADD CONSTRAINT n PRIMARY KEY (a,b)": on a link it records the key,
    /// on a local table it adds a primary index. Nothing for any other statement.
    bool executeAddPrimaryKey(const std::string& sql);

    /// Creates the hidden tables when missing.
    void ensureMetadata();

private:
    bool hasMetadata();
    bool hasFieldExtras();
    std::vector<bool> descendingFields(const std::string& sqlname);
    void requireNewName(const std::string& name);
    std::string requireTable(const std::string& name);
    void appendToCollection(const std::string& name);
    void addIndex(const std::string& table, const IndexDef& index, int position);
    TableDef readLocal(const std::string& name);
    std::vector<IndexDef> readIndexes(const std::string& name);
    template <class F> void inSavepoint(F&& f);

    sqlite3* db_;
};

}  // namespace zq
