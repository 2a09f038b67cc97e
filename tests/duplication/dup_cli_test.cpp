// zelq duplicate-area, duplicate-year, group-params and group, run as programs on a
// demo installation.

#include "app/config_file.h"
#include "app/demo_installation.h"
#include "process_run.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace zq::test {
namespace {

struct ZelqRun {
    int code;
    std::string out;  ///< both streams
};

class DupCliTest : public ::testing::Test {
protected:
    void SetUp() override { DemoInstallation::build(dir.path()); }
    ZelqRun zelq(std::vector<std::string> args) {
        args.insert(args.begin(), {"--home", dir.path().string()});
        const auto r = runProgram(ZELQ_BIN, args);
        return {r.exit, r.out + r.err};
    }
    TempDir dir{"zq-dup-cli"};
    const std::string folder = (dir.path() / "documenti").string();
};

TEST_F(DupCliTest, HelpOfEveryCommand) {
    for (const char* c : {"duplicate-area", "duplicate-year", "group-params", "group"}) {
        SCOPED_TRACE(c);
        const auto r = zelq({c, "--help"});
        EXPECT_EQ(r.code, 0);
        EXPECT_NE(r.out.find(std::string("uso: zelq [--home CARTELLA]")), std::string::npos) << r.out;
        EXPECT_NE(r.out.find(c), std::string::npos);
    }
}

TEST_F(DupCliTest, UsageErrors) {
    EXPECT_EQ(zelq({"duplicate-area", "--name", "X"}).code, 2);
    EXPECT_EQ(zelq({"duplicate-year", "--name", "X"}).code, 2);
    EXPECT_EQ(zelq({"group", "--company", "001"}).code, 2);
    EXPECT_EQ(zelq({"group-params", "--area", "x"}).code, 2);
}

TEST_F(DupCliTest, DuplicateAreaCopiesTheArchivesNamed) {
    const auto r = zelq({"--yes", "duplicate-area", "--area", "5", "--name", "Nuove Fatture", "--folder", folder,
                         "--archive", "2408010930133D4E=Note Nuove"});
    ASSERT_EQ(r.code, 0) << r.out;
    EXPECT_NE(r.out.find("copied\t1"), std::string::npos) << r.out;
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "documenti" / "Nuov_Fatt" / "Note_Nuov" / "DURuv.id"));
}

TEST_F(DupCliTest, DuplicateYearAndGroupParams) {
    const auto bad = zelq({"--no", "duplicate-year", "--source", "4", "--name", "2025", "--folder", folder, "--year", "20x5"});
    EXPECT_EQ(bad.code, 1) << bad.out;
    EXPECT_NE(bad.out.find("Devi selezionare un Esercizio!"), std::string::npos) << bad.out;
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "documenti" / "2025"));
    const auto y = zelq({"--no", "duplicate-year", "--source", "4", "--name", "2025", "--folder", folder, "--year", "2025"});
    ASSERT_EQ(y.code, 0) << y.out;
    EXPECT_NE(y.out.find("linked\t0"), std::string::npos) << y.out;
    EXPECT_NE(y.out.find("areas\t2"), std::string::npos) << y.out;
    EXPECT_NE(y.out.find("copied\t4"), std::string::npos) << y.out;

    const auto p = zelq({"group-params", "--area", "7", "--folder", "/dati/ragg"});
    ASSERT_EQ(p.code, 0) << p.out;
    Config c;
    ConfigFile::readStartup(ConfigFile::pathIn(dir.path()), c);
    EXPECT_EQ(c.GrpParm1, "7");
    EXPECT_EQ(c.GrpParm2, "/dati/ragg/");
    EXPECT_EQ(zelq({"group-params", "--area", "999", "--folder", "/x"}).code, 1);
}

TEST_F(DupCliTest, GroupMakesTheGroupingArchive) {
    ASSERT_EQ(zelq({"--yes", "link", "--company", "001", "--year", "2024", "--archive", "2408010930122c3d:M:01"}).code, 0);
    const auto r = zelq({"group", "--company", "001", "--area", "5"});
    ASSERT_EQ(r.code, 0) << r.out;
    EXPECT_NE(r.out.find("created\t1"), std::string::npos) << r.out;
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "documenti" / "Raggruppamenti" / "001_Rossi_Mari" / "DURuv.id"));
}

}  // namespace
}  // namespace zq::test
