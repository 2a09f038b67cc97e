#include "dup_fixture.h"

#include "app/config_file.h"
#include "app/demo_installation.h"
#include "dataaccess/sql_text.h"
#ifdef ZQ_DUP_ON_SERVER
#include "dataaccess/odbc/odbc_engine.h"
#include "pg_server.h"
#endif
#include "dataaccess/resolver.h"
#include "linking/archive_model.h"
#include "linking/link_list.h"
#include "linking/link_run.h"
#include "runtime/text.h"

namespace zq::test {
namespace {

std::string cell(const Value& v) { return v.isNullish() ? std::string() : vbTrim(v.toText()); }

std::vector<std::vector<std::string>> allRows(Connection& cnn, const std::string& sql) {
    auto rs = cnn.openRecordset(sql, CursorType::Static, LockType::ReadOnly);
    std::vector<std::vector<std::string>> out;
    for (; !rs->eof(); rs->moveNext()) {
        std::vector<std::string> row;
        for (int f = 0; f < rs->fieldCount(); ++f) row.push_back(cell(rs->field(f)));
        out.push_back(std::move(row));
    }
    rs->close();
    return out;
}

#ifdef ZQ_DUP_ON_SERVER
// The demo's TARV tables, as the demo builder makes them.
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
#endif

}  // namespace

#ifdef ZQ_DUP_ON_SERVER
// The demo's TARV databases again on the PostgreSQL test server, rows and all, and the
// installation pointed at it.
void DupTest::moveTarvToServer() {
    registerOdbcEngine();
    pg_ = std::make_unique<PgTarv>();
    const Config demo = DemoInstallation::config(dir_->path());
    const EngineSettings embedded = EngineSettings::load(dir_->path());
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
        if (!common.empty()) script += "INSERT INTO utenti VALUES (" + sqlQuote(pg_->user()) + ", '', '', 'test');";
        pg_->execute(path, script);
        source->close();
    }
    pg_->settings().save(dir_->path());
    Config c = demo;
    c.Utente = pg_->user();
    c.Password = pg_->password();
    c.Host = pg_->host();
    c.Server = pg_->serverName();
    ConfigFile::write(ConfigFile::pathIn(dir_->path()), c);
}
#endif

void DupTest::SetUp() {
    dir_ = std::make_unique<TempDir>("zq-dup");
    DemoInstallation::build(dir_->path());
#ifdef ZQ_DUP_ON_SERVER
    moveTarvToServer();
#endif
    session = std::make_unique<Session>(dialogs, dir_->path());
    session->OpenConn(nullptr);
    ASSERT_TRUE(session->CnnTarv);
    ASSERT_TRUE(session->CnnArch);
    lookups = std::make_unique<Lookups>(*session);
    lookups->LeggDocs();
}

void DupTest::TearDown() {
    if (session) {
        try {
            session->CloseConn();
        } catch (...) {
        }
    }
    session.reset();
#ifdef ZQ_DUP_ON_SERVER
    pg_.reset();
#endif
    dir_.reset();
}

void DupTest::linkArchive(const std::string& serial, const std::string& tipoAss, const std::string& tipoDoc,
                          const std::string& ditt, const std::string& year) {
    session->ConnDitt(ditt);
    ArchiveModel model;
    auto entries = LinkList::archives(*session, model, 0);
    const int i = LinkList::find(entries, serial);
    ASSERT_GE(i, 0) << serial;
    auto& e = entries[static_cast<std::size_t>(i)];
    e.selected = true;
    e.associationType = tipoAss;
    for (std::size_t k = 0; k < lookups->aDocs.size(); ++k)
        if (vbTrim(lookups->aDocs[k].TipoDoc) == tipoDoc) e.docTypeIndex = static_cast<int>(k);
    LinkRequest request{0, ditt, 0, year, true};
    dialogs.then(Answer::Yes);
    const auto result = LinkRun(*session, lookups->aDocs).cmdColl_Click(request, entries);
    ASSERT_EQ(result.linked, 1) << serial;
    dialogs.clear();
}

std::vector<std::vector<std::string>> DupTest::archiveRows(const std::string& sql) const {
    auto db = ArchiveDatabase::open(session->cfg.PathArch);
    auto out = allRows(db->connection(), sql);
    db->close();
    return out;
}

std::vector<std::vector<std::string>> DupTest::tarvRows(const std::string& informixPath, const std::string& sql) const {
    const Config& c = session->cfg;
    auto cnn = openConnection("Provider=Ifxoledbc.2;Persist Security Info=False;host=" + c.Host + ";User ID=" + c.Utente +
                                  ";password=" + c.Password + ";Data Source=" + informixPath + "@" + c.Server,
                              session->engines);
    auto out = allRows(*cnn, sql);
    cnn->close();
    return out;
}

std::optional<TableDef> DupTest::archiveDef(const std::string& name) const {
    auto db = ArchiveDatabase::open(session->cfg.PathArch);
    auto def = db->tableDef(name);
    db->close();
    return def;
}

void DupTest::execArchive(const std::string& sql) const {
    auto db = ArchiveDatabase::open(session->cfg.PathArch);
    db->execute(sql);
    db->close();
}

int DupTest::count(const std::string& fragment) const {
    int n = 0;
    for (const auto& t : dialogs.texts())
        if (t.find(fragment) != std::string::npos) ++n;
    return n;
}

}  // namespace zq::test
