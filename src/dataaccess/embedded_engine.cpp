#include "dataaccess/embedded_engine.h"

#include "common/error.h"
#include "dataaccess/counter.h"
#include "dataaccess/informix_ddl.h"
#include "dataaccess/sql_text.h"
#include "dataaccess/sqlite_connection.h"
#include "dataaccess/sqlite_handle.h"

#include <sqlite3.h>

#include <fstream>
#include <map>
#include <vector>

namespace zq {

namespace {

constexpr const char* kSource = "zq.embedded";

using Accounts = std::vector<std::pair<std::string, std::string>>;

Accounts readAccounts(const std::filesystem::path& file) {
    Accounts accounts;
    std::ifstream in(file, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line.front() == '#') continue;
        auto tab = line.find('\t');
        if (tab == std::string::npos) continue;
        accounts.emplace_back(line.substr(0, tab), line.substr(tab + 1));
    }
    return accounts;
}

void authenticate(const EngineSettings& s, const TarvTarget& t) {
    // OLE DB drops the blanks around a value, so " mario " logs in as "mario".
    const std::string user = trimBlanks(t.user);
    for (const auto& [name, password] : readAccounts(embeddedAccountsFile(s)))
        if (name == user && password == t.password) return;
    throw Error(kErrProviderFailure,
                "La password è errata o l'utente " + user + " non è noto al server del database TARV", kSource);
}

// The Informix catalogue as each connection's temporary views. Informix keeps names in
// lower case (it folds undelimited identifiers), so the views show them that way.
const char* kCatalogue = R"(
CREATE TEMP VIEW systables AS
  SELECT lower(name) AS tabname, rowid + 99 AS tabid,
         CASE type WHEN 'view' THEN 'V' ELSE 'T' END AS tabtype, 'informix' AS owner
  FROM main.sqlite_schema
  WHERE type IN ('table', 'view') AND name NOT LIKE 'sqlite\_%' ESCAPE '\' AND name NOT LIKE 'zq\_%' ESCAPE '\';
CREATE TEMP VIEW sysindexes AS
  SELECT lower(i.name) AS idxname, t.rowid + 99 AS tabid,
         CASE WHEN (SELECT l."unique" FROM pragma_index_list(i.tbl_name, 'main') AS l WHERE l.name = i.name)
              THEN 'U' ELSE 'D' END AS idxtype,
         'informix' AS owner
  FROM main.sqlite_schema AS i JOIN main.sqlite_schema AS t ON t.type = 'table' AND t.name = i.tbl_name
  WHERE i.type = 'index' AND i.name NOT LIKE 'sqlite\_%' ESCAPE '\';
)";

std::optional<long> informixStatement(sqlite3* db, const std::string& sql) {
    auto create = translateInformixCreateTable(sql);
    if (!create) return std::nullopt;
    execSql(db, "SAVEPOINT zq_create_table", kSource);
    try {
        execSql(db, create->sql, kSource);
        for (const auto& column : create->serialColumns)
            installCounter(db, create->table, column, /*zeroMeansNext=*/true, kSource);
        execSql(db, "RELEASE zq_create_table", kSource);
    } catch (...) {
        sqlite3_exec(db, "ROLLBACK TO zq_create_table; RELEASE zq_create_table", nullptr, nullptr, nullptr);
        throw;
    }
    return -1L;
}

}  // namespace

std::filesystem::path embeddedDatabaseFile(const EngineSettings& s, const std::string& informixPath) {
    std::string path = trimBlanks(informixPath);
    while (!path.empty() && path.front() == '/') path.erase(0, 1);
    if (path.empty()) throw Error(kErrProviderFailure, "no database named in '" + informixPath + "'", kSource);
    std::filesystem::path rel(path);
    for (const auto& part : rel)
        if (part == "..")
            throw Error(kErrProviderFailure, "database path '" + informixPath + "' leaves the TARV root", kSource);
    std::filesystem::path file = s.embeddedRoot / rel;
    file += ".db";
    return file;
}

std::filesystem::path embeddedAccountsFile(const EngineSettings& s) { return s.embeddedRoot / "tarv.accounts"; }

void createEmbeddedDatabase(const EngineSettings& s, const std::string& informixPath) {
    auto file = embeddedDatabaseFile(s, informixPath);
    std::filesystem::create_directories(file.parent_path());
    auto db = openSqliteFile(file.string(), /*create=*/true, kSource);
    ensureCounterTable(db.get(), kSource);
}

void createEmbeddedAccount(const EngineSettings& s, const std::string& user, const std::string& password) {
    if (user.empty() || user.find_first_of("\t\r\n") != std::string::npos ||
        password.find_first_of("\r\n") != std::string::npos)
        throw Error(kErrProviderFailure, "account name or password not allowed", kSource);
    std::filesystem::create_directories(s.embeddedRoot);
    auto file = embeddedAccountsFile(s);
    Accounts accounts = readAccounts(file);
    bool found = false;
    for (auto& a : accounts)
        if (a.first == user) {
            a.second = password;
            found = true;
        }
    if (!found) accounts.emplace_back(user, password);
    auto temp = file;
    temp += ".new";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out << "# TARV accounts of the embedded engine: user<TAB>password\n";
        for (const auto& [u, p] : accounts) out << u << '\t' << p << '\n';
        if (!out.flush()) throw Error(kErrProviderFailure, "cannot write " + temp.string(), kSource);
    }
    std::filesystem::rename(temp, file);
}

ConnectionPtr openEmbeddedConnection(const TarvTarget& target, const std::string& connectionString,
                                     const EngineSettings& s) {
    authenticate(s, target);
    auto file = embeddedDatabaseFile(s, target.database);
    if (!std::filesystem::is_regular_file(file))
        throw Error(kErrProviderFailure,
                    "Il database TARV " + target.database + " non esiste o non si ha il permesso di aprirlo", kSource);
    auto db = openSqliteFile(file.string(), /*create=*/false, kSource);
    execSql(db.get(), kCatalogue, kSource);
    SqliteConnection::Options o;
    o.engine = "embedded";
    o.source = kSource;
    o.padChar = true;
    o.intercept = informixStatement;
    return std::make_unique<SqliteConnection>(std::shared_ptr<sqlite3>(std::move(db)), connectionString, o);
}

}  // namespace zq
