// zelq config and zelq relink, run as the operator runs them, on demo installations.

#include "app/config_file.h"
#include "conf_fixture.h"
#include "dataaccess/embedded_engine.h"
#include "linking/archive_model.h"
#include "process_run.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>

namespace zq {
namespace {

using test::ConfFixture;

struct ZelqRun {
    int code = -1;
    std::string output;  ///< standard output and error together
};

class ZelqConfTest : public ::testing::Test, protected ConfFixture {
protected:
    ZelqRun zelq(std::vector<std::string> args) const {
        args.insert(args.begin(), {"--home", fx.dir().string()});
        const test::ProcessOutcome r = test::runProgram(ZQ_ZELQ, args);
        return {r.exit, r.out + r.err};
    }
    // Rows through the archive the configuration file names now.
    long rows(const std::string& table) const {
        Config c;
        ConfigFile::readStartup(configFile(), c);
        auto db = ArchiveDatabase::open(c.PathArch);
        auto rs = db->connection().openRecordset("SELECT count(*) FROM " + table, CursorType::ForwardOnly,
                                                 LockType::ReadOnly);
        return std::stol(rs->field(0).toText());
    }
};

TEST_F(ZelqConfTest, SetChecksTestsAndWrites) {
    const std::string before = configBytes();
    ZelqRun r = zelq({"config", "--set", "PathTarv=/usr/tarv"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.output.find("Deve terminare con '/'."), std::string::npos) << r.output;
    r = zelq({"config", "--set", "Password=sbagliata"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.output.find("Errore nella connessione. Ricontrollare i parametri."), std::string::npos) << r.output;
    r = zelq({"config", "--set", "GrpParm1=3"});
    EXPECT_EQ(r.code, 2);
    r = zelq({"config", "--set", "Server=HPUX"});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(configBytes(), before);

    r = zelq({"config", "--set", "Citta=Parma", "Server=SCO", "ConvBksl=N"});
    ASSERT_EQ(r.code, 0) << r.output;
    const auto lines = ConfigFile::readLines(configFile());
    ASSERT_EQ(lines.size(), 13u);
    EXPECT_EQ(lines[3], "Parma");
    EXPECT_EQ(lines[7], "orvo_se");
    EXPECT_EQ(lines[10], "N");
    EXPECT_EQ(lines[11], fx.config().GrpParm1);  // not the form's: kept
}

TEST_F(ZelqConfTest, RelinkMovesTheLinks) {
    makeCompanyLink("lnk1", {1, 2});
    createEmbeddedAccount(fx.engines(), "tarv", "Nuova2025");
    ZelqRun r = zelq({"--no", "relink", "--password", "Nuova2025"});
    EXPECT_EQ(r.code, 1) << r.output;  // No to the list: links untouched
    EXPECT_NE(def("lnk1")->connect.find("password=Quirnova24"), std::string::npos);
    EXPECT_NE(r.output.find("Collegamenti da aggiornare: 1."), std::string::npos) << r.output;

    r = zelq({"--yes", "relink", "--password", "Nuova2025", "--host", "nuovo"});
    ASSERT_EQ(r.code, 0) << r.output;
    EXPECT_NE(r.output.find("Aggiornamento percorso tabelle effettuato con successo."), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("lnk1 -> alnk1"), std::string::npos) << r.output;
    Config expected;
    ConfigFile::readStartup(configFile(), expected);
    EXPECT_EQ(expected.Password, "Nuova2025");
    EXPECT_EQ(expected.Host, "nuovo");
    EXPECT_EQ(def("lnk1")->connect, ArchiveModel::linkConnectString(expected, "/usr/tarv/ditt001"));
    EXPECT_EQ(fx.porta("tarv"), "");  // logged out at the end

    r = zelq({"relink", "--server", "HPUX"});
    EXPECT_EQ(r.code, 2);
}

// A file saved with lone CR line ends reads as thirteen lines; the password shows
// nowhere, and the archive database that holds it in every link is its owner's alone.
TEST_F(ZelqConfTest, CrOnlyFileIsReadAndThePasswordNeverShows) {
    std::string bytes = configBytes();
    for (std::size_t p; (p = bytes.find("\r\n")) != std::string::npos;) bytes.replace(p, 2, "\r");
    std::ofstream(configFile(), std::ios::binary | std::ios::trunc) << bytes;
    const ZelqRun r = zelq({"config"});
    ASSERT_EQ(r.code, 0) << r.output;
    EXPECT_NE(r.output.find("PathTarv = /usr/tarv/\n"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("Password = ********\n"), std::string::npos) << r.output;
    EXPECT_EQ(r.output.find("Quirnova24"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("Server = linux_se\n"), std::string::npos) << r.output;

    struct stat st {};
    ASSERT_EQ(::stat(fx.config().PathArch.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

// The file is written in Windows-1252; a value that code page cannot hold is refused
// before anything is written, and a password is named, never shown.
TEST_F(ZelqConfTest, WritesWindows1252AndRefusesWhatItCannotHold) {
    ZelqRun r = zelq({"config", "--set", "Citta=Forlì"});
    ASSERT_EQ(r.code, 0) << r.output;
    EXPECT_NE(configBytes().find("\r\nForl\xEC\r\n"), std::string::npos);
    EXPECT_EQ(ConfigFile::readLines(configFile())[3], "Forlì");

    const std::string before = configBytes();
    r = zelq({"config", "--set", "Citta=Łódź"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.output.find("\"Città\" contiene caratteri che il file di configurazione"), std::string::npos) << r.output;
    r = zelq({"config", "--set", "Password=Segreto€Ł"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.output.find("\"password\" contiene caratteri"), std::string::npos) << r.output;
    EXPECT_EQ(r.output.find("Segreto"), std::string::npos) << r.output;
    EXPECT_EQ(configBytes(), before);
}

// A ";" (and braces) in the archive's path and in the password: every connection
// string still reads back whole, links made with them work, and the password never
// shows in an error.
TEST_F(ZelqConfTest, SemicolonsInPathAndPasswordKeepEveryConnection) {
    makeCompanyLink("lnk1", {1, 2});
    const std::filesystem::path moved = fx.dir() / "arch;ivio {1}" / "Vizidore.mdb";
    std::filesystem::create_directories(moved.parent_path());
    std::filesystem::rename(fx.config().PathArch, moved);
    fx.editConfig([&](Config& c) { c.PathArch = moved.string(); });
    const std::string password = "Nuo;va}2025";
    createEmbeddedAccount(fx.engines(), "tarv", password);

    ZelqRun r = zelq({"--yes", "relink", "--password", password});
    ASSERT_EQ(r.code, 0) << r.output;
    EXPECT_EQ(r.output.find("va}2025"), std::string::npos) << r.output;
    EXPECT_EQ(rows("lnk1"), 2);
    r = zelq({"status"});
    EXPECT_EQ(r.code, 0) << r.output;
    EXPECT_EQ(r.output.find("va}2025"), std::string::npos) << r.output;
}

// A link that cannot be made again (its TARV table is gone): --yes never answers the
// questions that delete it, --yes-delete does, and neither run ends as a success.
TEST_F(ZelqConfTest, RelinkYesNeverDeletesALink) {
    makeCompanyLink("lnk1");
    makeLocal("lnk1_sav");
    fx.rawExec("/usr/tarv/ditt001", "DROP TABLE alnk1");
    const std::string oldConnect = def("lnk1")->connect;

    ZelqRun r = zelq({"--yes", "relink"});
    EXPECT_EQ(r.code, 1) << r.output;
    EXPECT_EQ(r.output.find("effettuato con successo"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("Aggiornamento percorso non completato."), std::string::npos) << r.output;
    EXPECT_EQ(def("lnk1")->connect, oldConnect);

    r = zelq({"--yes", "relink", "--yes-delete"});
    EXPECT_EQ(r.code, 1) << r.output;
    EXPECT_EQ(r.output.find("effettuato con successo"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("lnk1: non rifatto (collegamento cancellato, ripristinata la tabella locale"),
              std::string::npos)
        << r.output;
    EXPECT_TRUE(def("lnk1")->connect.empty());
}

}  // namespace
}  // namespace zq
