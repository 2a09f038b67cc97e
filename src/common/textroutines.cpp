#include "common/textroutines.h"

#include "common/error.h"
#include "common/gesterr.h"
#include "common/product.h"
#include "runtime/datetime_parse.h"
#include "runtime/text.h"
#include "runtime/value.h"

#include <stdexcept>

namespace zq {

namespace {

/// The original's run-time error 6.
[[noreturn]] void overflow() { throw Error(6, "Overflow", kProductName); }

}  // namespace

std::int16_t CintText(std::string_view text) {
    const auto n = parseNumber(text.empty() ? std::string_view("0") : text);
    if (!n) return 0;
    try {
        return toInt16(*n);
    } catch (const std::overflow_error&) {
        overflow();
    }
}

std::int32_t ClngText(std::string_view text) {
    const auto n = parseNumber(text);
    if (!n) return 0;
    try {
        return toInt32(*n);
    } catch (const std::overflow_error&) {
        overflow();
    }
}

std::int32_t ClngText(Dialogs& dialogs, std::string_view text) {
    std::int32_t result = 0;
    runGuarded(dialogs, "lbComGen", "ClngText", {}, [&] { result = ClngText(text); });
    return result;
}

std::string& RaddApic(std::string& text) {
    for (std::size_t p = text.find('\''); p != std::string::npos; p = text.find('\'', p + 2))
        text.insert(p, 1, '\'');
    return text;
}

std::string SostChar(std::string& text, std::string_view search, std::string_view replacement) {
    if (search.empty() || vbLeft(search, 1).size() != search.size())
        throw std::invalid_argument("SostChar: si cerca un solo carattere, non \"" + std::string(search) + "\"");
    if (replacement.find(search) != std::string_view::npos)
        throw std::invalid_argument("SostChar: la sostituzione \"" + std::string(replacement) +
                                    "\" contiene il carattere cercato \"" + std::string(search) + "\"");
    std::string out;
    out.reserve(text.size());
    std::size_t from = 0;
    for (std::size_t p = text.find(search); p != std::string::npos; p = text.find(search, from)) {
        out.append(text, from, p - from).append(replacement);
        from = p + search.size();
    }
    out.append(text, from, std::string::npos);
    text = std::move(out);
    return text;
}

std::string sqlText(std::string_view text) {
    std::string quoted(text);
    return "'" + RaddApic(quoted) + "'";
}

}  // namespace zq
