#include "demo_on_server.h"

#include "app/config_file.h"
#include "app/demo_installation.h"
#include "dataaccess/odbc/odbc_engine.h"
#include "dataaccess/sql_text.h"
#include "pg_server.h"
#include "tarv_queries.h"

#include <string>
#include <utility>
#include <vector>

namespace zq::test {
namespace {

struct TarvDatabase {
    std::string path;
    bool common;
};

const std::vector<TarvDatabase> kDemoDatabases = {{"/usr/tarv/comune", true},
                                                  {"/usr/tarv/ditt001", false},
                                                  {"/usr/tarv/ditt002", false},
                                                  {"/u2/tarv/ditt003", false},
                                                  {"/usr/tarv/ditt006", false}};

const std::vector<std::pair<std::string, std::string>> kCommonTables = {
    {"utenti", "nome CHAR(32), password CHAR(32), porta CHAR(10), descrizione CHAR(40)"},
    {"volumi", "cod_ditta CHAR(3), volume CHAR(40)"},
    {"anaditta", "codice CHAR(3), anno SMALLINT, codice_studio CHAR(6), data_inizio DATE"},
    {"clifo", "codice_studio CHAR(6), data_validita DATE, rag_sociale CHAR(60), cod_fiscale CHAR(16), comune CHAR(30)"},
    {"ar_tipodoc", "tipo_doc CHAR(2), descrizione CHAR(40)"},
    {"ar_dbelenco",
     "ditt CHAR(3), anno SMALLINT, tipo_ass CHAR(1), tipo_doc CHAR(2), sys_seriale CHAR(20), sys_path_docs CHAR(255)"}};

const std::vector<std::pair<std::string, std::string>> kCompanyTables = {
    {"parditta", "anno SMALLINT, data_inizio DATE, data_fine DATE, chiuso CHAR(1)"},
    {"regditta", "anno SMALLINT, ar_attiva CHAR(1), reg_iva CHAR(2)"}};

// The table declared and filled with the rows the embedded database holds.
std::string copyScript(Connection& source, const std::string& table, const std::string& columns) {
    std::string script = "CREATE TABLE " + table + " (" + columns + ");";
    auto rs = source.openRecordset("SELECT * FROM " + table, CursorType::Static, LockType::ReadOnly);
    for (; !rs->eof(); rs->moveNext()) {
        std::string values;
        for (int f = 0; f < rs->fieldCount(); ++f) values += (f ? ", " : "") + sqlLiteral(rs->field(f));
        script += "INSERT INTO " + table + " VALUES (" + values + ");";
    }
    rs->close();
    return script;
}

}  // namespace

Config demoConfigOnServer(const std::filesystem::path& dir, const PgTarv& pg) {
    Config c = DemoInstallation::config(dir);
    c.Utente = pg.user();
    c.Password = pg.password();
    c.Host = pg.host();
    c.Server = pg.serverName();
    return c;
}

void moveDemoTarvToServer(const std::filesystem::path& dir, PgTarv& pg) {
    registerOdbcEngine();
    const Config demo = DemoInstallation::config(dir);
    EngineSettings embedded;
    embedded.tarvEngine = EngineSettings::Tarv::Embedded;
    embedded.embeddedRoot = dir / "tarv";
    for (const auto& db : kDemoDatabases) {
        pg.createDatabase(db.path);
        auto source = openTarv(demo, embedded, db.path);
        std::string script;
        for (const auto& [table, columns] : db.common ? kCommonTables : kCompanyTables)
            script += copyScript(*source, table, columns);
        source->close();
        // The server account logs in as itself; its row stands beside the demo's users.
        if (db.common) script += "INSERT INTO utenti VALUES (" + sqlQuote(pg.user()) + ", '', '', 'test');";
        pg.execute(db.path, script);
    }
    pg.settings().save(dir);
    ConfigFile::write(ConfigFile::pathIn(dir), demoConfigOnServer(dir, pg));
}

}  // namespace zq::test
