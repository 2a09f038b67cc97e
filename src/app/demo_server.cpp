#include "app/demo_server.h"

#include "app/informix_compat_sql.h"
#include "common/error.h"
#include "common/product.h"
#include "common/textroutines.h"
#include "dataaccess/odbc/odbc_connect_string.h"
#include "dataaccess/odbc/odbc_connection.h"

#include <cctype>

namespace zq {
namespace {

// Names enter CREATE ROLE / CREATE DATABASE unquoted, so only names PostgreSQL keeps
// as written (lower case) may: anything else would reach a different object.
void requirePlainName(const std::string& name) {
    bool ok = !name.empty() && !(name[0] >= '0' && name[0] <= '9');
    for (char c : name) ok = ok && ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_');
    if (!ok) throw Error(5, "Nome non utilizzabile sul server: " + name, kProductName);
}

std::string joined(const std::vector<std::string>& names) {
    std::string out;
    for (const auto& n : names) out += (out.empty() ? "" : ", ") + n;
    return out;
}

// The length of the dollar-quote tag ("$$" or "$tag$") that opens at `at`, or npos when
// none does ("$1" is a parameter, not a quote).
std::size_t dollarTagLength(const std::string& s, std::size_t at) {
    std::size_t i = at + 1;
    while (i < s.size() && (std::isalnum(static_cast<unsigned char>(s[i])) || s[i] == '_')) ++i;
    if (i < s.size() && s[i] == '$') return i - at + 1;
    return std::string::npos;
}

bool blankOrEmpty(const std::string& s) {
    return s.find_first_not_of(" \t\r\n") == std::string::npos;
}

}  // namespace

DemoServer::DemoServer(DemoServerLogin login) : login_(std::move(login)) {
    try {
        admin_ = connect("postgres", login_.adminUser, login_.adminPassword);
    } catch (const Error& e) {
        throw Error(e.number(),
                    "Impossibile collegarsi al server PostgreSQL " + login_.host + ":" + login_.port + " come " +
                        login_.adminUser + ": " + e.description(),
                    kProductName);
    }
}

DemoServer::~DemoServer() {
    if (!keep_) dropCreated();
}

EngineSettings DemoServer::settings() const {
    EngineSettings s;
    s.tarvEngine = EngineSettings::Tarv::Odbc;
    s.odbcDriver = login_.driver;
    s.odbcMapping = "postgresql";
    s.odbcPort = login_.port;
    return s;
}

std::string DemoServer::databaseName(const std::string& informixPath) {
    std::string path = informixPath;
    while (!path.empty() && (path.back() == '/' || path.back() == '\\')) path.pop_back();
    const auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::vector<std::string> DemoServer::splitScript(const std::string& s) {
    std::vector<std::string> statements;
    std::string current;
    std::size_t i = 0;
    auto take = [&](std::size_t end) {  // copies s[i, end) and moves on
        current.append(s, i, end - i);
        i = end;
    };
    while (i < s.size()) {
        const char c = s[i];
        if (c == '-' && i + 1 < s.size() && s[i + 1] == '-') {
            const auto eol = s.find('\n', i);
            i = eol == std::string::npos ? s.size() : eol;  // comments are not sent
        } else if (c == '\'' || c == '"') {
            // A doubled quote inside ends the literal and opens the next one: same text.
            const auto close = s.find(c, i + 1);
            take(close == std::string::npos ? s.size() : close + 1);
        } else if (c == '$' && dollarTagLength(s, i) != std::string::npos) {
            const std::string tag = s.substr(i, dollarTagLength(s, i));
            const auto close = s.find(tag, i + tag.size());
            take(close == std::string::npos ? s.size() : close + tag.size());
        } else if (c == ';') {
            if (!blankOrEmpty(current)) statements.push_back(current.substr(current.find_first_not_of(" \t\r\n")));
            current.clear();
            ++i;
        } else {
            take(i + 1);
        }
    }
    if (!blankOrEmpty(current)) statements.push_back(current.substr(current.find_first_not_of(" \t\r\n")));
    return statements;
}

std::string DemoServer::connectionString(const std::string& database, const std::string& user,
                                         const std::string& password) const {
    // NOTE: psqlODBC: no UseDeclareFetch here. CREATE DATABASE refuses to run inside a
    // transaction block, and this connection only runs single statements in autocommit.
    return "DRIVER={" + login_.driver + "};" + odbcAttribute("Server", login_.host) + ";" +
           odbcAttribute("Port", login_.port) + ";" + odbcAttribute("Database", database) + ";" +
           odbcAttribute("UID", user) + ";" + odbcAttribute("PWD", password);
}

ConnectionPtr DemoServer::connect(const std::string& database, const std::string& user,
                                  const std::string& password) const {
    const std::string shown = "Server=" + login_.host + ";Port=" + login_.port + ";Database=" + database + ";UID=" + user;
    return std::make_unique<OdbcConnection>(connectionString(database, user, password), shown, database);
}

bool DemoServer::exists(const std::string& catalogue, const std::string& column, const std::string& name) {
    auto rs = admin_->openRecordset("SELECT " + column + " FROM " + catalogue + " WHERE " + column + " = " + sqlText(name),
                                    CursorType::ForwardOnly, LockType::ReadOnly);
    const bool found = !rs->eof();
    rs->close();
    return found;
}

void DemoServer::refuseExisting(const std::vector<std::string>& informixPaths) {
    std::vector<std::string> present;
    for (const auto& path : informixPaths)
        if (exists("pg_catalog.pg_database", "datname", databaseName(path))) present.push_back(databaseName(path));
    if (present.empty()) return;
    throw Error(58,
                "Sul server " + login_.host + ":" + login_.port + " esist" + (present.size() == 1 ? "e" : "ono") +
                    " già " + (present.size() == 1 ? "il database " : "i database ") + joined(present) +
                    ": non li sovrascrivo. Eliminarli prima di creare di nuovo l'installazione dimostrativa.",
                kProductName);
}

void DemoServer::ensureLogin(const std::string& user, const std::string& password) {
    requirePlainName(user);
    if (!exists("pg_catalog.pg_roles", "rolname", user)) {
        admin_->execute("CREATE ROLE " + user + " LOGIN PASSWORD " + sqlText(password));
        createdRole_ = user;
        return;
    }
    // Someone else's account may carry this name: it is used as it is, never changed.
    try {
        connect("postgres", user, password)->close();
    } catch (const Error& e) {
        throw Error(58,
                    "Sul server " + login_.host + ":" + login_.port + " esiste già l'utente " + user +
                        " e non accede con la password dimostrativa: non lo modifico (" + e.description() + ")",
                    kProductName);
    }
}

void DemoServer::createDatabase(const std::string& informixPath, const std::string& owner) {
    const std::string name = databaseName(informixPath);
    requirePlainName(name);
    requirePlainName(owner);
    // template0 with UTF-8: the program's texts travel as UTF-8 whatever the server's default.
    admin_->execute("CREATE DATABASE " + name + " OWNER " + owner + " TEMPLATE template0 ENCODING 'UTF8'");
    createdDatabases_.push_back(name);
    // The script installs an event trigger, which only the administrative login may do.
    auto db = connect(name, login_.adminUser, login_.adminPassword);
    for (const auto& statement : splitScript(kInformixCompatSql)) db->execute(statement);
    db->close();
}

void DemoServer::dropCreated() noexcept {
    for (auto it = createdDatabases_.rbegin(); it != createdDatabases_.rend(); ++it) {
        try {
            admin_->execute("DROP DATABASE IF EXISTS " + *it + " WITH (FORCE)");
        } catch (...) {
            // Best effort: the build's own error is the one the person must see.
        }
    }
    if (createdRole_.empty()) return;
    try {
        admin_->execute("DROP ROLE IF EXISTS " + createdRole_);
    } catch (...) {
    }
}

}  // namespace zq
