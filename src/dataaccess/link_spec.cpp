#include "dataaccess/link_spec.h"

#include "common/error.h"
#include "dataaccess/sql_text.h"

namespace zq {

namespace {

constexpr const char* kSource = "zq.link";

std::string encodeColumns(const std::vector<LinkColumn>& columns) {
    std::string out;
    for (const auto& c : columns) {
        if (!out.empty()) out += ", ";
        out += sqliteName(c.name);
        if (!c.type.empty()) out += " " + c.type;
    }
    return out;
}

std::vector<LinkColumn> decodeColumns(const std::string& text) {
    std::vector<LinkColumn> columns;
    if (trimBlanks(text).empty()) return columns;
    for (const auto& piece : splitTopLevel(text, ',')) {
        std::string item = trimBlanks(piece);
        LinkColumn c;
        size_t end = 0;
        if (!item.empty() && item.front() == '"') {
            end = 1;
            while (end < item.size()) {
                if (item[end] == '"') {
                    if (end + 1 < item.size() && item[end + 1] == '"') end += 2;
                    else break;
                } else {
                    ++end;
                }
            }
            c.name = unquote(item.substr(0, end + 1));
            ++end;
        } else {
            end = item.find_first_of(" \t");
            if (end == std::string::npos) end = item.size();
            c.name = item.substr(0, end);
        }
        c.type = trimBlanks(end < item.size() ? item.substr(end) : std::string());
        if (c.name.empty()) throw Error(kErrProviderFailure, "link columns not understood: " + text, kSource);
        columns.push_back(c);
    }
    return columns;
}

std::string joinNames(const std::vector<std::string>& names) {
    std::string out;
    for (const auto& n : names) out += (out.empty() ? "" : ",") + n;
    return out;
}

}  // namespace

std::string LinkSpec::createStatement(const std::string& table) const {
    std::string s = "CREATE VIRTUAL TABLE " + sqliteName(table) + " USING " + kLinkModuleName +
                    "(connect=" + sqlQuote(connect) + ", source=" + sqlQuote(source);
    if (!columns.empty()) s += ", columns=" + sqlQuote(encodeColumns(columns));
    if (!key.empty()) s += ", key=" + sqlQuote(joinNames(key)) + ", keyname=" + sqlQuote(keyName);
    return s + ")";
}

std::string LinkSpec::declaration() const {
    std::string s = "CREATE TABLE x(" + encodeColumns(columns);
    if (!key.empty()) {
        std::string k;
        for (const auto& n : key) k += (k.empty() ? "" : ", ") + sqliteName(n);
        s += ", PRIMARY KEY(" + k + ")";
    }
    return s + ")";
}

LinkSpec LinkSpec::fromArguments(const std::vector<std::string>& args) {
    LinkSpec linkSpec;
    bool haveConnect = false, haveSource = false;
    for (const auto& raw : args) {
        std::string arg = trimBlanks(raw);
        auto eq = arg.find('=');
        if (eq == std::string::npos) throw Error(kErrProviderFailure, "link argument not understood: " + arg, kSource);
        std::string key = lowerAscii(trimBlanks(arg.substr(0, eq)));
        std::string value = unquote(trimBlanks(arg.substr(eq + 1)));
        if (key == "connect") {
            linkSpec.connect = value;
            haveConnect = true;
        } else if (key == "source") {
            linkSpec.source = value;
            haveSource = true;
        } else if (key == "columns") {
            linkSpec.columns = decodeColumns(value);
        } else if (key == "key") {
            for (const auto& k : splitTopLevel(value, ','))
                if (!trimBlanks(k).empty()) linkSpec.key.push_back(trimBlanks(k));
        } else if (key == "keyname") {
            linkSpec.keyName = value;
        } else {
            throw Error(kErrProviderFailure, "unknown link argument: " + key, kSource);
        }
    }
    if (!haveConnect || trimBlanks(linkSpec.connect).empty())
        throw Error(kErrProviderFailure, "link without connect string", kSource);
    if (!haveSource || trimBlanks(linkSpec.source).empty())
        throw Error(kErrProviderFailure, "link without source table", kSource);
    return linkSpec;
}

std::optional<LinkSpec> LinkSpec::fromSchemaSql(const std::string& sql) {
    std::string upper = upperAscii(sql);
    if (upper.rfind("CREATE VIRTUAL TABLE", 0) != 0) return std::nullopt;
    // the first "(" after USING opens the arguments; the last ")" closes them
    auto using_ = upper.find(" USING ");
    if (using_ == std::string::npos) return std::nullopt;
    auto open = sql.find('(', using_);
    auto close = sql.rfind(')');
    std::string module = trimBlanks(sql.substr(using_ + 7, open == std::string::npos ? std::string::npos : open - using_ - 7));
    if (!iequals(module, kLinkModuleName) || open == std::string::npos || close == std::string::npos || close < open)
        return std::nullopt;
    return fromArguments(splitTopLevel(sql.substr(open + 1, close - open - 1), ','));
}

int LinkSpec::columnIndex(const std::string& name) const {
    for (size_t i = 0; i < columns.size(); ++i)
        if (iequals(columns[i].name, name)) return static_cast<int>(i);
    return -1;
}

}  // namespace zq
