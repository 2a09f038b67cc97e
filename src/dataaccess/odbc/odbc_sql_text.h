#pragma once
// The little SQL reading the ODBC recordset needs: the condition of Find, and the one
// table a statement reads (the table its changes are written to).

#include "runtime/value.h"

#include <string>

namespace zq {

/// A Find condition: column = 'text' or column = number.
struct FindCriteria {
    std::string column;
    Value value;  ///< Text for a quoted value ('' inside becomes '), else a number
};

/// Parses "column = 'value'" / "column = 12.5" (the column may be in brackets); throws
/// zq::Error on anything else.
FindCriteria parseFindCriteria(const std::string& criteria);

/// The statement text for a recordset opened on `sqlOrTable`: a bare table name becomes
/// "SELECT * FROM name".
std::string recordsetStatement(const std::string& sqlOrTable);

/// The single table a SELECT reads ("SELECT ... FROM t [alias] [WHERE|ORDER BY ...]");
/// empty when it reads several (joins, lists of tables, subqueries) or is no SELECT.
std::string sourceTableOf(const std::string& sql);

/// Letters, digits, '_' (and '.' between owner and name), not starting with a digit:
/// the names that may enter a statement this engine builds.
bool isPlainIdentifier(const std::string& name, bool allowOwner = false);

}  // namespace zq
