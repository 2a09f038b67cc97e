#pragma once
// The Jet field types as SQLite column declarations, and back.
//
// A local archive table declares each column with the Jet type name (TEXT(50), LONG,
// COUNTER, CURRENCY, DATETIME …), so the file reads sensibly in any SQLite tool and
// the column gets the right SQLite affinity (a CURRENCY column keeps its amounts as
// bindCurrency in sqlite_handle.h says). The exact type code, size, attributes and
// order of each field are kept beside it (archive_schema.h); the declaration is what a
// table made by plain SQL is read from. A link's fields come from the remote column
// types (Informix, PostgreSQL or SQLite names) the way an ODBC link reports them.

#include "dataaccess/archive_db.h"

#include <string>

namespace zq {

/// The column declaration of a field: type name with its size ("TEXT(50)"), "COUNTER"
/// for an auto-increment Long. Throws zq::Error for a type code without a Jet name.
std::string jetDeclaration(const FieldDef& f);
/// True when the field numbers itself (Long with the auto-increment attribute).
bool isCounter(const FieldDef& f);
/// A field read from a declaration ("TEXT(50)", "LONG", "INTEGER", "VARCHAR(10)" …):
/// type code, size and attributes as Jet reports them for such a column.
FieldDef fieldFromDeclaration(const std::string& name, const std::string& declType);
/// A link's field from the remote column's type ("CHAR(50)", "SERIAL", "MONEY", "int4" …).
FieldDef fieldFromRemoteType(const std::string& name, const std::string& remoteType);

}  // namespace zq
