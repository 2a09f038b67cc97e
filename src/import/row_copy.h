#pragma once
// Copies the rows of one Access table into its archive table, value by value from the
// data pages (no text round trip for numbers and dates), through one prepared INSERT.
//
// Values keep their meaning: Text and Memo as UTF-8, Yes/No as 1/0, Currency exact
// (sqlite_handle.h: bindCurrency), the other numbers as numbers, dates as the archive's ISO text ("2024-03-01 10:30:00", the
// date alone at midnight), binary and OLE data as blobs, Decimal and GUID as text.

#include "import/access_table.h"

#include "import/libmdb.h"

#include <functional>

struct sqlite3;

namespace zq {

struct RowCounts {
    long long read = 0;
    long long written = 0;
};

/// Called every few thousand rows with the rows read so far.
using RowProgress = std::function<void(long long rowsRead)>;

/// Copies every row of `source` into the archive table `def.name` of `db`. Throws
/// ImportError naming the table when it cannot be read whole (a damaged page, fewer
/// rows than the table records, a long value that cannot be followed).
RowCounts copyRows(MdbHandle* mdb, MdbTableDef* source, const AccessTable& def, sqlite3* db,
                   const RowProgress& progress);

}  // namespace zq
