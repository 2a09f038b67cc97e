#include "dataaccess/resolver.h"

#include "common/error.h"
#include "dataaccess/archive_db.h"
#include "dataaccess/embedded_engine.h"
#include "dataaccess/sql_text.h"

#include <mutex>
#include <vector>

namespace zq {

namespace {

constexpr const char* kSource = "zq.resolver";

[[noreturn]] void malformed(const std::string& why) {
    throw Error(kErrProviderFailure, "Stringa di connessione non valida: " + why, kSource);
}

std::mutex& registryMutex() {
    static std::mutex m;
    return m;
}

std::map<std::string, TarvEngineFactory>& registry() {
    static std::map<std::string, TarvEngineFactory> engines;
    return engines;
}

std::string valueOf(const std::map<std::string, std::string>& kv, std::initializer_list<const char*> keys) {
    for (const char* k : keys)
        if (auto it = kv.find(k); it != kv.end()) return it->second;
    return {};
}

// The closing brace of a braced value opening at `open`, where "}}" stands for one "}";
// npos when the value never closes.
std::size_t closingBrace(const std::string& s, std::size_t open) {
    for (std::size_t i = open + 1; i < s.size(); ++i) {
        if (s[i] != '}') continue;
        if (i + 1 < s.size() && s[i + 1] == '}') {
            ++i;
            continue;
        }
        return i;
    }
    return std::string::npos;
}

// Splits at ";" the way the providers read a connection string: a value is quoted only
// when it opens with "{", "'" or '"' (ODBC braces, OLE DB quotes). A quote or a
// parenthesis inside a value is plain text: user d'amico or password "ab(c" must not
// swallow the rest of the string.
std::vector<std::string> splitConnectionString(const std::string& s) {
    std::vector<std::string> parts;
    std::string cur;
    bool inValue = false;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == ';') {
            parts.push_back(cur);
            cur.clear();
            inValue = false;
            continue;
        }
        cur += c;
        if (c != '=' || inValue) continue;
        inValue = true;
        std::size_t open = s.find_first_not_of(' ', i + 1);
        if (open == std::string::npos || (s[open] != '{' && s[open] != '\'' && s[open] != '"')) continue;
        const std::size_t close = s[open] == '{' ? closingBrace(s, open) : s.find(s[open], open + 1);
        if (close == std::string::npos) continue;
        cur.append(s, i + 1, close - i);
        i = close;
    }
    parts.push_back(cur);
    return parts;
}

// A value written in braces reads back as what was braced, "}}" as "}". Anything else
// (a brace that does not close the value, a value written verbatim by an older
// version) is taken as it stands.
std::string valueText(const std::string& raw) {
    const std::size_t open = raw.find_first_not_of(' ');
    if (open == std::string::npos || raw[open] != '{') return raw;
    const std::size_t close = closingBrace(raw, open);
    if (close == std::string::npos || raw.find_first_not_of(' ', close + 1) != std::string::npos) return raw;
    std::string v;
    for (std::size_t i = open + 1; i < close; ++i) {
        v += raw[i];
        if (raw[i] == '}') ++i;
    }
    return v;
}

bool startsWithNoCase(const std::string& s, const std::string& prefix) {
    return s.size() >= prefix.size() && iequals(s.substr(0, prefix.size()), prefix);
}

}  // namespace

std::string connectionValue(const std::string& value) {
    // Only what the reader would take for syntax is braced: every ordinary value, blanks
    // around a password included, goes in as it stands.
    const std::size_t first = value.find_first_not_of(' ');
    const bool brace = value.find(';') != std::string::npos ||
                       (first != std::string::npos && (value[first] == '{' || value[first] == '\'' || value[first] == '"'));
    if (!brace) return value;
    std::string v = "{";
    for (char c : value) {
        v += c;
        if (c == '}') v += '}';
    }
    return v + "}";
}

std::map<std::string, std::string> parseConnectionString(const std::string& s) {
    std::map<std::string, std::string> kv;
    if (trimBlanks(s).empty()) malformed("vuota");
    bool first = true;
    std::string previous;
    for (const auto& piece : splitConnectionString(s)) {
        std::string item = piece.substr(std::min(piece.size(), piece.find_first_not_of(" \t\r\n")));
        if (trimBlanks(item).empty()) {
            first = false;
            continue;
        }
        auto eq = item.find('=');
        if (eq == std::string::npos) {
            // the link connect string opens with the bare word ODBC
            if (first && iequals(trimBlanks(item), "ODBC")) {
                kv["odbc"] = "";
                first = false;
                continue;
            }
            // The piece is not shown: it may be the tail of a password.
            malformed(previous.empty() ? "la prima parte non è nella forma chiave=valore"
                                       : "la parte dopo " + previous + " non è nella forma chiave=valore");
        }
        std::string key = lowerAscii(trimBlanks(item.substr(0, eq)));
        if (key.empty()) malformed("una parte non ha la chiave prima di \"=\"");
        kv[key] = valueText(item.substr(eq + 1));
        previous = key;
        first = false;
    }
    return kv;
}

bool isArchiveConnectionString(const std::string& s) {
    try {
        auto kv = parseConnectionString(s);
        return startsWithNoCase(trimBlanks(valueOf(kv, {"provider"})), "Microsoft.Jet.OLEDB");
    } catch (const Error&) {
        return false;
    }
}

TarvTarget tarvTargetOf(const std::string& connectionString) {
    auto kv = parseConnectionString(connectionString);
    TarvTarget t;
    t.host = valueOf(kv, {"host"});
    if (kv.count("odbc")) {
        t.database = trimBlanks(valueOf(kv, {"database", "db"}));
        t.server = valueOf(kv, {"srvr", "server"});
        t.user = valueOf(kv, {"userid", "uid", "user id"});
        t.password = valueOf(kv, {"password", "pwd"});
        if (t.database.empty()) malformed("manca DATABASE");
        return t;
    }
    std::string provider = trimBlanks(valueOf(kv, {"provider"}));
    if (!startsWithNoCase(provider, "Ifxoledbc"))
        malformed(provider.empty() ? "manca Provider" : "il provider '" + provider + "' non è quello del TARV");
    std::string source = trimBlanks(valueOf(kv, {"data source"}));
    auto at = source.rfind('@');
    if (source.empty()) malformed("manca Data Source");
    if (at == std::string::npos) malformed("Data Source '" + source + "' non indica @server");
    t.database = trimBlanks(source.substr(0, at));
    t.server = trimBlanks(source.substr(at + 1));
    if (t.database.empty()) malformed("Data Source '" + source + "' non indica il database");
    t.user = valueOf(kv, {"user id", "uid", "userid"});
    t.password = valueOf(kv, {"password", "pwd"});
    return t;
}

void registerTarvEngine(const std::string& name, TarvEngineFactory factory) {
    std::lock_guard lock(registryMutex());
    registry()[name] = std::move(factory);
}

ConnectionPtr openConnection(const std::string& connectionString) {
    return openConnection(connectionString, installation());
}

ConnectionPtr openConnection(const std::string& connectionString, const EngineSettings& settings) {
    if (isArchiveConnectionString(connectionString)) {
        auto kv = parseConnectionString(connectionString);
        std::string file = trimBlanks(valueOf(kv, {"data source"}));
        if (file.empty()) malformed("manca Data Source");
        return openArchiveConnection(file, connectionString);
    }
    TarvTarget target = tarvTargetOf(connectionString);
    if (settings.tarvEngine == EngineSettings::Tarv::Embedded)
        return openEmbeddedConnection(target, connectionString, settings);
    TarvEngineFactory factory;
    {
        std::lock_guard lock(registryMutex());
        if (auto it = registry().find("odbc"); it != registry().end()) factory = it->second;
    }
    if (!factory)
        throw Error(kErrProviderFailure, "Il motore TARV 'odbc' non è disponibile in questo programma", kSource);
    return factory(target, connectionString, settings);
}

}  // namespace zq
