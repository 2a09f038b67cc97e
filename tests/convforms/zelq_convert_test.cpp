// "zelq convert" run as a process on demo installations: the records and files it
// leaves, the question and messages it prints, and its progress lines.

#include "archive_records.h"
#include "demo_fixture.h"
#include "runtime/text.h"
#include "scripted_dialogs.h"
#include "process_run.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/wait.h>

namespace zq {
namespace {

using Outcome = test::ProcessOutcome;
using test::linesOf;
using test::readFile;
using test::shellQuoted;

// Output goes to files: not a terminal, so the progress comes one line per report.
Outcome zelq(const std::vector<std::string>& args) { return test::runProgram(ZELQ_BIN, args); }

class ZelqConvertTest : public ::testing::Test {
protected:
    void SetUp() override { test::writeConversionSettings(fx.dir(), /*dpi=*/50, /*threads=*/2); }

    std::vector<test::DocRecord> records(const std::string& serial) {
        test::ScriptedDialogs dialogs;
        Session s(dialogs, fx.dir());
        s.OpenConn(nullptr);
        auto out = test::readRecords(*s.CnnArch, vbLCase(serial), test::docsPathOf(fx.dir(), serial));
        s.CloseConn();
        return out;
    }

    test::DemoFixture fx;
};

constexpr const char* kFornitori2024 = "2408010930122C3D";

TEST_F(ZelqConvertTest, YesConvertsEveryRecordAndPrintsTheRunsMessagesAndProgress) {
    const Outcome r = zelq({"--home", fx.dir().string(), "--yes", "convert", kFornitori2024});
    ASSERT_EQ(r.exit, 0) << r.err << r.out;

    test::expectConverted(records(kFornitori2024));
    for (const char* part : {"Rilevati n. 4", "documenti di Fatture Fornitori 2024", "Continuo?",
                             "sono stati convertiti in formato tiff.", "Conversione da PDF a TIF"})
        EXPECT_NE(r.err.find(part), std::string::npos) << part << "\n" << r.err;
    EXPECT_EQ(linesOf(r.out),
              (std::vector<std::string>{"Inizio Conversione Documenti ...", "Conversione Documenti (1 di 4)",
                                        "Conversione Documenti (2 di 4)", "Conversione Documenti (3 di 4)",
                                        "Conversione Documenti (4 di 4)",
                                        "serial\tarchive\tfound\tconverted\tunreadable\tfailed\tresult",
                                        "2408010930122c3d\tFatture Fornitori 2024\t4\t4\t0\t0\tcompletato"}));
    test::expectUntouched(records("2215032010150A1F"));  // another archive
}

TEST_F(ZelqConvertTest, OnATerminalTheProgressLineIsRewrittenInPlace) {
    // script(1) gives the program a terminal and keeps what it showed (line ends as
    // CR LF, as a terminal receives them).
    test::TempDir io("zelq-tty");
    const std::string cmd = shellQuoted(ZELQ_BIN) + " --home " + shellQuoted(fx.dir().string()) + " --yes convert " +
                            kFornitori2024;
    const std::string run = "script -qec " + shellQuoted(cmd) + " /dev/null < /dev/null > " +
                            shellQuoted((io / "screen").string()) + " 2>&1";
    const int status = std::system(run.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0);
    const std::string screen = readFile(io / "screen");
    // The question starts on a line of its own after the first label.
    EXPECT_NE(screen.find("\rInizio Conversione Documenti ...\r\nQUESTION Conversione da PDF a TIF: Rilevati n. 4"),
              std::string::npos)
        << screen;
    EXPECT_NE(screen.find("\rConversione Documenti (1 di 4)\rConversione Documenti (2 di 4)"
                          "\rConversione Documenti (3 di 4)\rConversione Documenti (4 di 4)\r\n"),
              std::string::npos)
        << screen;
    test::expectConverted(records(kFornitori2024));
}

TEST_F(ZelqConvertTest, CtrlCStopsAfterTheDocumentInProgress) {
    // Large pages one at a time: the interrupt comes while the first document renders.
    test::writeConversionSettings(fx.dir(), /*dpi=*/600, /*threads=*/1);
    test::TempDir io("zelq-int");
    const std::string out = shellQuoted((io / "out").string()), err = shellQuoted((io / "err").string());
    const std::string script = shellQuoted(ZELQ_BIN) + " --home " + shellQuoted(fx.dir().string()) + " --yes convert " +
                               kFornitori2024 + " > " + out + " 2> " + err + " < /dev/null & pid=$!; " +
                               "n=0; until grep -q 'di 4)' " + out + " || [ $n -ge 600 ]; do sleep 0.05; n=$((n+1)); done; " +
                               "kill -INT $pid; wait $pid; echo $? > " + shellQuoted((io / "rc").string());
    ASSERT_EQ(std::system(("sh -c " + shellQuoted(script)).c_str()), 0);
    EXPECT_EQ(readFile(io / "rc"), "1\n");
    const std::string printed = readFile(io / "out");
    EXPECT_NE(printed.find("\tinterrotto\n"), std::string::npos) << printed;
    EXPECT_EQ(readFile(io / "err").find("sono stati convertiti"), std::string::npos);

    test::expectStoppedPartway(records(kFornitori2024));
}

TEST_F(ZelqConvertTest, NoLeavesTheRecordsAndEndsWithOne) {
    const Outcome r = zelq({"--home", fx.dir().string(), "--no", "convert", kFornitori2024});
    EXPECT_EQ(r.exit, 1) << r.err << r.out;
    EXPECT_NE(r.out.find("\t4\t0\t0\t0\trifiutato"), std::string::npos) << r.out;
    test::expectUntouched(records(kFornitori2024));
}

TEST_F(ZelqConvertTest, AnUnknownSerialConvertsNothing) {
    const Outcome r = zelq({"--home", fx.dir().string(), "--yes", "convert", kFornitori2024, "2106051045138C93"});
    // Statuti has no documents path: not in the list, so nothing runs at all.
    EXPECT_EQ(r.exit, 2) << r.err << r.out;
    EXPECT_NE(r.out.find("2106051045138C93"), std::string::npos) << r.out;
    test::expectUntouched(records(kFornitori2024));
    EXPECT_EQ(zelq({"--home", fx.dir().string(), "--yes", "convert"}).exit, 2);
}

// A record whose file name leads out of its record folder refuses the archive before
// any document is converted; the file it points at gets no TIFF.
TEST_F(ZelqConvertTest, ANameLeavingItsFolderRefusesTheArchive) {
    const auto before = records(kFornitori2024);
    const std::string escape = "../../../../outside.pdf";
    const std::filesystem::path outside = before.front().file.parent_path() / escape;
    std::filesystem::copy_file(before.front().pdf, outside);
    {
        test::ScriptedDialogs dialogs;
        Session s(dialogs, fx.dir());
        s.OpenConn(nullptr);
        s.CnnArch->execute("UPDATE " + vbLCase(kFornitori2024) + " SET sys_filename = '" + escape +
                           "' WHERE sys_record = " + std::to_string(before.front().record));
        s.CloseConn();
    }

    const Outcome r = zelq({"--home", fx.dir().string(), "--yes", "convert", kFornitori2024});
    EXPECT_EQ(r.exit, 1) << r.err << r.out;
    EXPECT_NE(r.err.find("ha un nome non valido: " + escape), std::string::npos) << r.err;
    EXPECT_NE(r.out.find("\tnome non valido\n"), std::string::npos) << r.out;
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(outside).replace_extension(".tif")));
    auto after = records(kFornitori2024);
    EXPECT_EQ(after.front().fileName, escape);
    after.erase(after.begin());
    test::expectUntouched(after);
}

}  // namespace
}  // namespace zq
