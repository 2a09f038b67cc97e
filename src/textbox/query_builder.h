#pragma once
// Turns a search criterion typed into a formatted text box in query mode into a
// condition, either for an SQL WHERE clause or for a Crystal Reports record-selection
// formula. Field RAGSOC (text), ANNO (whole number), DATA (date):
//
//   typed        SQL                                  Crystal Reports
//   rossi        RAGSOC LIKE '%rossi%'                {RAGSOC} LIKE '%rossi%'
//   ro?si        RAGSOC LIKE 'ro?si'                  {RAGSOC} LIKE 'ro?si'
//   >=m          RAGSOC >= 'm'                        {RAGSOC} >= 'm'
//   <m           (IsNull(RAGSOC) OR RAGSOC < 'm')     (IsNull({RAGSOC}) OR {RAGSOC} < 'm')
//   =            Len(Trim(RAGSOC))=0                  Len(Trim({RAGSOC}))=0
//   2003:2005    ANNO BETWEEN 2003 AND 2005           {ANNO} IN 2003 TO 2005
//   1|2|3        ANNO IN ( 1, 2, 3)                   ( {ANNO} = 1 OR {ANNO} = 2 OR {ANNO} = 3 )
//   31/12/2004   DATA = #12/31/2004#                  {DATA} = Date(2004,12,31)
//
// Text values are quoted with their single quotes doubled. Values of the other kinds
// enter the condition bare, so they must be plain numbers (or, for yes/no, memo and
// variant fields, a plain word such as True): anything else is refused with a message
// instead of being pasted into the statement.

#include "common/dialogs.h"
#include "textbox/data_types.h"
#include "textbox/lumetext_export.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace zq {

/// What the builder made of a criterion.
struct QueryCondition {
    bool success = true;    ///< false: a value was refused and the person was told
    std::string condition;  ///< empty when there is nothing to search for or on failure
};

class LUMETEXT_EXPORT QueryBuilder {
public:
    /// The most values one criterion may list with "|".
    static constexpr std::size_t kMaxValues = 100;

    /// dialogs shows the messages; formatError is raised by the date and time checks.
    explicit QueryBuilder(Dialogs& dialogs, std::function<void()> formatError = {});

    /// Builds the condition for criterion on dataField of the given kind. Any dialect
    /// other than Crystal_Reports writes SQL.
    QueryCondition build(std::string_view criterion, std::string_view dataField, DataTypes type,
                         QueryDest dialect) const;

private:
    bool convert(std::string& value, DataTypes type, bool crystal) const;
    void refuse(const char* text, const char* title) const;

    Dialogs& dialogs_;
    std::function<void()> formatError_;
};

}  // namespace zq
