#pragma once
// The operating system's error codes in Italian, for the messages the operator reads:
// strerror() speaks the C locale's English, whatever the office's language.

#include <string>

namespace zq {

/// "permesso negato", "spazio esaurito sul disco" … for an errno value; for a code
/// without a text of its own, "errore di sistema N".
std::string systemErrorText(int code);

}  // namespace zq
