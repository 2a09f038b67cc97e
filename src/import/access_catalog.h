#pragma once
// What an Access file holds, as its system table MSysObjects lists it: user tables,
// links (ODBC links with their Connect and ForeignName, links to other Access files),
// and the objects the archive has no place for (queries, forms, reports, macros,
// modules, relationships). System and hidden tables are left out.

#include "import/libmdb.h"

#include <string>
#include <vector>

namespace zq {

enum class AccessObjectKind { Table, OdbcLink, AccessLink, Query, Form, Report, Macro, Module, Relationship };

struct AccessObject {
    std::string name;
    AccessObjectKind kind = AccessObjectKind::Table;
    std::string connect;      ///< ODBC link: the connect string as stored ("DSN=…;UID=…;PWD=…")
    std::string database;     ///< link to an Access file: that file
    std::string foreignName;  ///< links: the table on the other side ("dbo.Ordrar")
};

/// The objects in the order MSysObjects keeps them. Throws ImportError when the system
/// table cannot be read.
std::vector<AccessObject> readAccessObjects(MdbHandle* mdb);

/// Italian name of a kind, for the report ("tabella", "collegamento ODBC", "query" …).
const char* kindName(AccessObjectKind kind);

}  // namespace zq
