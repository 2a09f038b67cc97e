#pragma once
// The Recordset of both SQLite-backed engines (archive and embedded TARV).
//
// Forward-only cursors step the statement and read each field from it when asked: the
// result is never loaded. Static, keyset and dynamic cursors read every row at open,
// so RecordCount is the true count. Changes (setField, addNew, update, deleteCurrent)
// go to the one table all columns come from, addressed by its primary key when the
// result holds it, otherwise by every original value of the row, and then only when
// exactly one row matches (a savepoint undoes anything else).

#include "dataaccess/recordset.h"
#include "dataaccess/sqlite_handle.h"

#include <map>
#include <optional>

struct sqlite3_context;

namespace zq {

struct SqliteRecordsetOptions {
    CursorType cursor = CursorType::ForwardOnly;
    LockType lock = LockType::ReadOnly;
    bool padChar = false;    ///< CHAR(n) values come back blank-padded (TARV engine)
    std::string source;      ///< error source ("zq.embedded", "zq.archive")
    std::vector<Value> params;  ///< values of the statement's "?" placeholders, in order
};

class SqliteRecordset final : public Recordset {
public:
    SqliteRecordset(sqlite3* db, const std::string& sqlOrTable, SqliteRecordsetOptions opts);

    bool isOpen() const override { return open_; }
    bool eof() const override;
    bool bof() const override;
    long recordCount() const override;
    void moveFirst() override;
    void moveNext() override;
    void moveLast() override;
    void find(const std::string& criteria) override;
    int fieldCount() const override { return static_cast<int>(names_.size()); }
    std::string fieldName(int index) const override;
    int fieldIndex(const std::string& name) const override;
    Value field(int index) const override;
    std::string fieldTypeName(int index) const override;
    void setField(int index, const Value& v) override;
    void addNew() override;
    void update() override;
    void deleteCurrent() override;
    void close() override;

    /// Forward-only cursors: hands field `index` of the current row straight to an SQLite
    /// function result, converted as field() converts it (CHAR padding) but without
    /// building a Value. The link module reads embedded tables through it.
    void resultInto(int index, sqlite3_context* ctx) const;

private:
    bool forwardOnly() const { return opts_.cursor == CursorType::ForwardOnly; }
    void requireOpen() const;
    void requireRow() const;
    void checkIndex(int index) const;
    void stepForward();
    void loadAll(bool hasRow);
    void learnBaseTable();
    void requireUpdatable() const;
    /// The value as field `index` keeps it (an amount as Currency); throws for text that
    /// is no amount.
    Value storable(int index, const Value& v) const;
    bool currentMatches(const std::string& column, const Value& wanted) const;
    std::string whereForRow(const std::vector<Value>& row, std::vector<Value>& binds) const;
    std::optional<std::vector<Value>> reread(const std::string& where, const std::vector<Value>& binds);
    void insertPending();
    void updatePending();
    /// A statement of this recordset's changes, prepared once and reset for each use:
    /// a table copied row by row otherwise spends most of its time parsing the same
    /// INSERT and SELECT again.
    Statement& changeStatement(const std::string& sql);

    sqlite3* db_;
    std::string sql_;
    SqliteRecordsetOptions opts_;
    bool open_ = true;
    std::vector<std::string> names_;
    std::vector<std::string> declTypes_;
    std::vector<ColumnReading> readings_;

    std::optional<Statement> stmt_;        // forward-only: the running statement
    bool fwdEof_ = false;

    std::vector<std::vector<Value>> rows_;  // other cursors: every row
    long pos_ = 0;
    bool currentDeleted_ = false;

    std::string baseTable_;                 // the one table all columns come from
    bool baseIsVirtual_ = false;
    std::vector<std::string> originNames_;  // column of baseTable_ per field ("" if none)
    std::vector<int> keyFields_;            // fields that hold the primary key

    bool adding_ = false;
    std::map<int, Value> pending_;
    std::map<std::string, Statement> changeStatements_;  // by SQL text
};

}  // namespace zq
