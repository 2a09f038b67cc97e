#pragma once
// A recordset as the program uses it: the rows of one statement, read forward or
// (static cursors) materialised with a true count, with fields by name or position,
// Null-able values, and changes written back through Update.

#include "runtime/value.h"

#include <memory>
#include <string>
#include <vector>

namespace zq {

/// Cursor kinds with the original's values.
enum class CursorType { ForwardOnly = 0, Keyset = 1, Dynamic = 2, Static = 3 };
/// Lock kinds with the original's values.
enum class LockType { ReadOnly = 1, Pessimistic = 2, Optimistic = 3, BatchOptimistic = 4 };

class Recordset {
public:
    virtual ~Recordset() = default;

    virtual bool isOpen() const = 0;
    virtual bool eof() const = 0;
    virtual bool bof() const = 0;
    /// The true number of rows for static and dynamic cursors; -1 for forward-only.
    virtual long recordCount() const = 0;

    virtual void moveFirst() = 0;   ///< forward-only: only before the first MoveNext
    virtual void moveNext() = 0;
    virtual void moveLast() = 0;    ///< not for forward-only cursors
    /// Searches forward from the current row (included) for `column = 'value'` (also
    /// `column = number`); positions at EOF when nothing matches.
    virtual void find(const std::string& criteria) = 0;

    virtual int fieldCount() const = 0;
    virtual std::string fieldName(int index) const = 0;
    /// Index of a column by name, case-insensitive; -1 when absent.
    virtual int fieldIndex(const std::string& name) const = 0;
    /// The column's type as its database declares it ("CHAR(50)", "INTEGER", "SERIAL"…);
    /// empty when the engine cannot tell. Links copy it into their own definition.
    virtual std::string fieldTypeName(int index) const { return {}; }
    /// Value of the current row. Throws zq::Error at EOF/BOF or for an unknown name.
    virtual Value field(int index) const = 0;
    Value field(const std::string& name) const;
    Value operator[](const std::string& name) const { return field(name); }

    /// Assigns a field of the current (or new) row; written by update().
    virtual void setField(int index, const Value& v) = 0;
    void setField(const std::string& name, const Value& v);
    /// Starts a new row; update() inserts it and makes it current.
    virtual void addNew() = 0;
    virtual void update() = 0;
    /// Deletes the current row.
    virtual void deleteCurrent() = 0;
    virtual void close() = 0;
};

using RecordsetPtr = std::unique_ptr<Recordset>;

}  // namespace zq
