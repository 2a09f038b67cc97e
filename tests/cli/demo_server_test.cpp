// "zelq demo DIR --server odbc" on the private PostgreSQL test server: the demo's TARV
// databases on the server, then the program logging in and reading them through
// psqlODBC, and a second build refused.

#include "app/config_file.h"
#include "app/demo_installation.h"
#include "app/demo_server.h"
#include "dataaccess/odbc/odbc_database.h"
#include "pg_server.h"
#include "process_run.h"
#include "temp_dir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

namespace zq {
namespace {

namespace fs = std::filesystem;
using Outcome = test::ProcessOutcome;
using ::testing::HasSubstr;

Outcome zelq(const std::vector<std::string>& args) { return test::runProgram(ZELQ_BIN, args); }

// The demo's databases have fixed names (comune, ditt001 ...) and its login is "tarv":
// the server-wide turn of the tests that use fixed names is held for the whole test,
// and what the demo leaves on the server is dropped before and after.
class DemoServerTest : public ::testing::Test {
protected:
    DemoServerTest()
        : server_(test::PgServer::fromEnvironment()),
          lock_(server_.connectionString("postgres"), "postgres") {
        lock_.execute("SELECT pg_advisory_lock(hashtext('zq_fixed_database_names'))");
        dropDemo();
    }
    ~DemoServerTest() override {
        try {
            dropDemo();
        } catch (...) {
            // A test must not fail in its clean-up; the server is thrown away at the end.
        }
    }

    void dropDemo() const {
        for (const auto& path : DemoInstallation::tarvDatabases())
            server_.psql("postgres", "DROP DATABASE IF EXISTS " + DemoServer::databaseName(path) + " WITH (FORCE)");
        server_.psql("postgres", std::string("DROP ROLE IF EXISTS ") + DemoInstallation::kUser);
    }

    // The server's answer to a query, through psql as the superuser ("" for no row).
    std::string value(const std::string& database, const std::string& sql) const {
        const Outcome r = test::runProgram("psql", {"-X", "-q", "-A", "-t", "-h", server_.host, "-p", server_.port, "-U",
                                                    server_.user, "-d", database, "-c", sql},
                                           "PGPASSWORD=" + test::shellQuoted(server_.password));
        EXPECT_EQ(r.exit, 0) << r.err;
        std::string out = r.out;
        while (!out.empty() && out.back() == '\n') out.pop_back();
        return out;
    }
    /// How many of `names` exist on the server as databases, and whether the demo login does.
    std::string leftOnServer(const std::string& names) const {
        return value("postgres", "SELECT count(*) FROM pg_database WHERE datname IN (" + names + ")") + " " +
               value("postgres", "SELECT count(*) FROM pg_roles WHERE rolname = 'tarv'");
    }

    std::vector<std::string> demoArgs(const fs::path& dir, const std::string& adminPassword = {}) const {
        return {"demo",      dir.string(), "--server",   "odbc",       "--pg-host",           server_.host,
                "--pg-port", server_.port, "--pg-admin", server_.user, "--pg-admin-password",
                adminPassword.empty() ? server_.password : adminPassword, "--driver", server_.driver};
    }

    test::PgServer server_;
    OdbcDatabase lock_;  // holds the advisory lock while the test runs
    test::TempDir tmp_{"demo-server"};
    const fs::path home_ = tmp_ / "studio";
};

TEST_F(DemoServerTest, BuildsTheTarvDatabasesOnTheServerAndTheProgramUsesThem) {
    const Outcome demo = zelq(demoArgs(home_));
    ASSERT_EQ(demo.exit, 0) << demo.err << demo.out;
    EXPECT_FALSE(fs::exists(home_ / "tarv")) << "the TARV databases must not be built locally too";
    EXPECT_TRUE(fs::exists(home_ / "Vizidore.mdb"));

    const auto engines = EngineSettings::load(home_);
    EXPECT_EQ(engines.tarvEngine, EngineSettings::Tarv::Odbc);
    EXPECT_EQ(engines.odbcMapping, "postgresql");
    EXPECT_EQ(engines.odbcDriver, server_.driver);
    EXPECT_EQ(engines.odbcPort, server_.port);
    Config cfg;
    ConfigFile::readStartup(ConfigFile::pathIn(home_), cfg);
    EXPECT_EQ(cfg.Host, server_.host);
    EXPECT_EQ(cfg.Utente, DemoInstallation::kUser);

    // Every database is on the server, owned by the demo login, Informix-like.
    for (const auto& path : DemoInstallation::tarvDatabases()) {
        const std::string db = DemoServer::databaseName(path);
        SCOPED_TRACE(db);
        EXPECT_EQ(value("postgres", "SELECT pg_get_userbyid(datdba) FROM pg_database WHERE datname = '" + db + "'"),
                  DemoInstallation::kUser);
        EXPECT_EQ(value(db, "SELECT count(*) FROM informix.systables WHERE tabname IN ('utenti', 'regditta')"), "1");
        EXPECT_EQ(value(db, "SELECT count(*) FROM pg_event_trigger WHERE evtname = 'informix_serial_triggers'"), "1");
    }
    EXPECT_EQ(value("comune", "SELECT count(*) FROM ar_tipodoc"), "6");
    EXPECT_EQ(value("ditt001", "SELECT string_agg(anno || ar_attiva, ',' ORDER BY anno) FROM regditta"),
              "2022N,2023S,2024U");

    const Outcome login = zelq({"--home", home_.string(), "login"});
    EXPECT_EQ(login.exit, 0) << login.err << login.out;
    EXPECT_THAT(login.out, HasSubstr("Accesso eseguito: utente tarv"));
    EXPECT_EQ(value("comune", "SELECT trim(porta) FROM utenti WHERE nome = 'tarv'"), "");

    // The company list must read the same on the server as on the embedded demo.
    const fs::path local = tmp_ / "locale";
    ASSERT_EQ(zelq({"demo", local.string()}).exit, 0);
    const Outcome expected = zelq({"--home", local.string(), "companies"});
    ASSERT_EQ(expected.exit, 0) << expected.err;
    const Outcome companies = zelq({"--home", home_.string(), "companies"});
    EXPECT_EQ(companies.exit, 0) << companies.err;
    EXPECT_EQ(companies.out, expected.out);
    EXPECT_THAT(companies.out, HasSubstr("\n001\tRossi Mario & Figli srl\t2024\t01234560355\n"));

    // A second build refuses: the databases are there already; nothing is touched.
    const fs::path second = tmp_ / "seconda";
    const Outcome again = zelq(demoArgs(second));
    EXPECT_EQ(again.exit, 1) << again.out;
    EXPECT_THAT(again.err, HasSubstr("esistono già i database comune, ditt001"));
    EXPECT_FALSE(fs::exists(second));
    EXPECT_EQ(zelq({"--home", home_.string(), "login"}).exit, 0);
}

TEST_F(DemoServerTest, AWrongPasswordOrAnExistingDatabaseRefusesTheBuildBeforeAnythingIsCreated) {
    const Outcome wrong = zelq(demoArgs(home_, "sbagliata"));
    EXPECT_EQ(wrong.exit, 1) << wrong.out;
    EXPECT_THAT(wrong.err, HasSubstr("Impossibile collegarsi al server PostgreSQL " + server_.host + ":" + server_.port));
    EXPECT_THAT(wrong.err, HasSubstr("password"));
    EXPECT_FALSE(fs::exists(home_));
    EXPECT_EQ(leftOnServer("'comune', 'ditt001'"), "0 0");

    server_.psql("postgres", "CREATE DATABASE ditt003");
    const Outcome demo = zelq(demoArgs(home_));
    EXPECT_EQ(demo.exit, 1) << demo.out;
    EXPECT_THAT(demo.err, HasSubstr("esiste già il database ditt003"));
    EXPECT_FALSE(fs::exists(home_));
    EXPECT_EQ(leftOnServer("'comune', 'ditt001'"), "0 0");
}

TEST_F(DemoServerTest, AFailureHalfWayDropsWhatTheBuildCreatedOnTheServer) {
    // The documents folder cannot be made: the build fails after the databases are filled.
    fs::create_directories(home_);
    std::ofstream(home_ / "documenti") << "not a folder";

    const Outcome demo = zelq(demoArgs(home_));
    EXPECT_EQ(demo.exit, 1) << demo.out;
    EXPECT_THAT(demo.err, HasSubstr("Impossibile creare l'installazione dimostrativa"));
    EXPECT_EQ(leftOnServer("'comune', 'ditt006'"), "0 0");
    EXPECT_FALSE(fs::exists(home_ / "Vizidore.mdb"));
    EXPECT_FALSE(fs::exists(home_ / "zel_QUIRNOVA.CFG"));
    EXPECT_TRUE(fs::is_regular_file(home_ / "documenti"));
}

TEST_F(DemoServerTest, AnExistingLoginIsUsedOnlyWithTheDemoPasswordAndNeverAltered) {
    server_.psql("postgres", "CREATE ROLE tarv LOGIN PASSWORD 'UnAltra99'");
    const std::string before = value("postgres", "SELECT rolpassword FROM pg_authid WHERE rolname = 'tarv'");

    const Outcome refused = zelq(demoArgs(home_));
    EXPECT_EQ(refused.exit, 1) << refused.out;
    EXPECT_THAT(refused.err, HasSubstr("esiste già l'utente tarv"));
    EXPECT_EQ(leftOnServer("'comune'"), "0 1");
    EXPECT_EQ(value("postgres", "SELECT rolpassword FROM pg_authid WHERE rolname = 'tarv'"), before);
    EXPECT_FALSE(fs::exists(home_));

    server_.psql("postgres", std::string("ALTER ROLE tarv PASSWORD '") + DemoInstallation::kPassword + "'");
    ASSERT_EQ(zelq(demoArgs(home_)).exit, 0);
    EXPECT_EQ(zelq({"--home", home_.string(), "login"}).exit, 0);
}

TEST(DemoServerScript, SplitsAtSemicolonsOutsideQuotesAndComments) {
    struct Case {
        const char* name;
        std::string script;
        std::vector<std::string> statements;
    };
    const Case cases[] = {
        {"plain", "CREATE SCHEMA a;\nSELECT 1;", {"CREATE SCHEMA a", "SELECT 1"}},
        {"comment with semicolon", "-- one; two\nSELECT 1; -- end;\n", {"SELECT 1"}},
        {"quoted semicolon", "SELECT 'a;b', 'it''s;'; SELECT \"x;y\"", {"SELECT 'a;b', 'it''s;'", "SELECT \"x;y\""}},
        {"dollar quote", "DO $$ BEGIN PERFORM 1; END $$;\nSELECT 2", {"DO $$ BEGIN PERFORM 1; END $$", "SELECT 2"}},
        {"tagged dollar quote", "CREATE FUNCTION f() AS $fn$ x; $$; $fn$;", {"CREATE FUNCTION f() AS $fn$ x; $$; $fn$"}},
        {"positional parameter is no quote", "SELECT $1; SELECT 2", {"SELECT $1", "SELECT 2"}},
        {"only comments", "-- nothing\n\n", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DemoServer::splitScript(c.script), c.statements);
    }
}

}  // namespace
}  // namespace zq
