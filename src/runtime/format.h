#pragma once
// The value-formatting function: format codes as the forms and SQL builders use them.
//
// Supported codes (at least):
//   numbers: "0000", "00000000", "#,##0.00", "0.00", "#,##0", "0" - Italian separators
//            (thousands ".", decimal ","), halves rounded away from zero as the
//            original's Format does;
//   dates:   "dd/mm/yyyy", "dd/mm/yyyy hh.mm", "yyddmmhhmmss", "hh.mm", "hh:mm", and the
//            pieces d dd m mm mmm mmmm yy yyyy h hh n nn s ss in any combination
//            (after h/hh, "mm" means minutes);
//   text:    "@" (placeholder), ">" (upper case), "<" (lower case), "!" (fill left to right).
// An empty format gives Value::toText(). Null and Empty give "".

#include "runtime/value.h"

#include <string>
#include <string_view>

namespace zq {

std::string formatValue(const Value& value, std::string_view format);

}  // namespace zq
