#include "demo_fixture.h"

#include "app/config_file.h"
#include "app/demo_installation.h"
#include "dataaccess/embedded_engine.h"

#ifdef ZQ_DEMO_ON_SERVER
#include "dataaccess/connection.h"
#include "dataaccess/odbc/odbc_engine.h"
#include "dataaccess/sql_text.h"
#include "pg_server.h"
#endif

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <memory>
#include <stdexcept>

namespace zq::test {
namespace {

struct Closer {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
using Db = std::unique_ptr<sqlite3, Closer>;

Db openRaw(const std::filesystem::path& file) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        throw std::runtime_error("cannot open " + file.string());
    }
    return Db(db);
}

std::string trimmed(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    while (!s.empty() && s.front() == ' ') s.erase(0, 1);
    return s;
}

}  // namespace

#ifdef ZQ_DEMO_ON_SERVER
namespace {

// The demo's TARV tables, as the demo builder makes them; the server copy declares them
// the same way so CHAR padding and types match the embedded ones.
const std::vector<std::pair<std::string, std::vector<std::string>>> kTarvTables = {
    {"/usr/tarv/comune",
     {"CREATE TABLE utenti (nome CHAR(32), password CHAR(32), porta CHAR(10), descrizione CHAR(40))",
      "CREATE TABLE volumi (cod_ditta CHAR(3), volume CHAR(40))",
      "CREATE TABLE anaditta (codice CHAR(3), anno SMALLINT, codice_studio CHAR(6), data_inizio DATE)",
      "CREATE TABLE clifo (codice_studio CHAR(6), data_validita DATE, rag_sociale CHAR(60), cod_fiscale CHAR(16), "
      "comune CHAR(30))",
      "CREATE TABLE ar_tipodoc (tipo_doc CHAR(2), descrizione CHAR(40))",
      "CREATE TABLE ar_dbelenco (ditt CHAR(3), anno SMALLINT, tipo_ass CHAR(1), tipo_doc CHAR(2), "
      "sys_seriale CHAR(20), sys_path_docs CHAR(255))"}},
    {"/usr/tarv/ditt001", {}},
    {"/usr/tarv/ditt002", {}},
    {"/u2/tarv/ditt003", {}},
    {"/usr/tarv/ditt006", {}}};
const std::vector<std::string> kCompanyTables = {
    "CREATE TABLE parditta (anno SMALLINT, data_inizio DATE, data_fine DATE, chiuso CHAR(1))",
    "CREATE TABLE regditta (anno SMALLINT, ar_attiva CHAR(1), reg_iva CHAR(2))"};

std::string tableOf(const std::string& ddl) {
    const auto start = std::string("CREATE TABLE ").size();
    return ddl.substr(start, ddl.find(' ', start) - start);
}

}  // namespace

void DemoFixture::moveTarvToServer() {
    registerOdbcEngine();
    pg_ = std::make_shared<PgTarv>();
    const Config demo = DemoInstallation::config(dir());
    EngineSettings embedded;
    embedded.tarvEngine = EngineSettings::Tarv::Embedded;
    embedded.embeddedRoot = dir() / "tarv";
    for (const auto& [path, common] : kTarvTables) {
        pg_->createDatabase(path);
        const auto& ddls = common.empty() ? kCompanyTables : common;
        auto source = openConnection("Provider=Ifxoledbc.2;Persist Security Info=False;host=" + demo.Host + ";User ID=" +
                                         demo.Utente + ";password=" + demo.Password + ";Data Source=" + path + "@" +
                                         demo.Server,
                                     embedded);
        std::string script;
        for (const auto& ddl : ddls) {
            script += ddl + ";";
            auto rs = source->openRecordset("SELECT * FROM " + tableOf(ddl), CursorType::Static, LockType::ReadOnly);
            for (; !rs->eof(); rs->moveNext()) {
                std::string values;
                for (int f = 0; f < rs->fieldCount(); ++f) values += (f ? ", " : "") + sqlLiteral(rs->field(f));
                script += "INSERT INTO " + tableOf(ddl) + " VALUES (" + values + ");";
            }
            rs->close();
        }
        // The server account logs in as itself; its row stands beside the demo's users.
        if (!common.empty()) script += "INSERT INTO utenti VALUES (" + sqlQuote(pg_->user()) + ", '', '', 'test');";
        pg_->execute(path, script);
        source->close();
    }
    engines().save(dir());
    writeConfig(config());
}
#endif

DemoFixture::DemoFixture() : dir_("zq-demo") {
    DemoInstallation::build(dir_.path());
#ifdef ZQ_DEMO_ON_SERVER
    moveTarvToServer();
#endif
}

DemoFixture::~DemoFixture() = default;

EngineSettings DemoFixture::engines() const {
#ifdef ZQ_DEMO_ON_SERVER
    if (pg_) return pg_->settings();
#endif
    EngineSettings s;
    s.tarvEngine = EngineSettings::Tarv::Embedded;
    s.embeddedRoot = dir() / "tarv";
    return s;
}

void DemoFixture::rawExec(const std::string& informixPath, const std::string& sql) const {
#ifdef ZQ_DEMO_ON_SERVER
    if (pg_) return pg_->execute(informixPath, sql);
#endif
    auto db = openRaw(embeddedDatabaseFile(engines(), informixPath));
    char* err = nullptr;
    if (sqlite3_exec(db.get(), sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
        const std::string what = err ? err : "?";
        sqlite3_free(err);
        throw std::runtime_error(sql + ": " + what);
    }
}

std::optional<std::string> DemoFixture::tarvValue(const std::string& informixPath, const std::string& sql) const {
#ifdef ZQ_DEMO_ON_SERVER
    if (pg_) {
        auto cnn = openConnection(pg_->providerString(informixPath), engines());
        auto rs = cnn->openRecordset(sql, CursorType::Static, LockType::ReadOnly);
        std::optional<std::string> value;
        if (!rs->eof() && !rs->field(0).isNullish()) value = rs->field(0).toText();
        rs->close();
        cnn->close();
        return value;
    }
#endif
    auto db = openRaw(embeddedDatabaseFile(engines(), informixPath));
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db.get(), sql.c_str(), -1, &st, nullptr) != SQLITE_OK)
        throw std::runtime_error(sql + ": " + sqlite3_errmsg(db.get()));
    std::optional<std::string> out;
    if (sqlite3_step(st) == SQLITE_ROW && sqlite3_column_type(st, 0) != SQLITE_NULL)
        out = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
    sqlite3_finalize(st);
    return out;
}

std::optional<std::string> DemoFixture::porta(const std::string& user) const {
    std::string quoted;
    for (char c : user) quoted += c == '\'' ? std::string("''") : std::string(1, c);
    auto v = tarvValue("/usr/tarv/comune", "SELECT porta FROM utenti WHERE trim(nome) = '" + quoted + "'");
    if (v) *v = trimmed(*v);
    return v;
}

Config DemoFixture::config() const {
    Config c = DemoInstallation::config(dir());
#ifdef ZQ_DEMO_ON_SERVER
    if (pg_) {
        c.Utente = pg_->user();
        c.Password = pg_->password();
        c.Host = pg_->host();
        c.Server = pg_->serverName();
    }
#endif
    return c;
}

void DemoFixture::writeConfig(const Config& c) const { ConfigFile::write(ConfigFile::pathIn(dir()), c); }

}  // namespace zq::test
