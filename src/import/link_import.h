#pragma once
// An ODBC link of the Access file as a link of the archive's tarvlink module: the same
// connect string and source table (MSysObjects Connect and ForeignName), the columns as
// Access cached them when the link was made, the key declared as the program declares
// a link's key (the primary key's name and fields). The remote table is then looked up
// once: a link whose server cannot be reached is kept all the same, with a note.

#include "import/access_catalog.h"
#include "import/import_report.h"

#include "import/libmdb.h"

struct sqlite3;

namespace zq {

/// Creates the link `link.name` in the archive `db` and fills `item`. A link whose
/// columns Access did not keep and whose server cannot be reached is left out, with
/// the reason in `item.note`.
void importOdbcLink(MdbHandle* mdb, const AccessObject& link, sqlite3* db, ImportItem& item);

}  // namespace zq
