#pragma once
// The Informix table DDL the link step writes, made into SQLite DDL for the embedded
// TARV engine. Type names stay as written (they are what the columns declare, and
// what links and readers see); CHAR(n) columns compare as Informix compares them,
// without trailing blanks (COLLATE RTRIM); SERIAL columns are numbered by a counter.
// Informix storage clauses after the column list (IN dbspace, EXTENT SIZE, LOCK MODE)
// mean nothing here and are left out.

#include <optional>
#include <string>
#include <vector>

namespace zq {

struct TranslatedCreateTable {
    std::string sql;                        ///< SQLite statement
    std::string table;                      ///< table name as written
    std::vector<std::string> serialColumns; ///< columns to number with a counter
};

/// Returns the translation of a CREATE TABLE statement, nothing for any other statement.
/// Throws zq::Error for a CREATE TABLE it cannot read.
std::optional<TranslatedCreateTable> translateInformixCreateTable(const std::string& sql);

}  // namespace zq
