// An office's first start with its Access archive: through zelq import, and through the
// program's start, which offers the import when the configuration names an Access file.

#include "app/config_file.h"
#include "app/session.h"
#include "dataaccess/archive_db.h"
#include "demo_fixture.h"
#include "import/startup_offer.h"
#include "process_run.h"
#include "scripted_dialogs.h"

#include <gtest/gtest.h>

namespace zq {
namespace {

namespace fs = std::filesystem;

// The demo installation with its configuration pointing at a copy of an Access file
// whose name has blanks, an apostrophe, an accent and dots.
fs::path accessArchiveIn(const test::DemoFixture& fx) {
    const auto file = fx.dir() / "Archivio dell'ufficio è v.1.mdb";
    fs::copy_file(fs::path(ZQ_ACCESS_FIXTURES) / "odbcLinkerTestV2007.accdb", file);
    fx.editConfig([&](Config& c) { c.PathArch = file.string(); });
    return file;
}

std::string configuredArchive(const test::DemoFixture& fx) {
    Config c;
    ConfigFile::readLenient(ConfigFile::pathIn(fx.dir()), c);
    return c.PathArch;
}

TEST(ImportStart, ZelqImportsTheConfiguredAccessArchiveAndRepointsTheConfiguration) {
    test::DemoFixture fx;
    const auto source = accessArchiveIn(fx);
    const auto report = fx.dir() / "rapporto.tsv";
    const auto run = test::runProgram(ZELQ_BIN, {"--home", fx.dir().string(), "import", source.string(), "--report",
                                                 report.string()});
    EXPECT_EQ(run.exit, 0) << run.err;
    const auto target = importedArchivePath(source);
    EXPECT_EQ(configuredArchive(fx), target.string());
    EXPECT_TRUE(ArchiveDatabase::open(target.string())->tableDef("Ordrar")->isLink());
    const auto lines = test::linesOf(test::readFile(report));
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "# Importate 1 tabella (1 riga) e 1 collegamento; 57 oggetti non importati.");
    EXPECT_NE(run.out.find("Lokal\ttabella\t1\t1\t11\t1\timportato"), std::string::npos) << run.out;

    // Stopped after the rename, before the configuration was written: run again.
    fx.editConfig([&](Config& c) { c.PathArch = source.string(); });
    const auto again = test::runProgram(ZELQ_BIN, {"--home", fx.dir().string(), "import", source.string()});
    EXPECT_EQ(again.exit, 0) << again.err;
    EXPECT_EQ(configuredArchive(fx), target.string());
}

TEST(ImportStart, TheProgramOffersTheImportInsteadOfFailingToOpenTheArchive) {
    test::DemoFixture fx;
    const auto source = accessArchiveIn(fx);
    test::ScriptedDialogs dialogs;
    dialogs.then(Answer::Yes);
    Session s(dialogs, fx.dir());
    s.OpenConn(nullptr);
    ASSERT_EQ(dialogs.messages().size(), 1u) << dialogs.texts().back();
    const Message& q = dialogs.messages()[0];
    EXPECT_EQ(q.buttons, Buttons::YesNo);
    EXPECT_NE(q.text.find(source.string()), std::string::npos);
    EXPECT_NE(q.text.find(importedArchivePath(source).string()), std::string::npos);
    ASSERT_TRUE(s.CnnArch);
    EXPECT_EQ(configuredArchive(fx), importedArchivePath(source).string());
    EXPECT_TRUE(ArchiveDatabase::open(s.cfg.PathArch)->hasTable("Lokal"));
}

}  // namespace
}  // namespace zq
