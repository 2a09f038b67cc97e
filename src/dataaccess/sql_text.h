#pragma once
// Small text routines every statement builder of this folder shares: the one quoting
// routine for values, identifier quoting, and the case rules of the databases.

#include "runtime/value.h"

#include <string>
#include <string_view>
#include <vector>

namespace zq {

/// A text value as an SQL literal: single quotes around it, inner quotes doubled.
std::string sqlQuote(std::string_view text);
/// Any value as an engine-neutral SQL literal: NULL, bare numbers (dot decimal, shortest
/// exact form), quoted text, dates as 'yyyy-mm-dd' or 'yyyy-mm-dd hh:mm:ss'.
std::string sqlLiteral(const Value& v);
/// A name for SQLite: always double-quoted, inner quotes doubled.
std::string sqliteName(std::string_view name);
/// A name for a remote engine: bare when it is a plain identifier (what every engine
/// accepts without delimited-identifier settings), double-quoted otherwise.
std::string remoteName(std::string_view name);
/// True for [A-Za-z_][A-Za-z0-9_]*.
bool isPlainIdentifier(std::string_view name);

std::string lowerAscii(std::string_view s);
std::string upperAscii(std::string_view s);
bool iequals(std::string_view a, std::string_view b);
/// Removes blanks and tabs at both ends (line ends too).
std::string trimBlanks(std::string_view s);
/// Splits on `sep` outside '…', "…", (…) and {…}; pieces are returned untrimmed.
std::vector<std::string> splitTopLevel(std::string_view s, char sep);
/// Removes one level of '…' or "…" quoting (doubled inner quotes become one).
std::string unquote(std::string_view s);

/// ISO text of a date ("yyyy-mm-dd", plus " hh:mm:ss" when it has a time).
std::string isoText(const DateTime& d);
/// Reads "yyyy-mm-dd[ hh:mm[:ss]]" (also with 'T'); false when the text is not such a date.
bool parseIsoDate(std::string_view s, DateTime& out);
/// Reads "d/m/yyyy" or "dd/mm/yyyy" (the office's way of writing dates into SQL text).
bool parseDmyDate(std::string_view s, DateTime& out);

}  // namespace zq
