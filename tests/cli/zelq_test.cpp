// Runs the built zelq program as a person would, on fresh installations.

#include "dataaccess/archive_db.h"
#include "dataaccess/resolver.h"
#include "demo_fixture.h"
#include "linking/archive_model.h"
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

Outcome zelq(const std::vector<std::string>& args, const std::string& env = {}) {
    return test::runProgram(ZELQ_BIN, args, env);
}

TEST(Zelq, DemoThenLoginThenStatusOnAFreshFolder) {
    test::TempDir tmp("zelq");
    const std::string home = (tmp / "studio").string();
    const Outcome demo = zelq({"demo", home});
    ASSERT_EQ(demo.exit, 0) << demo.err << demo.out;
    for (const fs::path p : {"zel_QUIRNOVA.CFG", "Vizidore.mdb", "documenti/2024/Fatt_Acqu/Fatt_Forn_2024/00000001/00000501.pdf"})
        EXPECT_TRUE(fs::exists(tmp / "studio" / p)) << p;

    const Outcome login = zelq({"--home", home, "login"});
    EXPECT_EQ(login.exit, 0) << login.err;
    EXPECT_EQ(login.err, "");
    EXPECT_THAT(login.out, HasSubstr("Accesso eseguito: utente tarv"));
    EXPECT_THAT(login.out, HasSubstr("Uscita eseguita."));

    // Every archive local, with no registry values. The global options may follow the command.
    const Outcome status = zelq({"status", "--home", home});
    ASSERT_EQ(status.exit, 0) << status.err;
    const auto lines = test::linesOf(status.out);
    ASSERT_EQ(lines.size(), 10u) << status.out;
    EXPECT_EQ(lines[0], "serial\tarea\tarchive\tstate\tditt\tanno\ttipo_ass\ttipo_doc");
    for (std::size_t i = 1; i < lines.size(); ++i) EXPECT_THAT(lines[i], ::testing::MatchesRegex("[^\t]+\t[^\t]+\t[^\t]+\tlocal\t\t\t\t"));
    EXPECT_THAT(status.out, HasSubstr("\n2408010930122c3d\tFatture Acquisto\tFatture Fornitori 2024\tlocal\t\t\t\t\n"));
    EXPECT_THAT(status.out, HasSubstr("\n2106051045138c93\tDocumenti Societari\tStatuti\tlocal"));

    const Outcome again = zelq({"demo", home});
    EXPECT_EQ(again.exit, 1);
    EXPECT_THAT(again.err, HasSubstr("WARNING zel_QUIRNOVA: La cartella " + home + " contiene già un'installazione"));
}

TEST(Zelq, CompaniesAreasAndTheHomeFromTheEnvironment) {
    test::DemoFixture fx;
    const std::string home = fx.dir().string();
    const Outcome companies = zelq({"--home", home, "companies"});
    ASSERT_EQ(companies.exit, 0) << companies.err;
    EXPECT_EQ(companies.out,
              "code\tname\tyear\ttax_code\n"
              "002\tAutofficina Corradini di Corradini Luca\t2024\tCRRLCU71C12H223K\n"
              "003\tCaseificio Sociale San Prospero\t2023\t00412340358\n"
              "001\tRossi Mario & Figli srl\t2024\t01234560355\n"
              "006\tagriturismo Le Querce di Ferretti Anna\t2024\tFRRNNA80A41F463X\n");

    const Outcome areas = zelq({"--home", home, "areas"});
    ASSERT_EQ(areas.exit, 0) << areas.err;
    EXPECT_THAT(areas.out, HasSubstr("id\tarea\n1\t2023\n4\t2024\n7\tDocumenti Societari\n2\tFatture Acquisto   -  2023\n"));
    EXPECT_EQ(fx.porta("tarv"), "");

    // The installation can come from the environment instead of --home.
    const Outcome login = zelq({"login"}, "ZEL_QUIRNOVA_HOME=" + test::shellQuoted(home));
    EXPECT_EQ(login.exit, 0) << login.err;
    EXPECT_THAT(login.out, HasSubstr("Archivio aperto: " + (fx.dir() / "Vizidore.mdb").string()));
}

TEST(Zelq, UsageErrorsAndHelp) {
    struct Case {
        std::vector<std::string> args;
        int exit;
        const char* fragment;
    };
    const Case cases[] = {
        {{}, 2, "uso: zelq"},
        {{"sconosciuto"}, 2, "comando sconosciuto: sconosciuto"},
        {{"--forse", "login"}, 2, "opzione sconosciuta"},
        {{"--home"}, 2, "opzione sconosciuta o incompleta: --home"},
        {{"login", "--home"}, 2, "opzione sconosciuta o incompleta: --home"},
        {{"demo"}, 2, "uso: zelq demo CARTELLA"},
        {{"--help"}, 0, "status"},
        {{"status", "--help"}, 0, "serial area archive state ditt anno tipo_ass tipo_doc"},
        {{"login", "--help"}, 0, "utenti.porta"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        const Outcome r = zelq(c.args);
        EXPECT_EQ(r.exit, c.exit);
        EXPECT_THAT(r.out + r.err, HasSubstr(c.fragment));
    }
}

TEST(Zelq, MissingConfigurationIsRefusedNamingTheFile) {
    test::TempDir empty("zelq-empty");
    const Outcome r = zelq({"--home", empty.path().string(), "login"});
    EXPECT_EQ(r.exit, 1);
    EXPECT_THAT(r.err, HasSubstr("WARNING zel_QUIRNOVA: Manca il file di configurazione " +
                                 (empty.path() / "zel_QUIRNOVA.CFG").string()));
}

TEST(Zelq, ShortConfigurationIsAbortedEvenWithYes) {
    test::DemoFixture fx;
    std::ofstream(fx.dir() / "zel_QUIRNOVA.CFG", std::ios::binary) << "/usr/tarv/\r\n/x.mdb\r\nStudio\r\n";
    for (const char* flag : {"--yes", "--no"}) {
        SCOPED_TRACE(flag);
        const Outcome r = zelq({"login", "--home=" + fx.dir().string(), flag});
        EXPECT_EQ(r.exit, 1);
        EXPECT_THAT(r.err, HasSubstr("ERROR zel_QUIRNOVA: Errore non previsto.: Errore 62 "));
        EXPECT_THAT(r.err, HasSubstr("\n    nel modulo: garInizio,\n    alla routine: OpenConn,"));
        EXPECT_THAT(r.err, HasSubstr("    -> Interrompi\n"));
    }
    EXPECT_EQ(fx.porta("tarv"), "");
}

TEST(Zelq, UserActiveElsewhereEndsTheLogin) {
    test::DemoFixture fx;
    fx.rawExec("/usr/tarv/comune",
               "CREATE TRIGGER other_login AFTER UPDATE OF porta ON utenti "
               "WHEN trim(NEW.nome) = 'tarv' AND trim(NEW.porta) = '' "
               "BEGIN UPDATE utenti SET porta = 'tty05' WHERE rowid = NEW.rowid; END");
    const Outcome r = zelq({"--home", fx.dir().string(), "login"});
    EXPECT_EQ(r.exit, 1);
    EXPECT_THAT(r.err, HasSubstr("INFO zel_QUIRNOVA: Accesso a ZEL QUIRNOVA.: L'Utente tarv\n    è già attivo\n    sulla porta tty05"));
    EXPECT_EQ(fx.porta("tarv"), "tty05");
}

TEST(Zelq, MissingArchiveFileFailsLoginButLogsOut) {
    test::DemoFixture fx;
    fx.editConfig([&](Config& c) { c.PathArch = (fx.dir() / "altrove.mdb").string(); });
    const Outcome r = zelq({"--home", fx.dir().string(), "login"});
    EXPECT_EQ(r.exit, 1);
    EXPECT_THAT(r.err, HasSubstr("INFO zel_QUIRNOVA: "));
    EXPECT_THAT(r.out, HasSubstr("Uscita eseguita."));
    EXPECT_EQ(fx.porta("tarv"), "");
    EXPECT_FALSE(fs::exists(fx.dir() / "altrove.mdb"));
}

// What breaks an installation is told in Italian, naming the file or table; the
// engine's own text may only follow.
TEST(Zelq, BrokenInstallationsAreToldInItalian) {
    using Break = void (*)(const test::DemoFixture&);
    const struct {
        Break breakIt;
        const char* command;
        const char* says;
        const char* engine;
    } cases[] = {
        {[](const test::DemoFixture& fx) { fs::remove(fx.config().PathArch); }, "status",
         "Impossibile trovare il file dell'archivio '", ""},
        {[](const test::DemoFixture& fx) { std::ofstream(fx.config().PathArch) << std::string(4096, 'x'); }, "status",
         "non è un database", "file is not a database"},
        {[](const test::DemoFixture& fx) { ArchiveDatabase::open(fx.config().PathArch)->connection().execute("DROP TABLE DB_ELENCO"); },
         "status", "La tabella DB_ELENCO non esiste nel database ", "no such table: DB_ELENCO"},
        {[](const test::DemoFixture& fx) { fs::remove(fx.dir() / "tarv/usr/tarv/ditt001.db"); }, "unlink",
         "Il database TARV /usr/tarv/ditt001 non esiste o non si ha il permesso di aprirlo", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.says);
        test::DemoFixture fx;
        c.breakIt(fx);
        std::vector<std::string> args = {"--home", fx.dir().string(), "--no", c.command};
        if (std::string(c.command) == "unlink") args.insert(args.end(), {"--company", "001", "x"});
        const Outcome r = zelq(args);
        const std::string said = r.out + r.err;
        EXPECT_EQ(r.exit, 1);
        const auto at = said.find(c.says);
        ASSERT_NE(at, std::string::npos) << said;
        EXPECT_GE(said.find(c.engine, at), at) << said;
    }
}

TEST(Zelq, StatusTellsLinkedAndPremasteredArchivesWithTheirRegistryRow) {
    test::DemoFixture fx;
    setInstallation(fx.engines());
    const Config cfg = fx.config();
    auto company = openConnection("Provider=Ifxoledbc.2;Persist Security Info=False;host=server;User ID=tarv;"
                                  "password=Quirnova24;Data Source=/usr/tarv/ditt001@linux_se",
                                  fx.engines());
    auto db = ArchiveDatabase::open(cfg.PathArch);
    for (const std::string s : {"2408010930122c3d", "2408010935144e5f"}) {
        company->execute("CREATE TABLE a" + s + " (sys_record SERIAL, sys_filename CHAR(100))");
        db->renameTable(s, s + "_sav");
        db->createLink(s, ArchiveModel::linkConnectString(cfg, "/usr/tarv/ditt001"), "a" + s);
    }
    // The second one pre-mastered: its link set aside as _COL, the local table back.
    db->renameTable("2408010935144e5f", "2408010935144e5f_COL");
    db->renameTable("2408010935144e5f_sav", "2408010935144e5f");
    db->close();
    company->close();
    fx.rawExec("/usr/tarv/comune",
               "INSERT INTO ar_dbelenco VALUES ('001', 2024, 'M', '01', 'a2408010930122c3d', '/x/00000000/');"
               "INSERT INTO ar_dbelenco VALUES ('001', 9999, 'A', '', 'a2408010935144e5f', '/y/00000000/');");

    const Outcome r = zelq({"--home", fx.dir().string(), "status"});
    ASSERT_EQ(r.exit, 0) << r.err;
    EXPECT_THAT(r.out, HasSubstr("\n2408010930122c3d\tFatture Acquisto\tFatture Fornitori 2024\tlinked\t001\t2024\tM\t01\n"));
    EXPECT_THAT(r.out, HasSubstr("\n2408010935144e5f\tFatture Vendita\tFatture Clienti 2024\tpremastering\t001\t9999\tA\t\n"));
    EXPECT_THAT(r.out, HasSubstr("\n2408010930133d4e\tFatture Acquisto\tNote di Credito Fornitori 2024\tlocal\t\t\t\t\n"));
}

}  // namespace
}  // namespace zq
