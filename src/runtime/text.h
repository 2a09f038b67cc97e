#pragma once
// The original language's text routines, with their exact semantics: 1-based positions,
// Trim removes blanks only, LCase/UCase also change accented letters (UTF-8 inside).

#include <optional>
#include <string>
#include <string_view>

namespace zq {

std::string vbTrim(std::string_view s);   ///< blanks (' ') only, both ends
std::string vbLTrim(std::string_view s);
std::string vbRTrim(std::string_view s);
std::string vbLCase(std::string_view s);  ///< UTF-8 aware, also À..Þ
std::string vbUCase(std::string_view s);
/// Left/Mid count characters (UTF-8 code points), 1-based like the original.
std::string vbLeft(std::string_view s, std::size_t n);
std::string vbMid(std::string_view s, std::size_t start1, std::size_t n = std::string::npos);
/// 1-based position of needle at or after start1, 0 when absent (binary comparison).
std::size_t vbInStr(std::string_view s, std::string_view needle, std::size_t start1 = 1);

/// Windows-1252 bytes to UTF-8 (configuration files written by older tools).
std::string cp1252ToUtf8(std::string_view s);
/// True when the bytes are valid UTF-8.
bool isValidUtf8(std::string_view s);
/// UTF-8 to Windows-1252 bytes; nothing when a character has no Windows-1252 code
/// (or the text is not valid UTF-8).
std::optional<std::string> utf8ToCp1252(std::string_view s);

}  // namespace zq
