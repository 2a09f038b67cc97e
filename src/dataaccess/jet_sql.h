#pragma once
// Jet SQL as SQLite reads it. Archive table names are serials that begin with a digit
// ("2401011200001a2b", "2401011200001a2b_sav"); Jet reads them as names where SQLite
// would read a number followed by a name. The program's statements are sent as the
// program builds them, so the archive connection delimits such names first:
//   SELECT * FROM 2401011200001a2b WHERE anno = 2024
//   -> SELECT * FROM "2401011200001a2b" WHERE anno = 2024
// A word that starts with a digit is a name when it is not a number, or when it
// follows FROM, INTO, UPDATE, JOIN or TABLE (serials made only of digits, or that read
// as a number with an exponent, like 2401011200001e25). Text in quotes, [brackets]
// and comments is left as written.

#include <string>

namespace zq {

std::string jetSqlForSqlite(const std::string& sql);

}  // namespace zq
