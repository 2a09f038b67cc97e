#pragma once
// zq::Recordset over ODBC.
//
// Static and dynamic cursors are client-side, as every connection of the program asks
// (cursor location 3): the rows are read whole when the recordset opens, which gives
// the true RecordCount, MoveFirst/MoveLast and Find over them. Forward-only cursors
// read row by row from the server and keep only the current row, so a large result is
// never held in memory (the driver fetches in batches; see odbc_connect_string.h).
//
// Changes (optimistic and pessimistic locks) are written back as statements on the
// table the SELECT reads, with bound parameters. The row is addressed by the table's
// primary key; without one, by its first unique index whose columns are all non-Null
// in the row (the link step creates unique indexes, never primary keys, on Informix);
// without either, by every column's original value (approximate and long columns left
// out), after checking that exactly one row matches. As with ADO's default update
// criteria, the original values of the changed columns are part of the condition, so a
// row changed meanwhile by someone else is not overwritten: the update fails instead.

#include "dataaccess/odbc/odbc_database.h"
#include "dataaccess/recordset.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zq {

class OdbcRecordset : public Recordset {
public:
    /// Opens `sqlOrTable` (a SELECT or a table name), with `params` bound to its "?"
    /// placeholders (OdbcStatement::bindValue). Throws zq::Error.
    OdbcRecordset(std::shared_ptr<OdbcDatabase> db, const std::string& sqlOrTable, CursorType cursor,
                  LockType lock, const std::vector<Value>& params = {});
    ~OdbcRecordset() override;

    bool isOpen() const override { return open_; }
    bool eof() const override;
    bool bof() const override;
    long recordCount() const override;

    void moveFirst() override;
    void moveNext() override;
    void moveLast() override;
    /// Text compares exactly, except that trailing blanks of fixed-width CHAR columns
    /// do not count (the server's own rule for CHAR, whose values come back padded).
    void find(const std::string& criteria) override;

    int fieldCount() const override;
    std::string fieldName(int index) const override;
    int fieldIndex(const std::string& name) const override;
    /// The column's type in Informix terms, from what the driver describes: CHAR(50),
    /// INTEGER, DECIMAL(16,2), SMALLFLOAT, DATE … (a SERIAL reads as INTEGER: ODBC does not
    /// say reliably whether a column numbers itself).
    std::string fieldTypeName(int index) const override;
    Value field(int index) const override;

    void setField(int index, const Value& v) override;
    void addNew() override;
    void update() override;
    /// Deletes the current row on the server; the following row becomes current.
    void deleteCurrent() override;
    void close() override;

private:
    enum class Edit { None, Editing, Adding };

    void requireOpen() const;
    void requireRow() const;
    void requireWritable() const;
    void checkIndex(int index) const;
    const std::vector<Value>& currentRow() const;
    std::vector<Value>& currentRow();
    void fetchForward();
    void endStream() noexcept;
    void flushEdit();

    // Where the changes go.
    void resolveTarget();
    std::vector<int> keyFor(const std::vector<Value>& row) const;
    std::string condition(const std::vector<int>& cols, const std::vector<Value>& row,
                          std::vector<int>& params) const;
    void requireSingleMatch(const std::string& where, const std::vector<int>& params,
                            const std::vector<Value>& row);
    long runWrite(const std::string& sql, const std::vector<std::pair<int, Value>>& params);

    std::shared_ptr<OdbcDatabase> db_;
    std::string sql_;
    bool forwardOnly_ = false;
    bool readOnly_ = true;
    bool open_ = false;
    std::vector<OdbcColumn> columns_;

    std::optional<OdbcStatement> stream_;   // forward-only: the open server cursor
    std::vector<Value> streamRow_;          // forward-only: the current row
    bool streamEof_ = false;
    bool streamMoved_ = false;

    std::vector<std::vector<Value>> rows_;  // static: every row
    long pos_ = 0;                          // static: current row index

    Edit edit_ = Edit::None;
    std::vector<Value> buffer_;             // the row being edited or added
    std::vector<bool> changed_;

    bool targetResolved_ = false;
    std::string table_;                     // the table changes are written to
    std::vector<int> primaryKey_;           // column indexes; empty when none usable
    std::vector<std::vector<int>> uniqueKeys_;
};

}  // namespace zq
