// zelq link, dav, unlink and premaster run as a person would, on a demo installation.

#include "app/demo_installation.h"
#include "tarv_queries.h"
#include "process_run.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace zq {
namespace {

using ZelqRun = test::ProcessOutcome;

class LinkCliTest : public ::testing::Test {
protected:
    void SetUp() override { DemoInstallation::build(home_.path()); }

    ZelqRun zelq(const std::string& answers, const std::string& args) {
        std::vector<std::string> words{"--home", home_.path().string()};
        std::istringstream in(answers + " " + args);
        for (std::string w; in >> w;) words.push_back(w);
        return test::runProgram(ZELQ_BIN, words);
    }

    bool companyHasTable(const std::string& table) const {
        auto cnn = test::openTarv(DemoInstallation::config(home_.path()), EngineSettings::load(home_.path()),
                                  "/usr/tarv/ditt001");
        const bool found = !test::trimmedRows(*cnn, "SELECT tabname FROM systables WHERE tabname = '" + table + "'").empty();
        cnn->close();
        return found;
    }

    test::TempDir home_{"zq-linkcli"};
};

TEST_F(LinkCliTest, LinkPremasterAndUnlink) {
    auto r = zelq("--yes", "link --company 001 --year 2023 --archive 2215032010150A1F:M:01 --archive 2215032010161b2c:A");
    EXPECT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(r.out, "linked\t2\nrefused\t0\nstopped\t0\n");
    EXPECT_NE(r.err.find("INFO Collegamento tabelle al database TARV: Collegamento tabelle effettuato con successo."),
              std::string::npos);

    r = zelq("--yes", "link --company 001 --year 2024 --archive 2408010930122C3D:A");
    EXPECT_EQ(r.exit, 1);
    EXPECT_EQ(r.out, "linked\t0\nrefused\t1\nstopped\t0\n");
    EXPECT_NE(r.err.find("Esiste già un'altra tabella collegata"), std::string::npos);

    r = zelq("--yes", "premaster 2215032010161b2c");
    EXPECT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(r.out, "premastered\t1\nrows\t0\nskipped\t0\nstopped\t0\n");

    r = zelq("--yes", "unlink --yes-delete --company 001 --year 2023 2215032010150a1f");
    EXPECT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(r.out, "unlinked\t1\ntarv_dropped\t1\nskipped\t0\nstopped\t0\n");
    EXPECT_FALSE(companyHasTable("a2215032010150a1f"));

    // Linked again, and unlinked under --yes alone: dropping the TARV table is No.
    ASSERT_EQ(zelq("--yes", "link --company 001 --year 2023 --archive 2215032010150A1F:M:01").exit, 0);
    ASSERT_TRUE(companyHasTable("a2215032010150a1f"));
    r = zelq("--yes", "unlink 2215032010150a1f");
    EXPECT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(r.out, "unlinked\t1\ntarv_dropped\t0\nskipped\t0\nstopped\t0\n");
    EXPECT_NE(r.err.find("Vuoi cancellare le tabelle collegate dal TARV?\n    -> No"), std::string::npos) << r.err;
    EXPECT_TRUE(companyHasTable("a2215032010150a1f"));

    // Named again, as a rerun would: nothing left to do, and said so.
    r = zelq("--yes", "unlink 2215032010150a1f");
    EXPECT_EQ(r.exit, 0);
    EXPECT_EQ(r.out, "zelq unlink: archivio già scollegato: 2215032010150a1f\n");
    r = zelq("--yes", "unlink 2215032010161b2c");
    EXPECT_EQ(r.exit, 1);
    EXPECT_EQ(r.out, "zelq unlink: archivio non collegato o non in elenco: 2215032010161b2c\n");
}

TEST_F(LinkCliTest, DavAndBadInput) {
    auto r = zelq("--yes", "dav --company 003 --archive 2106051045116A71");
    EXPECT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(r.out, "linked\t1\n");

    EXPECT_EQ(zelq("--yes", "link --company 001 --year 2023 --archive x").exit, 2);
    EXPECT_EQ(zelq("--yes", "link --company 001 --archive 2215032010150A1F:A").exit, 2);
    r = zelq("--yes", "link --company 001 --year 2023 --archive 2215032010150A1F:M:99");
    EXPECT_EQ(r.exit, 1);
    EXPECT_EQ(r.out, "zelq link: tipo documento sconosciuto: 99\n");

    // A company whose database is gone: refused before anything changes.
    std::filesystem::remove(home_.path() / "tarv" / "usr" / "tarv" / "ditt002.db");
    r = zelq("--yes", "link --company 002 --year 2023 --archive 2215032010150A1F:A");
    EXPECT_EQ(r.exit, 1);
    EXPECT_EQ(r.out.rfind("zelq link: database della ditta 002 non raggiungibile: ", 0), 0u) << r.out;
}

}  // namespace
}  // namespace zq
