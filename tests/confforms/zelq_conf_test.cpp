// zelq config and zelq relink, run as the operator runs them, on demo installations.

#include "app/config_file.h"
#include "conf_fixture.h"
#include "dataaccess/embedded_engine.h"
#include "linking/archive_model.h"
#include "process_run.h"

#include <gtest/gtest.h>

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
};

TEST_F(ZelqConfTest, PrintsTheValuesWithThePasswordMasked) {
    const ZelqRun r = zelq({"config"});
    ASSERT_EQ(r.code, 0) << r.output;
    EXPECT_NE(r.output.find("PathTarv = /usr/tarv/\n"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("Password = ********\n"), std::string::npos) << r.output;
    EXPECT_EQ(r.output.find("Quirnova24"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("Server = linux_se\n"), std::string::npos) << r.output;
}

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

}  // namespace
}  // namespace zq
