#include "listctl/format_string.h"

namespace zq {

namespace {

std::vector<std::string_view> split(std::string_view text, char sep)
{
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = text.find(sep, start);
        if (at == std::string_view::npos) {
            parts.push_back(text.substr(start));
            return parts;
        }
        parts.push_back(text.substr(start, at - start));
        start = at + 1;
    }
}

FormatColumn parseColumn(std::string_view field)
{
    FormatColumn col;
    if (!field.empty()) {
        switch (field.front()) {
        case '<': col.align = GridAlign::LeftCenter; field.remove_prefix(1); break;
        case '^': col.align = GridAlign::CenterCenter; field.remove_prefix(1); break;
        case '>': col.align = GridAlign::RightCenter; field.remove_prefix(1); break;
        default: break;
        }
    }
    col.header = std::string(field);
    return col;
}

}  // namespace

FormatString FormatString::parse(std::string_view text)
{
    FormatString fs;
    const std::size_t semi = text.find(';');
    const std::string_view colPart = text.substr(0, semi);
    if (!colPart.empty()) {
        for (std::string_view field : split(colPart, '|'))
            fs.columns_.push_back(parseColumn(field));
    }
    if (semi != std::string_view::npos) {
        // The first row-header field belongs to the header row, where the column
        // section already wrote; the grid skips it.
        for (std::string_view field : split(text.substr(semi + 1), '|'))
            fs.rowHeaders_.emplace_back(field);
    }
    return fs;
}

}  // namespace zq
