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

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/wait.h>

namespace zq {
namespace {

namespace fs = std::filesystem;

using Outcome = test::ProcessOutcome;
using test::readFile;
using test::shellQuoted;

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
        test::TempDir io("psql-io");
        const std::string cmd = "PGPASSWORD=" + shellQuoted(server_.password) + " psql -X -q -A -t -h " +
                                shellQuoted(server_.host) + " -p " + shellQuoted(server_.port) + " -U " + shellQuoted(server_.user) +
                                " -d " + shellQuoted(database) + " -c " + shellQuoted(sql) + " > " +
                                shellQuoted((io / "out").string()) + " 2>&1";
        const int status = std::system(cmd.c_str());
        std::string out = readFile(io / "out");
        while (!out.empty() && out.back() == '\n') out.pop_back();
        EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 0) << out;
        return out;
    }

    std::vector<std::string> demoArgs(const fs::path& dir) const {
        return {"demo",    dir.string(),   "--server",  "odbc",       "--pg-host",           server_.host,
                "--pg-port", server_.port, "--pg-admin", server_.user, "--pg-admin-password", server_.password,
                "--driver", server_.driver};
    }

    test::PgServer server_;
    OdbcDatabase lock_;  // holds the advisory lock while the test runs
};

TEST_F(DemoServerTest, BuildsTheTarvDatabasesOnTheServerAndTheProgramUsesThem) {
    test::TempDir tmp("demo-server");
    const fs::path home = tmp / "studio";

    const Outcome demo = zelq(demoArgs(home));
    ASSERT_EQ(demo.exit, 0) << demo.err << demo.out;
    EXPECT_FALSE(fs::exists(home / "tarv")) << "the TARV databases must not be built locally too";
    EXPECT_TRUE(fs::exists(home / "Vizidore.mdb"));

    const auto engines = EngineSettings::load(home);
    EXPECT_EQ(engines.tarvEngine, EngineSettings::Tarv::Odbc);
    EXPECT_EQ(engines.odbcMapping, "postgresql");
    EXPECT_EQ(engines.odbcDriver, server_.driver);
    EXPECT_EQ(engines.odbcPort, server_.port);
    Config cfg;
    ConfigFile::readStartup(ConfigFile::pathIn(home), cfg);
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

    const Outcome login = zelq({"--home", home.string(), "login"});
    EXPECT_EQ(login.exit, 0) << login.err << login.out;
    EXPECT_NE(login.out.find("Accesso eseguito: utente tarv"), std::string::npos) << login.out;
    EXPECT_EQ(value("comune", "SELECT trim(porta) FROM utenti WHERE nome = 'tarv'"), "");

    // The company list must read the same on the server as on the embedded demo.
    const fs::path local = tmp / "locale";
    ASSERT_EQ(zelq({"demo", local.string()}).exit, 0);
    const Outcome expected = zelq({"--home", local.string(), "companies"});
    ASSERT_EQ(expected.exit, 0) << expected.err;
    const Outcome companies = zelq({"--home", home.string(), "companies"});
    EXPECT_EQ(companies.exit, 0) << companies.err;
    EXPECT_EQ(companies.out, expected.out);
    EXPECT_NE(companies.out.find("\n001\tRossi Mario & Figli srl\t2024\t01234560355\n"), std::string::npos)
        << companies.out;

    // A second build refuses: the databases are there already; nothing is touched.
    const fs::path second = tmp / "seconda";
    const Outcome again = zelq(demoArgs(second));
    EXPECT_EQ(again.exit, 1) << again.out;
    EXPECT_NE(again.err.find("esistono già i database comune, ditt001"), std::string::npos) << again.err;
    EXPECT_FALSE(fs::exists(second));
    EXPECT_EQ(zelq({"--home", home.string(), "login"}).exit, 0);
}

TEST_F(DemoServerTest, OneExistingDatabaseRefusesTheBuildBeforeAnythingIsCreated) {
    server_.psql("postgres", "CREATE DATABASE ditt003");
    test::TempDir tmp("demo-server");
    const fs::path home = tmp / "studio";

    const Outcome demo = zelq(demoArgs(home));
    EXPECT_EQ(demo.exit, 1) << demo.out;
    EXPECT_NE(demo.err.find("esiste già il database ditt003"), std::string::npos) << demo.err;
    EXPECT_FALSE(fs::exists(home));
    EXPECT_EQ(value("postgres", "SELECT count(*) FROM pg_database WHERE datname IN ('comune', 'ditt001')"), "0");
    EXPECT_EQ(value("postgres", "SELECT count(*) FROM pg_roles WHERE rolname = 'tarv'"), "0");
}

TEST_F(DemoServerTest, AWrongAdministrativePasswordIsReportedAndLeavesNothing) {
    test::TempDir tmp("demo-server");
    const fs::path home = tmp / "studio";
    auto args = demoArgs(home);
    args[11] = "sbagliata";  // the value of --pg-admin-password

    const Outcome demo = zelq(args);
    EXPECT_EQ(demo.exit, 1) << demo.out;
    EXPECT_NE(demo.err.find("Impossibile collegarsi al server PostgreSQL " + server_.host + ":" + server_.port),
              std::string::npos)
        << demo.err;
    EXPECT_NE(demo.err.find("password"), std::string::npos) << demo.err;
    EXPECT_FALSE(fs::exists(home));
}

TEST_F(DemoServerTest, AFailureHalfWayDropsWhatTheBuildCreatedOnTheServer) {
    test::TempDir tmp("demo-server");
    const fs::path home = tmp / "studio";
    fs::create_directories(home);
    // The documents folder cannot be made: the build fails after the databases are filled.
    std::ofstream(home / "documenti") << "not a folder";

    const Outcome demo = zelq(demoArgs(home));
    EXPECT_EQ(demo.exit, 1) << demo.out;
    EXPECT_NE(demo.err.find("Impossibile creare l'installazione dimostrativa"), std::string::npos) << demo.err;
    EXPECT_EQ(value("postgres", "SELECT count(*) FROM pg_database WHERE datname IN ('comune', 'ditt006')"), "0");
    EXPECT_EQ(value("postgres", "SELECT count(*) FROM pg_roles WHERE rolname = 'tarv'"), "0");
    EXPECT_FALSE(fs::exists(home / "Vizidore.mdb"));
    EXPECT_FALSE(fs::exists(home / "zel_QUIRNOVA.CFG"));
    EXPECT_TRUE(fs::is_regular_file(home / "documenti"));
}

TEST_F(DemoServerTest, AnExistingLoginIsUsedOnlyWithTheDemoPasswordAndNeverAltered) {
    server_.psql("postgres", "CREATE ROLE tarv LOGIN PASSWORD 'UnAltra99'");
    const std::string before = value("postgres", "SELECT rolpassword FROM pg_authid WHERE rolname = 'tarv'");
    test::TempDir tmp("demo-server");

    const Outcome refused = zelq(demoArgs(tmp / "studio"));
    EXPECT_EQ(refused.exit, 1) << refused.out;
    EXPECT_NE(refused.err.find("esiste già l'utente tarv"), std::string::npos) << refused.err;
    EXPECT_EQ(value("postgres", "SELECT count(*) FROM pg_database WHERE datname = 'comune'"), "0");
    EXPECT_EQ(value("postgres", "SELECT rolpassword FROM pg_authid WHERE rolname = 'tarv'"), before);
    EXPECT_FALSE(fs::exists(tmp / "studio"));

    server_.psql("postgres", std::string("ALTER ROLE tarv PASSWORD '") + DemoInstallation::kPassword + "'");
    const Outcome built = zelq(demoArgs(tmp / "studio"));
    ASSERT_EQ(built.exit, 0) << built.err;
    EXPECT_EQ(zelq({"--home", (tmp / "studio").string(), "login"}).exit, 0);
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
