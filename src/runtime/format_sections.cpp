#include "runtime/format_parts.h"

namespace zq::fmt {

std::size_t literalAt(std::string_view format, std::size_t i, std::string& text) {
    if (format[i] == '\\') {
        if (i + 1 >= format.size()) {
            text.clear();
            return 1;
        }
        // A UTF-8 letter after the backslash is escaped whole.
        std::size_t len = 1;
        while (i + 1 + len < format.size() && (static_cast<unsigned char>(format[i + 1 + len]) & 0xC0) == 0x80)
            ++len;
        text.assign(format.substr(i + 1, len));
        return len + 1;
    }
    if (format[i] == '"') {
        const auto close = format.find('"', i + 1);
        const std::size_t end = close == std::string_view::npos ? format.size() : close;
        text.assign(format.substr(i + 1, end - i - 1));
        return (close == std::string_view::npos ? end : end + 1) - i;
    }
    return 0;
}

std::vector<std::string> splitSections(std::string_view format) {
    std::vector<std::string> sections(1);
    std::string ignored;
    for (std::size_t i = 0; i < format.size();) {
        if (const std::size_t len = literalAt(format, i, ignored)) {
            sections.back().append(format.substr(i, len));
            i += len;
        } else if (format[i] == ';') {
            sections.emplace_back();
            ++i;
        } else {
            sections.back() += format[i++];
        }
    }
    return sections;
}

}  // namespace zq::fmt
