#pragma once
// Self-numbering columns on SQLite: the archive's COUNTER and the TARV engine's SERIAL.
//
// A counter keeps the highest number it has given (or seen inserted) in the hidden
// table zq_counters, so a new row is numbered above every earlier one, deleted ones
// included. Two AFTER INSERT triggers do the work; SQLite renames their table along
// with the table, and drops them with it.

#include <string>

struct sqlite3;

namespace zq {

/// Creates zq_counters when missing.
void ensureCounterTable(sqlite3* db, const std::string& source);

/// Makes `column` of `table` number itself on insert of Null (and of 0 when
/// `zeroMeansNext`, the SERIAL rule). Starts above the rows already there.
void installCounter(sqlite3* db, const std::string& table, const std::string& column, bool zeroMeansNext,
                    const std::string& source);

/// Makes the counter of `table` give numbers above `last` from now on (a copied table
/// keeps the next number its old database would have given). Nothing when `table` has
/// no counter or its counter is already past `last`.
void raiseCounter(sqlite3* db, const std::string& table, long long last, const std::string& source);

}  // namespace zq
