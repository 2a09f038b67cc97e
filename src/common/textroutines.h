#pragma once
// The small text routines every form and module shares: whole numbers from typed text,
// quotes doubled for SQL literals, one character replaced by a text.

#include "common/dialogs.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace zq {

/// The text as an Integer: an empty text counts as "0", a numeric text is rounded
/// halves to even, any other text gives 0. Does not trap: a value outside
/// -32768..32767 throws zq::Error 6 "Overflow" to the caller.
std::int16_t CintText(std::string_view text);

/// The text as a Long: 0 for an empty or non-numeric text, else rounded halves to even.
/// Throws zq::Error 6 "Overflow" outside the Long range.
std::int32_t ClngText(std::string_view text);
/// As above, trapping its own error as the original does: the report (module
/// "lbComGen", routine "ClngText") lets the person retry, ignore (result 0) or end the
/// program (AbortProgram).
std::int32_t ClngText(Dialogs& dialogs, std::string_view text);

/// Doubles every single quote of the text, in place (O'Brien -> O''Brien); returns it.
std::string& RaddApic(std::string& text);

/// Replaces every occurrence of the one-character `search` by `replacement`, in place,
/// and returns the result. Throws std::invalid_argument when `search` is not exactly
/// one character or `replacement` contains it (the replacement would never end).
std::string SostChar(std::string& text, std::string_view search, std::string_view replacement);

/// The text as an SQL text literal: enclosed in single quotes, inner quotes doubled
/// (O'Brien -> 'O''Brien'). The one routine every statement builder puts text through.
std::string sqlText(std::string_view text);

}  // namespace zq
