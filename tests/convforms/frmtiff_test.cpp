// The conversion form on the offscreen platform against a demo installation: the list,
// the tick that enables "&Converti", conversions that run while the window keeps
// working, the exact messages, "Annulla", and the main window's menu entry.

#include "conversion/forms/frmtiff.h"

#include "app/demo_installation.h"
#include "app/gui/formtable.h"
#include "app/gui/frmmain.h"
#include "app/gui/sessionlogin.h"
#include "archive_records.h"
#include "demo_fixture.h"
#include "guitest.h"
#include "listctl/check_column.h"
#include "listctl/flex_grid.h"
#include "listctl/grdcomm.h"
#include "runtime/text.h"
#include "scripted_dialogs.h"

#include <QAction>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <functional>
#include <set>

namespace zq {
namespace {

using test::DemoFixture;
using test::DocRecord;
using test::ScriptedDialogs;

constexpr const char* kFornitori2024 = "Fatture Fornitori 2024";
constexpr const char* kFornitori2024Serial = "2408010930122c3d";

// Runs a hook on each message before the script answers it (to act while a question
// is on the screen, as a person would).
class HookedDialogs : public ScriptedDialogs {
public:
    Answer message(const Message& m) override {
        if (onMessage) onMessage(m);
        return ScriptedDialogs::message(m);
    }
    std::function<void(const Message&)> onMessage;
};

class FrmTiffTest : public test::GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        test::writeConversionSettings(fx.dir(), /*dpi=*/50, /*threads=*/2);
        session.OpenConn(nullptr);
        ASSERT_TRUE(session.CnnArch);
    }
    void TearDown() override {
        form.reset();
        session.CloseConn();
        GuiTest::TearDown();
    }

    frmTiff& open() {
        form = std::make_unique<frmTiff>(session, dialogs);
        form->resize(900, 500);
        form->show();
        QApplication::processEvents();
        return *form;
    }

    // The 1-based number of the entry with this archive name (0 when not listed).
    int entryOf(const std::string& name) const {
        for (std::size_t i = 0; i < form->entries().size(); ++i)
            if (form->entries()[i].archivio == name) return static_cast<int>(i + 1);
        return 0;
    }

    // Ticks the box of entry n, scrolling it into view first.
    void tick(int n) {
        form->clsList().setTopRow(form->clsList().FixedRows() + n - 1);
        form->DispchkS();
        QCheckBox* box = form->checks().box(n - form->clsList().TopRow() + 1);
        ASSERT_NE(box, nullptr);
        ASSERT_TRUE(box->isVisible());
        box->click();
    }

    // Lets events run until the conversion has ended; collects the progress labels seen.
    bool waitForRun(std::set<std::string>* labels = nullptr) {
        QElapsedTimer t;
        t.start();
        while (form->converting() && t.elapsed() < 120000) {
            QApplication::processEvents(QEventLoop::AllEvents, 20);
            if (labels && form->lblTiff()->isVisible()) labels->insert(form->lblTiff()->text().toStdString());
        }
        return !form->converting();
    }

    std::string pathOf(const std::string& serial) const {
        for (const auto& a : DemoInstallation::archives(fx.dir()))
            if (vbLCase(a.serial) == serial) return a.docs;
        return {};
    }
    std::vector<DocRecord> records(const std::string& serial) {
        return test::readRecords(*session.CnnArch, serial, pathOf(serial));
    }

    static std::string question(long n, const std::string& name, const std::string& path) {
        return test::lines({"Rilevati n. " + std::to_string(n), "documenti di " + name, "nel percorso " + path + ".",
                            "Continuo?"});
    }
    static std::string closing(const std::string& name, const std::string& path) {
        return test::lines({"I documenti " + name, "nel percorso " + path, "sono stati convertiti in formato tiff."});
    }

    DemoFixture fx;
    HookedDialogs dialogs;
    Session session{dialogs, fx.dir()};
    std::unique_ptr<frmTiff> form;
};

// Every record of the archive names a TIFF beside its PDF, with the PDF's pages.
void expectConverted(const std::vector<DocRecord>& recs) {
    ASSERT_FALSE(recs.empty());
    for (const DocRecord& r : recs) {
        SCOPED_TRACE("record " + std::to_string(r.record));
        char name[32];
        std::snprintf(name, sizeof name, "%08ld.tif", r.record);
        EXPECT_EQ(r.fileName, name);
        EXPECT_TRUE(std::filesystem::exists(r.file));
        EXPECT_TRUE(std::filesystem::exists(r.pdf));
        const int pages = test::pdfPages(r.pdf);
        EXPECT_GE(pages, 1);
        EXPECT_EQ(test::tiffPages(r.file), pages);
    }
}

// Every record still names its PDF and no TIFF lies beside it.
void expectUntouched(const std::vector<DocRecord>& recs) {
    ASSERT_FALSE(recs.empty());
    for (const DocRecord& r : recs) {
        SCOPED_TRACE("record " + std::to_string(r.record));
        EXPECT_EQ(r.file, r.pdf);
        EXPECT_TRUE(std::filesystem::exists(r.pdf));
        EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(r.pdf).replace_extension(".tif")));
    }
}

TEST_F(FrmTiffTest, ListsTheArchivesWithPathsByAreaAndArchive) {
    frmTiff& f = open();
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Conversione da PDF a TIF"));
    EXPECT_EQ(f.objectName(), QStringLiteral("frmTiff"));
    EXPECT_EQ(f.property("x_Form").toString(), QStringLiteral("0"));
    EXPECT_EQ(f.lblTiffInit()->text(),
              QStringLiteral("Selezionare l'archivio da convertire e premere il tasto \"Converti\"."));
    EXPECT_EQ(f.cmdTiff()->text(), QStringLiteral("&Converti"));
    EXPECT_EQ(f.cmdExit()->text(), QStringLiteral("&Esci"));
    EXPECT_FALSE(f.lblTiff()->isVisible());
    EXPECT_FALSE(f.prbTiff()->isVisible());
    EXPECT_FALSE(f.cmdAnnulla()->isVisible());

    grdComm& list = f.clsList();
    EXPECT_EQ(list.RowHgt(), 315);
    EXPECT_EQ(list.TextMatrix(0, 1).trimmed(), QStringLiteral("N."));
    EXPECT_EQ(list.TextMatrix(0, 2), QStringLiteral("Area"));
    EXPECT_EQ(list.TextMatrix(0, 3), QStringLiteral("Descrizione"));

    // "Statuti" has no documents path and is left out, without a blank row.
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"Documenti Societari", "Contratti"},
        {"Documenti Societari", "Verbali Assemblea"},
        {"Fatture Acquisto", "Fatture Fornitori 2023"},
        {"Fatture Acquisto", "Fatture Fornitori 2024"},
        {"Fatture Acquisto", "Note di Credito Fornitori 2024"},
        {"Fatture Vendita", "Corrispettivi 2024"},
        {"Fatture Vendita", "Fatture Clienti 2023"},
        {"Fatture Vendita", "Fatture Clienti 2024"}};
    ASSERT_EQ(f.entries().size(), expected.size());
    ASSERT_EQ(list.Rows(), list.FixedRows() + static_cast<int>(expected.size()));
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(expected[i].second);
        const int row = list.FixedRows() + static_cast<int>(i);
        EXPECT_EQ(list.TextMatrix(row, 1), QString::number(i + 1));
        EXPECT_EQ(list.TextMatrix(row, 2).toStdString(), expected[i].first);
        EXPECT_EQ(list.TextMatrix(row, 3).toStdString(), expected[i].second);
        EXPECT_FALSE(f.entries()[i].selected);
    }
    EXPECT_EQ(f.entries()[3].tabella, kFornitori2024Serial);
    EXPECT_EQ(f.entries()[3].pathDocs, pathOf(kFornitori2024Serial));
}

TEST_F(FrmTiffTest, ConvertiIsEnabledByATickAndDoesNothingWithoutOne) {
    frmTiff& f = open();
    EXPECT_FALSE(f.cmdTiff()->isEnabled());
    f.cmdTiff_Click();  // nothing ticked: no question, no run
    EXPECT_FALSE(f.converting());
    EXPECT_TRUE(dialogs.messages().empty());

    const int n = entryOf(kFornitori2024);
    ASSERT_GT(n, 0);
    tick(n);
    EXPECT_TRUE(f.entries()[n - 1].selected);
    EXPECT_TRUE(f.cmdTiff()->isEnabled());
    // Removing the last tick keeps the button enabled; pressing it then does nothing.
    tick(n);
    EXPECT_FALSE(f.entries()[n - 1].selected);
    EXPECT_TRUE(f.cmdTiff()->isEnabled());
    f.cmdTiff_Click();
    EXPECT_FALSE(f.converting());
    EXPECT_TRUE(dialogs.messages().empty());
    expectUntouched(records(kFornitori2024Serial));
}

TEST_F(FrmTiffTest, ConvertsTheTickedArchiveWhileTheWindowStaysResponsive) {
    frmTiff& f = open();
    const int n = entryOf(kFornitori2024);
    ASSERT_GT(n, 0);
    tick(n);
    const std::string path = pathOf(kFornitori2024Serial);

    bool askedOffTheButton = false;
    dialogs.onMessage = [&](const Message& m) {
        // The question comes while the window is already in its running state.
        if (m.buttons == Buttons::YesNo)
            askedOffTheButton = f.converting() && !f.cmdTiff()->isEnabled() && !f.cmdExit()->isEnabled() &&
                                f.cmdAnnulla()->isVisible() && f.lblTiff()->isVisible() &&
                                f.lblTiff()->text() == QStringLiteral("Inizio Conversione Documenti ...");
    };
    dialogs.then(Answer::Yes);
    f.cmdTiff()->click();
    // The click returned before the documents were converted.
    EXPECT_TRUE(f.converting());
    std::set<std::string> labels;
    ASSERT_TRUE(waitForRun(&labels));
    EXPECT_TRUE(askedOffTheButton);

    ASSERT_EQ(dialogs.messages().size(), 2u);
    const Message& q = dialogs.messages()[0];
    EXPECT_EQ(q.text, question(4, kFornitori2024, path));
    EXPECT_EQ(q.title, "Conversione da PDF a TIF");
    EXPECT_EQ(q.buttons, Buttons::YesNo);
    EXPECT_EQ(q.icon, Icon::Question);
    const Message& done = dialogs.messages()[1];
    EXPECT_EQ(done.text, closing(kFornitori2024, path));
    EXPECT_EQ(done.title, "Conversione da PDF a TIF");
    EXPECT_EQ(done.buttons, Buttons::Ok);
    EXPECT_EQ(done.icon, Icon::None);

    // Every label seen while running is one of the run's own.
    for (const std::string& l : labels) {
        SCOPED_TRACE(l);
        EXPECT_TRUE(l == "Inizio Conversione Documenti ..." || l == "Conversione Documenti (1 di 4)" ||
                    l == "Conversione Documenti (2 di 4)" || l == "Conversione Documenti (3 di 4)" ||
                    l == "Conversione Documenti (4 di 4)");
    }
    EXPECT_EQ(f.prbTiff()->maximum(), 4);
    EXPECT_EQ(f.prbTiff()->value(), 4);
    EXPECT_FALSE(f.lblTiff()->isVisible());
    EXPECT_FALSE(f.prbTiff()->isVisible());
    EXPECT_FALSE(f.cmdAnnulla()->isVisible());
    EXPECT_TRUE(f.cmdExit()->isEnabled());
    EXPECT_TRUE(f.cmdTiff()->isEnabled());

    // Record 501 lies in the second record folder.
    const auto recs = records(kFornitori2024Serial);
    ASSERT_EQ(recs.size(), 4u);
    EXPECT_EQ(recs[3].record, 501);
    EXPECT_NE(recs[3].file.string().find("/00000001/"), std::string::npos);
    expectConverted(recs);
    // The archive of the same name in 2023 was not ticked.
    expectUntouched(records("2215032010150a1f"));
}

TEST_F(FrmTiffTest, NoToContinuoLeavesTheArchiveAsItWas) {
    frmTiff& f = open();
    tick(entryOf(kFornitori2024));
    dialogs.then(Answer::No);
    f.cmdTiff()->click();
    ASSERT_TRUE(waitForRun());
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].text, question(4, kFornitori2024, pathOf(kFornitori2024Serial)));
    EXPECT_FALSE(f.lblTiff()->isVisible());
    EXPECT_FALSE(f.prbTiff()->isVisible());
    expectUntouched(records(kFornitori2024Serial));
}

TEST_F(FrmTiffTest, TwoArchivesInListOrderEachWithItsQuestionAndMessage) {
    frmTiff& f = open();
    // Ticked in the reverse of list order: the run still follows the list.
    tick(entryOf("Verbali Assemblea"));
    tick(entryOf("Contratti"));
    dialogs.then(Answer::Yes).then(Answer::Ok).then(Answer::Yes);  // the closing box takes an answer too
    f.cmdTiff()->click();
    ASSERT_TRUE(waitForRun());
    const std::string contratti = pathOf("2106051045127b82"), verbali = pathOf("2106051045116a71");
    EXPECT_EQ(dialogs.texts(), (std::vector<std::string>{question(2, "Contratti", contratti),
                                                         closing("Contratti", contratti),
                                                         question(2, "Verbali Assemblea", verbali),
                                                         closing("Verbali Assemblea", verbali)}));
    expectConverted(records("2106051045127b82"));
    expectConverted(records("2106051045116a71"));
}

TEST_F(FrmTiffTest, AnArchiveWithoutPdfsSaysSoAndAsksNothing) {
    const std::string path = pathOf("2106051045127b82");
    for (const auto& r : records("2106051045127b82")) std::filesystem::remove(r.pdf);
    frmTiff& f = open();
    tick(entryOf("Contratti"));
    f.cmdTiff()->click();
    ASSERT_TRUE(waitForRun());
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].text,
              test::lines({"Non sono stati trovati documenti PDF  in  Contratti", "nel percorso " + path + "."}));
    EXPECT_EQ(dialogs.messages()[0].buttons, Buttons::Ok);
    EXPECT_EQ(dialogs.messages()[0].icon, Icon::None);
    EXPECT_FALSE(f.lblTiff()->isVisible());
    for (const auto& r : records("2106051045127b82")) EXPECT_EQ(r.file, r.pdf);
}

TEST_F(FrmTiffTest, AnnullaStopsAfterTheDocumentsInProgressAndTheWindowCannotCloseMeanwhile) {
    // One document at a time, so the stop comes while most of them still wait.
    test::writeConversionSettings(fx.dir(), /*dpi=*/50, /*threads=*/1);
    frmTiff& f = open();
    tick(entryOf(kFornitori2024));
    tick(entryOf("Note di Credito Fornitori 2024"));  // after it in the list
    bool closeRefused = false;
    dialogs.onMessage = [&](const Message& m) {
        if (m.buttons != Buttons::YesNo) return;
        closeRefused = !f.close() && f.isVisible();
        f.cmdAnnulla()->click();
        EXPECT_FALSE(f.cmdAnnulla()->isEnabled());
    };
    dialogs.then(Answer::Yes);
    f.cmdTiff()->click();
    ASSERT_TRUE(waitForRun());
    EXPECT_TRUE(closeRefused);

    // One question, no closing message, and the second archive was never started.
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{question(4, kFornitori2024, pathOf(kFornitori2024Serial))});
    expectUntouched(records("2408010930133d4e"));

    // Each record names either its complete TIFF or still its PDF (with no TIFF
    // beside it); at least one was not reached.
    int untouched = 0;
    for (const DocRecord& r : records(kFornitori2024Serial)) {
        SCOPED_TRACE("record " + std::to_string(r.record));
        EXPECT_TRUE(std::filesystem::exists(r.pdf));
        if (r.file == r.pdf) {
            ++untouched;
            EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(r.pdf).replace_extension(".tif")));
        } else {
            EXPECT_EQ(std::filesystem::path(r.file), std::filesystem::path(r.pdf).replace_extension(".tif"));
            EXPECT_EQ(test::tiffPages(r.file), test::pdfPages(r.pdf));
        }
    }
    EXPECT_GE(untouched, 1);

    // The window is usable again and can be closed now.
    EXPECT_TRUE(f.cmdExit()->isEnabled());
    EXPECT_TRUE(f.cmdTiff()->isEnabled());
    EXPECT_FALSE(f.cmdAnnulla()->isVisible());
    EXPECT_FALSE(f.lblTiff()->isVisible());
    EXPECT_TRUE(f.close());
}

TEST_F(FrmTiffTest, TheMenuEntryOpensTheFormOnceAtATime) {
    SessionLogin login(session, /*firstStart=*/nullptr);
    frmMain w(login, QString::fromStdString(fx.dir().string()));
    registerForms(w, session);
    QAction* entry = w.menuEntry(QStringLiteral("mnuGestTiff"));
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->text(), QStringLiteral("Conversione da &PDF a TIF"));
    EXPECT_TRUE(entry->isEnabled());

    w.show();
    QWidget* opened = w.openChild(QStringLiteral("mnuGestTiff"));
    QApplication::processEvents();
    ASSERT_NE(opened, nullptr);
    auto* tiff = qobject_cast<frmTiff*>(opened);
    ASSERT_NE(tiff, nullptr);
    EXPECT_EQ(tiff->entries().size(), 8u);
    EXPECT_FALSE(entry->isEnabled());
    EXPECT_FALSE(w.menuEntry(QStringLiteral("mnuFileExit"))->isEnabled());
    EXPECT_EQ(w.openChild(QStringLiteral("mnuGestTiff")), nullptr);

    // While a conversion runs the main window's close box keeps the program going.
    form.reset(tiff);  // for waitForRun and the helpers; the frame still owns it
    tick(entryOf(kFornitori2024));
    bool mainRefused = false;
    dialogs.onMessage = [&](const Message& m) {
        if (m.buttons == Buttons::YesNo) mainRefused = !w.close() && w.openForms() == 1;
    };
    dialogs.then(Answer::No);
    tiff->cmdTiff()->click();
    const bool ended = waitForRun();
    form.release();
    ASSERT_TRUE(ended);
    EXPECT_TRUE(mainRefused);

    tiff->cmdExit()->click();
    QApplication::processEvents();
    EXPECT_TRUE(entry->isEnabled());
    EXPECT_EQ(w.openForms(), 0);
}

}  // namespace
}  // namespace zq
