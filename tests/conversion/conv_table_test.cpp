#include "conversion/conv_table.h"

#include "common/error.h"
#include "conversion/record_folder.h"
#include "conv_dialogs.h"
#include "pdf_fixture.h"
#include "recording_progress.h"
#include "temp_dir.h"
#include "test_archive.h"
#include "tiff_probe.h"

#include <gtest/gtest.h>

#include <fstream>

namespace zq {
namespace {

namespace fs = std::filesystem;
using test::DocRow;
using test::expectConvMessage;
using Texts = std::vector<std::string>;

class ConvTableTest : public ::testing::Test {
protected:
    void SetUp() override {
        archive = std::make_unique<test::TestArchive>(dir / "Vizidore.mdb");
        archive->createDocTable("fatt");
        settings.dpi = 40;
        settings.threads = 2;
    }

    fs::path docFile(long record, const std::string& name) {
        const fs::path folder = recordFolder(base, record);
        fs::create_directories(folder);
        return folder / name;
    }

    // A row whose document is a PDF of `pages` pages.
    void addPdf(long record, const std::string& name, int pages, const std::string& table = "fatt") {
        test::writeTextPdf(docFile(record, name), pages);
        archive->addRow(table, {record, name, "doc " + name});
    }
    void addFile(long record, const std::string& name, const std::string& content) {
        std::ofstream(docFile(record, name), std::ios::binary) << content;
        archive->addRow("fatt", {record, name, "file " + name});
    }

    ConvTableResult run(const std::string& table = "fatt", const std::string& archivio = "Fatture 2024",
                        const std::string& basePath = {}) {
        const std::string b = basePath.empty() ? base : basePath;
        ConnectionPtr cnn = archive->connect();
        const PdfConverter conv(settings);
        return ConvTable(*cnn, dialogs, progress, conv).run(archivio, b, table, b);
    }

    std::string question(long n) const { return test::convQuestion(n, "Fatture 2024", base); }
    std::string closing() const { return test::convClosing("Fatture 2024", base); }

    // Every file below the documents folder, relative, sorted.
    std::vector<std::string> files() const {
        std::vector<std::string> out;
        for (const auto& e : fs::recursive_directory_iterator(docs))
            if (e.is_regular_file()) out.push_back(fs::relative(e.path(), docs).string());
        std::sort(out.begin(), out.end());
        return out;
    }

    test::TempDir dir{"zqconv"};
    fs::path docs = dir / "FATTURE";
    std::string base = docs.string() + "/";
    std::unique_ptr<test::TestArchive> archive;
    test::HookedDialogs dialogs;
    test::RecordingProgress progress;
    ConversionSettings settings;
};

TEST_F(ConvTableTest, ConvertsThePdfsOfEveryRecordFolderAndRenamesTheRecords) {
    addPdf(1, "f0001.pdf", 2);
    addFile(2, "foto.jpg", "jpeg");
    addPdf(499, "f0499.pdf", 1);
    archive->addRow("fatt", {3, "manca.pdf", "missing"});
    addPdf(500, "F0500.PDF", 3);
    addPdf(1700, "f1700.pdf", 1);
    dialogs.then(Answer::Yes);

    const ConvTableResult r = run();

    ASSERT_EQ(dialogs.messages().size(), 2u);
    expectConvMessage(dialogs.messages()[0], question(4), Buttons::YesNo, Icon::Question);
    expectConvMessage(dialogs.messages()[1], closing(), Buttons::Ok, Icon::None);

    EXPECT_EQ(archive->rows("fatt"), (std::vector<DocRow>{{1, "f0001.tif", "doc f0001.pdf"},
                                                          {2, "foto.jpg", "file foto.jpg"},
                                                          {499, "f0499.tif", "doc f0499.pdf"},
                                                          {3, "manca.pdf", "missing"},
                                                          {500, "F0500.tif", "doc F0500.PDF"},
                                                          {1700, "f1700.tif", "doc f1700.pdf"}}));
    EXPECT_EQ(files(), (std::vector<std::string>{"00000000/f0001.pdf", "00000000/f0001.tif", "00000000/f0499.pdf",
                                                 "00000000/f0499.tif", "00000000/foto.jpg", "00000001/F0500.PDF",
                                                 "00000001/F0500.tif", "00000003/f1700.pdf", "00000003/f1700.tif"}));
    for (const auto& [tif, pages] : {std::pair{"00000000/f0001.tif", 2u}, {"00000000/f0499.tif", 1u},
                                     {"00000001/F0500.tif", 3u}, {"00000003/f1700.tif", 1u}})
        EXPECT_EQ(test::readTiffPages(docs / tif).size(), pages) << tif;

    // The bar and the label count documents; the rows without one move neither.
    EXPECT_EQ(progress.events,
              (Texts{"begin Inizio Conversione Documenti ...", "range 4", "value 0", "value 1",
                     "label Conversione Documenti (1 di 4)", "value 2", "label Conversione Documenti (2 di 4)",
                     "value 3", "label Conversione Documenti (3 di 4)", "value 4",
                     "label Conversione Documenti (4 di 4)", "end"}));
    EXPECT_EQ(r.counted, 4);
    EXPECT_EQ(r.converted, 4);
    EXPECT_TRUE(r.completed && r.confirmed);
    EXPECT_FALSE(r.cancelled);
}

TEST_F(ConvTableTest, TableNamedByARealSerialStartingWithDigits) {
    archive->exec("CREATE TABLE \"2401011230a1b2\" (sys_record LONG, sys_filename TEXT(255), descr TEXT(50))");
    addPdf(42, "f.pdf", 2, "\"2401011230a1b2\"");
    dialogs.then(Answer::Yes);

    const ConvTableResult r = run("2401011230a1b2");

    EXPECT_EQ(dialogs.texts(), (Texts{question(1), closing()}));
    EXPECT_EQ(archive->rows("\"2401011230a1b2\"")[0].fileName, "f.tif");
    EXPECT_EQ(r.converted, 1);
}

TEST_F(ConvTableTest, NoPdfsShowsTheMessageAndChangesNothing) {
    archive->addRow("fatt", {std::nullopt, "senza-record.pdf", "a"});
    test::writeTextPdf(docFile(0, "senza-record.pdf"), 1);
    archive->addRow("fatt", {7, std::nullopt, "b"});
    addFile(8, "nota.txt", "testo");
    archive->addRow("fatt", {9, "manca.pdf", "c"});
    const auto before = archive->rows("fatt");

    const ConvTableResult r = run();

    ASSERT_EQ(dialogs.messages().size(), 1u);
    expectConvMessage(dialogs.messages()[0], test::convNothingFound("Fatture 2024", base), Buttons::Ok, Icon::None);
    EXPECT_EQ(archive->rows("fatt"), before);
    EXPECT_EQ(files(), (Texts{"00000000/nota.txt", "00000000/senza-record.pdf"}));
    EXPECT_EQ(progress.events, (Texts{"begin Inizio Conversione Documenti ...", "end"}));
    EXPECT_EQ(r.counted, 0);
    EXPECT_FALSE(r.completed);
}

TEST_F(ConvTableTest, RowsWithNullRecordOrFileNameAreSkippedInBothPasses) {
    addPdf(10, "a.pdf", 1);
    archive->addRow("fatt", {std::nullopt, "a.pdf", "null record"});
    archive->addRow("fatt", {10, std::nullopt, "null name"});
    addPdf(11, "b.pdf", 2);
    dialogs.then(Answer::Yes);

    const ConvTableResult r = run();

    EXPECT_EQ(dialogs.texts(), (Texts{question(2), closing()}));
    EXPECT_EQ(archive->rows("fatt"), (std::vector<DocRow>{{10, "a.tif", "doc a.pdf"},
                                                          {std::nullopt, "a.pdf", "null record"},
                                                          {10, std::nullopt, "null name"},
                                                          {11, "b.tif", "doc b.pdf"}}));
    EXPECT_EQ(r.converted, 2);
}

TEST_F(ConvTableTest, PdfInsideALongerNameCountsAndGivesTheSameTiffName) {
    addPdf(1, "contratto.pdf", 1);
    addPdf(2, "contratto.PDF.bak", 1);
    addPdf(3, "  spazi.pdf  ", 2);  // the stored name is trimmed before use
    fs::rename(docFile(3, "  spazi.pdf  "), docFile(3, "spazi.pdf"));
    dialogs.then(Answer::Yes);

    run();

    EXPECT_EQ(dialogs.texts().front(), question(3));
    EXPECT_EQ(archive->rows("fatt"), (std::vector<DocRow>{{1, "contratto.tif", "doc contratto.pdf"},
                                                          {2, "contratto.tif", "doc contratto.PDF.bak"},
                                                          {3, "spazi.tif", "doc   spazi.pdf  "}}));
    EXPECT_EQ(test::readTiffPages(docs / "00000000/spazi.tif").size(), 2u);
}

TEST_F(ConvTableTest, BackslashBasePathBuildsFoldersAndFileNamesWithBackslashes) {
    // On this system a backslash is an ordinary character of a file name: a base path
    // without "/" makes the record folder part of the file's own name, as a Windows
    // path would be split.
    const fs::path cwd = fs::current_path();
    fs::current_path(dir.path());
    const std::string winBase = R"(ARCHIVIO\)";
    test::writeTextPdf(recordFolder(winBase, 750) + "nota.pdf", 1);
    archive->addRow("fatt", {750, "nota.pdf", "w"});
    dialogs.then(Answer::Yes);
    const ConvTableResult r = run("fatt", "Win", winBase);
    fs::current_path(cwd);

    EXPECT_EQ(r.converted, 1);
    EXPECT_EQ(archive->rows("fatt")[0].fileName, "nota.tif");
    EXPECT_TRUE(fs::exists(dir / R"(ARCHIVIO\00000001\nota.tif)"));
}

TEST(ConvTableFileName, SplitsAtTheLastSlashWhenThereIsOneElseAtTheLastBackslash) {
    const struct {
        const char* path;
        const char* name;
    } cases[] = {
        {R"(C:\ARCHIVI\FATT\00000000\f1.tif)", "f1.tif"},
        {"/dati/fatt/00000000/f1.tif", "f1.tif"},
        {R"(/dati/fatt\00000000\f1.tif)", R"(fatt\00000000\f1.tif)"},
        {R"(C:\dati/fatt\f1.tif)", R"(fatt\f1.tif)"},
        {"f1.tif", "f1.tif"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(ConvTable::fileNameOf(c.path), c.name);
    }
}

TEST(ConvTableRecordFolder, OneFolderPer500RecordsWithTheBaseSeparator) {
    const struct {
        const char* base;
        long record;
        const char* folder;
    } cases[] = {
        {R"(C:\A\)", 2500, R"(C:\A\00000005\)"}, {"/x/", 999, "/x/00000001/"}, {"/x/", 499, "/x/00000000/"},
        {"/x/", 500, "/x/00000001/"},           {"nessuno", 0, "00000000"},   {R"(C:\mix/)", 1000, "C:\\mix/00000002/"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.base) + " " + std::to_string(c.record));
        EXPECT_EQ(recordFolder(c.base, c.record), c.folder);
    }
}

TEST_F(ConvTableTest, PdfsAddedAfterTheCountAreConvertedAndTheBarGrows) {
    addPdf(1, "a.pdf", 1);
    archive->addRow("fatt", {2, "b.pdf", "later"});
    dialogs.onMessage = [&](const Message& m) {
        if (m.buttons == Buttons::YesNo) test::writeTextPdf(docFile(2, "b.pdf"), 2);
    };
    dialogs.then(Answer::Yes);

    const ConvTableResult r = run();

    EXPECT_EQ(dialogs.texts(), (Texts{question(1), closing()}));
    EXPECT_EQ(progress.events,
              (Texts{"begin Inizio Conversione Documenti ...", "range 1", "value 0", "value 1",
                     "label Conversione Documenti (1 di 1)", "range 2", "value 2",
                     "label Conversione Documenti (2 di 2)", "end"}));
    EXPECT_EQ(archive->rows("fatt")[1].fileName, "b.tif");
    EXPECT_EQ(r.converted, 2);
}

TEST_F(ConvTableTest, NoToContinuoLeavesEverythingAsItWas) {
    addPdf(1, "a.pdf", 1);
    addPdf(2, "b.pdf", 1);
    const auto before = archive->rows("fatt");
    const auto filesBefore = files();
    dialogs.then(Answer::No);

    const ConvTableResult r = run();

    EXPECT_EQ(dialogs.texts(), (Texts{question(2)}));
    EXPECT_EQ(archive->rows("fatt"), before);
    EXPECT_EQ(files(), filesBefore);
    EXPECT_EQ(progress.events, (Texts{"begin Inizio Conversione Documenti ...", "end"}));
    EXPECT_FALSE(r.confirmed);
}

TEST_F(ConvTableTest, AnUnreadablePdfIsSkippedAndItsRecordKept) {
    addPdf(1, "a.pdf", 1);
    addFile(2, "rotto.pdf", "questo non e' un PDF");
    addPdf(3, "c.pdf", 1);
    dialogs.then(Answer::Yes);

    const ConvTableResult r = run();

    EXPECT_EQ(dialogs.texts(), (Texts{question(3), closing()}));
    EXPECT_EQ(progress.events.rbegin()[1], "label Conversione Documenti (3 di 3)");
    EXPECT_EQ(archive->rows("fatt"), (std::vector<DocRow>{{1, "a.tif", "doc a.pdf"},
                                                          {2, "rotto.pdf", "file rotto.pdf"},
                                                          {3, "c.tif", "doc c.pdf"}}));
    EXPECT_FALSE(fs::exists(docs / "00000000/rotto.tif"));
    EXPECT_EQ(r.converted, 2);
    EXPECT_EQ(r.unreadable, 1);
}

TEST_F(ConvTableTest, AFailedConversionGoesToTheErrorReportAndIgnoreKeepsTheRecord) {
    addPdf(1, "a.pdf", 1);
    addPdf(2, "blocco.pdf", 1);
    fs::create_directories(docFile(2, "blocco.tif"));  // the TIFF cannot take its name
    dialogs.then(Answer::Yes).then(Answer::Ignore);

    const ConvTableResult r = run();

    ASSERT_EQ(dialogs.messages().size(), 3u);
    const Message& report = dialogs.messages()[1];
    EXPECT_EQ(report.buttons, Buttons::AbortRetryIgnore);
    EXPECT_NE(report.text.find("frmTiff"), std::string::npos) << report.text;
    EXPECT_NE(report.text.find("ConvTable"), std::string::npos) << report.text;
    EXPECT_EQ(dialogs.messages()[2].text, closing());
    EXPECT_EQ(archive->rows("fatt")[0].fileName, "a.tif");
    EXPECT_EQ(archive->rows("fatt")[1].fileName, "blocco.pdf");
    EXPECT_EQ(r.failed, 1);
}

TEST_F(ConvTableTest, RetryInTheErrorReportConvertsAgain) {
    addPdf(1, "blocco.pdf", 2);
    const fs::path obstacle = docFile(1, "blocco.tif");
    fs::create_directories(obstacle);
    dialogs.onMessage = [&](const Message& m) {
        if (m.buttons == Buttons::AbortRetryIgnore) fs::remove(obstacle);
    };
    dialogs.then(Answer::Yes).then(Answer::Retry);

    const ConvTableResult r = run();

    EXPECT_EQ(dialogs.messages().size(), 3u);
    EXPECT_EQ(archive->rows("fatt")[0].fileName, "blocco.tif");
    EXPECT_EQ(test::readTiffPages(obstacle).size(), 2u);
    EXPECT_EQ(r.converted, 1);
}

TEST_F(ConvTableTest, AbortInTheErrorReportEndsTheProgramAfterHidingTheProgress) {
    addPdf(1, "blocco.pdf", 1);
    fs::create_directories(docFile(1, "blocco.tif"));
    dialogs.then(Answer::Yes).then(Answer::Abort);

    EXPECT_THROW(run(), AbortProgram);
    EXPECT_EQ(progress.events.back(), "end");
    EXPECT_EQ(archive->rows("fatt")[0].fileName, "blocco.pdf");
}

TEST_F(ConvTableTest, AMissingTableGoesToTheErrorReport) {
    dialogs.then(Answer::Ignore);
    const ConvTableResult r = run("manca");
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].buttons, Buttons::AbortRetryIgnore);
    EXPECT_NE(dialogs.messages()[0].text.find("SELECT * FROM manca"), std::string::npos) << dialogs.messages()[0].text;
    EXPECT_EQ(progress.events, (Texts{"begin Inizio Conversione Documenti ...", "end"}));
    EXPECT_EQ(r.counted, 0);
}

TEST_F(ConvTableTest, CancelStopsAfterTheDocumentsInProgressAndLeavesEveryRecordConsistent) {
    const int n = 12;
    for (int i = 0; i < n; ++i) addPdf(i, "d" + std::to_string(i) + ".pdf", 2 + i % 3);
    settings.dpi = 150;
    progress.cancelAfterLabel = "Conversione Documenti (2 di 12)";
    dialogs.then(Answer::Yes);

    const ConvTableResult r = run();

    EXPECT_TRUE(r.cancelled);
    EXPECT_FALSE(r.completed);
    EXPECT_EQ(dialogs.texts(), (Texts{question(n)})) << "no closing message after a cancel";
    EXPECT_EQ(progress.events.back(), "end");
    EXPECT_GE(r.converted, 2);
    EXPECT_LT(r.converted, n);
    const auto rows = archive->rows("fatt");
    ASSERT_EQ(rows.size(), std::size_t(n));
    long tiffs = 0;
    for (int i = 0; i < n; ++i) {
        SCOPED_TRACE(i);
        const std::string stem = "d" + std::to_string(i);
        const fs::path tif = docFile(i, stem + ".tif");
        if (rows[i].fileName == stem + ".tif") {
            ++tiffs;
            EXPECT_EQ(test::readTiffPages(tif).size(), std::size_t(2 + i % 3));
        } else {
            EXPECT_EQ(rows[i].fileName, stem + ".pdf");
        }
        EXPECT_TRUE(fs::exists(docFile(i, stem + ".pdf")));
    }
    EXPECT_EQ(tiffs, r.converted);
    // Converted records come first, in table order: the run stopped, it did not skip.
    for (int i = 1; i < n; ++i)
        EXPECT_TRUE(!rows[i].fileName->ends_with(".tif") || rows[i - 1].fileName->ends_with(".tif")) << "row " << i;
    for (const auto& f : files()) EXPECT_EQ(f.find("/."), std::string::npos) << "work file left: " << f;
}

}  // namespace
}  // namespace zq
