#pragma once
// New rows for one table, added one at a time: what a recordset's AddNew / set fields /
// Update does, without the recordset's cursor, its copy of every row and the read-back
// of each new row. Filling a table from another (pre-mastering) writes through it.

#include "dataaccess/recordset.h"
#include "runtime/value.h"

#include <memory>
#include <string>
#include <vector>

namespace zq {

class RowAppender {
public:
    virtual ~RowAppender() = default;
    /// Adds one row: values[i] goes to the i-th column the appender was opened with; a
    /// Null leaves that column to the table's default, as a field never set would.
    /// Throws zq::Error; a refused row adds nothing.
    virtual void add(const std::vector<Value>& values) = 0;
};
using RowAppenderPtr = std::unique_ptr<RowAppender>;

/// A RowAppender over an updatable recordset of the table (any engine).
class RecordsetRowAppender final : public RowAppender {
public:
    /// `columns` are field indexes of `rs`.
    RecordsetRowAppender(RecordsetPtr rs, std::vector<int> columns);
    void add(const std::vector<Value>& values) override;

private:
    RecordsetPtr rs_;
    std::vector<int> columns_;
};

}  // namespace zq
