#pragma once
// The column type a field of the archive gets in the company database when its table is
// re-created there.

#include "dataaccess/archive_db.h"

#include <optional>
#include <string>

namespace zq {

class ColumnType {
public:
    /// The text the CREATE TABLE statement appends after the field name, with its comma
    /// (" CHAR(50),", " SERIAL," …); nothing for a type that has no counterpart
    /// (LongBinary, GUID …).
    static std::optional<std::string> informix(const FieldDef& field);
};

}  // namespace zq
