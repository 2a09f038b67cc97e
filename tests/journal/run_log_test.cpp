// The log of runs as an office reads it after a day of work through zelq: every
// changing run with who, what and how it ended, a killed run as "interrotta", and the
// filters by archive and date.

#include "demo_fixture.h"
#include "process_run.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

#include <sstream>

namespace zq::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

const std::string kA = "2408010930122c3d", kB = "2408010930133d4e";

class RunLogTest : public ::testing::Test {
protected:
    ProcessOutcome zelq(std::vector<std::string> args, const std::string& env = {}) {
        args.insert(args.begin(), {"--home", fx.dir().string()});
        return runProgram(ZELQ_BIN, args, env);
    }
    // The log without its two time columns, one row per run.
    std::vector<std::string> logRows(std::vector<std::string> args = {}) {
        args.insert(args.begin(), "log");
        const auto r = zelq(args);
        EXPECT_EQ(r.exit, 0) << r.out << r.err;
        std::vector<std::string> rows;
        std::istringstream in(r.out);
        for (std::string line; std::getline(in, line);) {
            const auto third = line.find('\t', line.find('\t') + 1);
            rows.push_back(line.substr(third + 1));
        }
        return rows;
    }
    DemoFixture fx;
};

TEST_F(RunLogTest, EveryRunIsLoggedWithWhoWhatAndOutcome) {
    const std::string me = ::getpwuid(::geteuid())->pw_name;
    const std::string who = "tarv\t" + me + "\tzelq\t";
    ASSERT_EQ(zelq({"--yes", "link", "--company", "001", "--year", "2024", "--archive", kA + ":M:01", "--archive",
                    kB + ":M:03"})
                  .exit,
              0);
    fx.rawExec("/usr/tarv/ditt001", "INSERT INTO a" + kA + " (sys_record, numero_doc) VALUES (1, 'F1'), (2, 'F2'), "
                                    "(3, 'F3')");
    ASSERT_EQ(zelq({"--no", "premaster", kA}).exit, 0);   // the operator answers No
    ASSERT_EQ(zelq({"--yes", "premaster", kA}).exit, 0);  // the three server rows come back
    // Killed half-way: after its log line was begun, long before its end.
    const auto counted = zelq({"--yes", "unlink", kB}, "ZQ_FAULT_COUNT=1");
    ASSERT_EQ(zelq({"--yes", "link", "--company", "001", "--year", "2024", "--archive", kB + ":M:03"}).exit, 0);
    const long points = std::stol(counted.err.substr(counted.err.rfind('\t') + 1));
    ASSERT_NE(zelq({"--yes", "unlink", kB}, "ZQ_FAULT_AT=" + std::to_string(points / 2)).exit, 0);
    ASSERT_EQ(zelq({"--yes", "unlink", kB}).exit, 0);          // completes the killed one
    ASSERT_EQ(zelq({"--yes", "convert", kB}).exit, 0);

    EXPECT_THAT(logRows(),
                ElementsAre("utente TARV\tutente di sistema\tprogramma\toperazione\tarchivi\tditta\tanno\tesito\t"
                            "righe\tdocumenti",
                            who + "link\t" + kA + " " + kB + "\t001\t2024\tcompletata\t0\t0",
                            who + "premaster\t\t\t\tnon eseguita\t0\t0",
                            who + "premaster\t" + kA + "\t\t\tcompletata\t3\t0",
                            who + "unlink\t" + kB + "\t\t\tcompletata\t0\t0",
                            who + "link\t" + kB + "\t001\t2024\tcompletata\t0\t0",
                            who + "unlink\t\t\t\tinterrotta\t0\t0",
                            who + "unlink\t" + kB + "\t\t\tcompletata\t0\t0",
                            who + "convert\t" + kB + "\t\t\tcompletata\t0\t2"));

    // One archive's history; a date after today leaves only the heading.
    EXPECT_EQ(logRows({"--archive", kA}).size(), 3u);  // heading, link, premaster
    EXPECT_EQ(logRows({"--since", "31/12/2099"}).size(), 1u);
    const auto bad = zelq({"log", "--since", "31/02/2024"});
    EXPECT_EQ(bad.exit, 2);
    EXPECT_THAT(bad.out, HasSubstr("zelq log: data non valida (gg/mm/aaaa): 31/02/2024"));
}

}  // namespace
}  // namespace zq::test
