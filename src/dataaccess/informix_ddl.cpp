#include "dataaccess/informix_ddl.h"

#include "common/error.h"
#include "dataaccess/sql_text.h"

#include <regex>

namespace zq {

namespace {

const auto kIcase = std::regex::icase | std::regex::ECMAScript;

bool isTableConstraint(const std::string& element) {
    static const std::regex re(R"(^(PRIMARY|UNIQUE|CHECK|CONSTRAINT|FOREIGN|DISTINCT)\b.*)", kIcase);
    return std::regex_match(element, re);
}

std::string translateColumn(const std::string& element, std::vector<std::string>& serials) {
    static const std::regex column(R"(^("[^"]+"|\S+)\s+([\s\S]*)$)", kIcase);
    static const std::regex charType(R"(^(N?CHAR|CHARACTER)\s*\(\s*(\d+)\s*\)([\s\S]*)$)", kIcase);
    static const std::regex serialType(R"(^(SERIAL8|BIGSERIAL|SERIAL)(\s*\(\s*\d+\s*\))?([\s\S]*)$)", kIcase);
    std::smatch m;
    if (!std::regex_match(element, m, column))
        throw Error(kErrProviderFailure, "column definition not understood: " + element, "zq.embedded");
    const std::string name = m[1].str();
    const std::string rest = m[2].str();
    std::smatch t;
    if (std::regex_match(rest, t, charType))
        return name + " CHAR(" + t[2].str() + ")" + t[3].str() + " COLLATE RTRIM";
    if (std::regex_match(rest, t, serialType)) {
        serials.push_back(unquote(name));
        return name + " SERIAL" + t[3].str();
    }
    return element;
}

}  // namespace

std::optional<TranslatedCreateTable> translateInformixCreateTable(const std::string& sql) {
    static const std::regex head(R"(^\s*CREATE\s+(TEMP\s+)?TABLE\s+("[^"]+"|[^\s(]+)\s*\(([\s\S]*)$)", kIcase);
    std::smatch m;
    if (!std::regex_match(sql, m, head)) return std::nullopt;
    TranslatedCreateTable out;
    out.table = unquote(m[2].str());
    const std::string body = m[3].str();
    // the column list ends at the parenthesis that closes the first one
    int depth = 1;
    size_t end = std::string::npos;
    char quote = 0;
    for (size_t i = 0; i < body.size() && end == std::string::npos; ++i) {
        char c = body[i];
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == '\'' || c == '"') {
            quote = c;
        } else if (c == '(') {
            ++depth;
        } else if (c == ')' && --depth == 0) {
            end = i;
        }
    }
    if (end == std::string::npos)
        throw Error(kErrProviderFailure, "CREATE TABLE without closing parenthesis", "zq.embedded");
    std::string columns;
    for (const auto& piece : splitTopLevel(body.substr(0, end), ',')) {
        std::string element = trimBlanks(piece);
        if (element.empty())
            throw Error(kErrProviderFailure, "CREATE TABLE with an empty column definition", "zq.embedded");
        if (!columns.empty()) columns += ", ";
        columns += isTableConstraint(element) ? element : translateColumn(element, out.serialColumns);
    }
    out.sql = "CREATE " + std::string(m[1].matched ? "TEMP " : "") + "TABLE " + sqliteName(out.table) + " (" +
              columns + ")";
    return out;
}

}  // namespace zq
