#include "dataaccess/odbc/odbc_connect_string.h"

#include "common/error.h"

#include <algorithm>
#include <cctype>

namespace zq {

namespace {

std::string lower(std::string s) {
    for (auto& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string trimmed(const std::string& s) {
    auto b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

bool mentions(const std::string& options, const std::string& key) {
    const std::string o = ";" + lower(options);
    const std::string k = lower(key);
    for (std::size_t p = 0; (p = o.find(k, p)) != std::string::npos; p += k.size()) {
        std::size_t before = o.find_last_not_of(' ', p - 1);
        std::size_t after = o.find_first_not_of(' ', p + k.size());
        if (before != std::string::npos && o[before] == ';' && after != std::string::npos && o[after] == '=')
            return true;
    }
    return false;
}

std::string driverPart(const EngineSettings& s) {
    if (!trimmed(s.odbcDsn).empty()) return odbcAttribute("DSN", trimmed(s.odbcDsn));
    if (trimmed(s.odbcDriver).empty())
        throw Error(kErrProviderFailure, "ODBC engine: neither odbc.driver nor odbc.dsn is set", "ODBC settings");
    // DRIVER is always braced: driver names carry blanks ("PostgreSQL Unicode").
    return "DRIVER={" + trimmed(s.odbcDriver) + "}";
}

}  // namespace

std::string odbcAttribute(const std::string& key, const std::string& value) {
    const bool brace = value.find_first_of(";{}") != std::string::npos ||
                       (!value.empty() && (value.front() == ' ' || value.back() == ' '));
    if (!brace) return key + "=" + value;
    // Inside braces a '}' is written twice.
    std::string v;
    for (char c : value) {
        v += c;
        if (c == '}') v += '}';
    }
    return key + "={" + v + "}";
}

std::string odbcDatabaseName(const TarvTarget& target, const EngineSettings& settings) {
    std::string path = trimmed(target.database);
    if (lower(trimmed(settings.odbcMapping)) != "postgresql") return path;
    while (!path.empty() && (path.back() == '/' || path.back() == '\\')) path.pop_back();
    auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string odbcConnectionString(const TarvTarget& t, const EngineSettings& s) {
    const std::string mapping = lower(trimmed(s.odbcMapping));
    const std::string database = odbcDatabaseName(t, s);
    if (database.empty())
        throw Error(kErrProviderFailure, "ODBC engine: the connection string names no database", "ODBC settings");
    std::string out = driverPart(s);
    auto add = [&](const std::string& k, const std::string& v) { out += ";" + odbcAttribute(k, v); };
    if (mapping == "informix" || mapping.empty()) {
        add("HOST", t.host);
        add("SERVER", t.server);
        add("SERVICE", trimmed(s.odbcPort).empty() ? std::string("sqlexec") : trimmed(s.odbcPort));
        add("PROTOCOL", "onsoctcp");
        add("DATABASE", database);
        // A login name is an account name: blanks around it in the configuration are
        // not part of it (the embedded engine ignores them too); a password's are.
        add("UID", trimmed(t.user));
        add("PWD", t.password);
    } else if (mapping == "postgresql") {
        add("Server", t.host);
        if (!trimmed(s.odbcPort).empty()) add("Port", trimmed(s.odbcPort));
        add("Database", database);
        add("UID", trimmed(t.user));
        add("PWD", t.password);
        // NOTE: psqlODBC reads a whole result into memory at execute time unless
        // UseDeclareFetch is on; with it, forward-only recordsets stream through a
        // server cursor, Fetch rows per round trip.
        if (!mentions(s.odbcOptions, "UseDeclareFetch")) add("UseDeclareFetch", "1");
        if (!mentions(s.odbcOptions, "Fetch")) add("Fetch", std::to_string(kOdbcFetchRows));
    } else {
        throw Error(kErrProviderFailure,
                    "ODBC engine: unknown odbc.mapping \"" + s.odbcMapping + "\" (informix or postgresql)",
                    "ODBC settings");
    }
    std::string options = trimmed(s.odbcOptions);
    while (!options.empty() && options.front() == ';') options.erase(0, 1);
    if (!options.empty()) out += ";" + options;
    return out;
}

}  // namespace zq
