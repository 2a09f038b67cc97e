#pragma once
// An Access table's definition as the archive's table definitions hold it: each column
// with its Jet type code, size, attributes and required flag; each index with its name,
// fields in order, primary, unique and ignore-nulls flags. What the archive cannot hold
// (multi-value and attachment columns, indexes that only back relationships) is listed
// with the reason.

#include "dataaccess/archive_db.h"

#include "import/libmdb.h"

#include <string>
#include <vector>

namespace zq {

struct AccessTable {
    TableDef def;
    /// Columns of def.fields in the table's column order (index into MdbTableDef::columns).
    std::vector<int> sourceColumns;
    /// The last number the table's AutoNumber gave (0 when none).
    long long lastCounter = 0;
    /// Parts left out, each with its reason (Italian, for the report).
    std::vector<std::string> leftOut;
};

/// Maps the definition libmdb read for `table` (columns and indexes already read).
AccessTable describeTable(MdbHandle* mdb, MdbTableDef* table);

/// The field of one Access column; nothing (type 0) for a column the archive cannot hold.
FieldDef fieldOfColumn(const MdbHandle* mdb, const MdbColumn* col);

}  // namespace zq
