#pragma once
// The archive database as its table definitions see it: the stand-in of the Jet
// data-access objects (TableDefs, Fields, Indexes) over the SQLite archive file.
// Collection order is creation order; a rename keeps rows, fields and indexes;
// links are virtual tables of the link module (see link_module.h). What Jet kept in its
// system tables is kept in hidden tables of the file (archive_schema.h); column types
// are declared with the Jet names (jet_types.h). Statements may name tables whose names
// begin with a digit without delimiters, as Jet SQL allows (jet_sql.h).

#include "dataaccess/connection.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

struct sqlite3;

namespace zq {

/// Field type codes of the original's data-access objects.
enum FieldType : int {
    dbBoolean = 1, dbByte = 2, dbInteger = 3, dbLong = 4, dbCurrency = 5, dbSingle = 6,
    dbDouble = 7, dbDate = 8, dbBinary = 9, dbText = 10, dbLongBinary = 11, dbMemo = 12,
    dbGUID = 15, dbBigInt = 16, dbVarBinary = 17, dbChar = 18, dbNumeric = 19,
    dbDecimal = 20, dbFloat = 21, dbTime = 22, dbTimeStamp = 23
};
/// Field attribute bits.
enum FieldAttribute : int { dbFixedField = 1, dbVariableField = 2, dbAutoIncrField = 16 };

struct FieldDef {
    std::string name;
    int type = dbText;
    long size = 0;         ///< characters for Text/Char, bytes otherwise (as the original reports)
    int attributes = 0;
    bool required = false;
    int ordinalPosition = 0;
    bool allowZeroLength = false;  ///< a Text or Memo field accepts ""
    std::string defaultValue{};    ///< the Jet expression as written ("0", "=Date()", "\"ab\""); empty: none
};

struct IndexDef {
    std::string name;
    bool primary = false;
    bool unique = false;
    bool foreign = false;
    bool ignoreNulls = false;
    bool clustered = false;
    bool required = false;
    std::vector<std::string> fields;
    std::vector<bool> descending{};  ///< per field, in order; empty: every field ascending
};

struct TableDef {
    std::string name;
    std::string connect;          ///< empty for a local table
    std::string sourceTableName;  ///< empty for a local table
    std::vector<FieldDef> fields;
    std::vector<IndexDef> indexes;
    /// Columns of the key declared on a link (empty when none was declared).
    std::vector<std::string> linkKey;

    bool isLink() const;
    const FieldDef* findField(const std::string& name) const;  ///< case-insensitive
};

/// The archive database opened for table-definition work (the original's
/// DBEngine.Workspaces(0).OpenDatabase). Also a Connection for statements and
/// recordsets on the same file.
class ArchiveDatabase {
public:
    /// Opens an existing archive file; a missing file throws zq::Error and creates nothing.
    static std::unique_ptr<ArchiveDatabase> open(const std::string& path);
    /// Creates a new, empty archive file (demo installation, tests).
    static std::unique_ptr<ArchiveDatabase> create(const std::string& path);
    virtual ~ArchiveDatabase() = default;

    /// Table definitions in collection order (creation order), system tables excluded.
    virtual std::vector<TableDef> tableDefs() = 0;
    virtual std::optional<TableDef> tableDef(const std::string& name) = 0;  ///< case-insensitive
    virtual bool hasTable(const std::string& name) = 0;

    /// Creates a local table with its fields (in order) and indexes; no rows.
    virtual void createTable(const TableDef& def) = 0;
    /// Creates a link named `name` to `sourceTable` of the database `connect` names.
    virtual void createLink(const std::string& name, const std::string& connect,
                            const std::string& sourceTable) = 0;
    /// Assigning a new Name: rows, fields, indexes (and a link's target) are kept.
    virtual void renameTable(const std::string& oldName, const std::string& newName) = 0;
    /// Deleting a link never touches the remote table.
    virtual void deleteTable(const std::string& name) = 0;
    /// Rewrites a link's Connect (and SourceTableName when given).
    virtual void setLinkConnect(const std::string& name, const std::string& connect,
                                const std::string& sourceTable) = 0;

    /// Executes a statement; "ALTER TABLE <link> ADD CONSTRAINT <n> PRIMARY KEY (a,b)"
    /// on a link records the link's key.
    virtual void execute(const std::string& sql) = 0;

    /// Groups steps that belong together: all or nothing on the file.
    virtual void beginTrans() = 0;
    virtual void commitTrans() = 0;
    virtual void rollbackTrans() = 0;

    /// The same file as a Connection (statements, recordsets, links followed).
    virtual Connection& connection() = 0;
    /// Opens a table for appending and editing rows (dynaset).
    virtual RecordsetPtr openTable(const std::string& name) = 0;
    virtual void close() = 0;
    virtual const std::string& path() const = 0;
};

/// The archive file as a Connection (what openConnection() returns for the Jet provider
/// string). The database password of that string has no meaning for an SQLite file.
ConnectionPtr openArchiveConnection(const std::string& file, const std::string& connectionString);

/// RAII grouping of archive steps: rolls back unless commit() was called.
class ArchiveTransaction {
public:
    explicit ArchiveTransaction(ArchiveDatabase& db) : db_(db) { db_.beginTrans(); }
    ~ArchiveTransaction() {
        if (!done_) try { db_.rollbackTrans(); } catch (...) {}
    }
    void commit() { db_.commitTrans(); done_ = true; }
    ArchiveTransaction(const ArchiveTransaction&) = delete;
    ArchiveTransaction& operator=(const ArchiveTransaction&) = delete;

private:
    ArchiveDatabase& db_;
    bool done_ = false;
};

}  // namespace zq
