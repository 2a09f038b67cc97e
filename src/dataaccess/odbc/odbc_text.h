#pragma once
// Text crosses the ODBC boundary as UTF-16 (the W entry points and SQL_C_WCHAR), so
// accented letters survive whatever the process locale and whichever driver encoding.

#include <sql.h>
#include <sqlucode.h>

#include <string>
#include <string_view>

namespace zq {

/// The SQLWCHAR string unixODBC expects (16-bit units).
using OdbcWString = std::basic_string<SQLWCHAR>;

/// UTF-8 to UTF-16; invalid bytes become U+FFFD.
OdbcWString toOdbcText(std::string_view utf8);
/// UTF-16 to UTF-8; unpaired surrogates become U+FFFD.
std::string fromOdbcText(const SQLWCHAR* s, std::size_t units);
inline std::string fromOdbcText(const OdbcWString& s) { return fromOdbcText(s.data(), s.size()); }

}  // namespace zq
