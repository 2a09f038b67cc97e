// The conversion form on the offscreen platform against a demo installation: the list,
// the tick that enables "&Converti", conversions that run while the window keeps
// working, the exact messages, "Annulla", and the main window's menu entry.

#include "conversion/forms/frmtiff.h"

#include "app/gui/formtable.h"
#include "app/gui/frmmain.h"
#include "app/gui/sessionlogin.h"
#include "archive_records.h"
#include "conv_dialogs.h"
#include "demo_fixture.h"
#include "guitest.h"
#include "listctl/check_column.h"
#include "listctl/flex_grid.h"
#include "listctl/grdcomm.h"

#include <QAction>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <set>

namespace zq {
namespace {

using test::expectConverted;
using test::expectConvMessage;
using test::expectUntouched;
using Texts = std::vector<std::string>;

constexpr const char* kFornitori2024 = "Fatture Fornitori 2024";
constexpr const char* kFornitori2024Serial = "2408010930122c3d";

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

    // Lets events run until the conversion has ended; collects the progress labels seen,
    // each with the bar beside it as "(value di maximum)".
    bool waitForRun(std::set<std::string>* labels = nullptr) {
        QElapsedTimer t;
        t.start();
        while (form->converting() && t.elapsed() < 120000) {
            QApplication::processEvents(QEventLoop::AllEvents, 20);
            if (labels && form->lblTiff()->isVisible())
                labels->insert(form->lblTiff()->text().toStdString() + " bar (" +
                               std::to_string(form->prbTiff()->value()) + " di " +
                               std::to_string(form->prbTiff()->maximum()) + ")");
        }
        return !form->converting();
    }

    std::string pathOf(const std::string& serial) const { return test::docsPathOf(fx.dir(), serial); }
    std::vector<test::DocRecord> records(const std::string& serial) {
        return test::readRecords(*session.CnnArch, serial, pathOf(serial));
    }
    // The run's question and closing message for a demo archive.
    std::string question(long n, const std::string& name, const std::string& serial) const {
        return test::convQuestion(n, name, pathOf(serial));
    }
    std::string closing(const std::string& name, const std::string& serial) const {
        return test::convClosing(name, pathOf(serial));
    }

    test::DemoFixture fx;
    test::HookedDialogs dialogs;
    Session session{dialogs, fx.dir()};
    std::unique_ptr<frmTiff> form;
};

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
    expectConvMessage(dialogs.messages()[0], question(4, kFornitori2024, kFornitori2024Serial), Buttons::YesNo,
                      Icon::Question);
    expectConvMessage(dialogs.messages()[1], closing(kFornitori2024, kFornitori2024Serial), Buttons::Ok, Icon::None);

    // Every label seen while running is one of the run's own, and the bar says the same.
    std::set<std::string> own;
    for (int n = 1; n <= 4; ++n) {
        const std::string count = "(" + std::to_string(n) + " di 4)";
        own.insert("Conversione Documenti " + count + " bar " + count);
    }
    for (const std::string& l : labels) {
        if (l.rfind("Inizio Conversione Documenti ...", 0) != 0) {
            EXPECT_TRUE(own.count(l)) << l;
        }
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

TEST_F(FrmTiffTest, TwoArchivesInListOrderEachWithItsQuestionAndMessage) {
    frmTiff& f = open();
    // Ticked in the reverse of list order: the run still follows the list.
    tick(entryOf("Verbali Assemblea"));
    tick(entryOf("Contratti"));
    dialogs.then(Answer::Yes).then(Answer::Ok).then(Answer::Yes);  // the closing box takes an answer too
    f.cmdTiff()->click();
    ASSERT_TRUE(waitForRun());
    const std::string contratti = "2106051045127b82", verbali = "2106051045116a71";
    EXPECT_EQ(dialogs.texts(), (Texts{question(2, "Contratti", contratti), closing("Contratti", contratti),
                                      question(2, "Verbali Assemblea", verbali),
                                      closing("Verbali Assemblea", verbali)}));
    expectConverted(records("2106051045127b82"));
    expectConverted(records("2106051045116a71"));
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

    // One question, then what was converted and what is left; the second archive was
    // never started.
    const auto recs = records(kFornitori2024Serial);
    test::expectStoppedPartway(recs);
    const auto converted = std::count_if(recs.begin(), recs.end(), [](const auto& r) { return r.file != r.pdf; });
    EXPECT_EQ(dialogs.texts(), (Texts{question(4, kFornitori2024, kFornitori2024Serial),
                                      test::lines({"Conversione interrotta.",
                                                   "Documenti convertiti: " + std::to_string(converted) + ".",
                                                   "Documenti rimasti da convertire: " + std::to_string(4 - converted) + ".",
                                                   "Archivi non ancora elaborati: 1."})}));
    expectUntouched(records("2408010930133d4e"));

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

    // While a conversion runs the main window's close box keeps the program going, and
    // no new configuration or relink starts under it.
    form.reset(tiff);  // for waitForRun and the helpers; the frame still owns it
    tick(entryOf(kFornitori2024));
    bool mainRefused = false, settingsHeld = false, confRefused = false;
    dialogs.onMessage = [&](const Message& m) {
        if (m.buttons != Buttons::YesNo) return;
        mainRefused = !w.close() && w.openForms() == 1;
        w.updateMenus();
        settingsHeld = !w.menuEntry(QStringLiteral("mnuFileConf"))->isEnabled() &&
                       !w.menuEntry(QStringLiteral("mnuFileAggP"))->isEnabled();
        QTimer::singleShot(0, [] {  // a form that opened after all must not hang the test
            if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
        });
        confRefused = !w.openModal(QStringLiteral("mnuFileConf"));
    };
    dialogs.then(Answer::Ok).then(Answer::No);
    tiff->cmdTiff()->click();
    const bool ended = waitForRun();
    form.release();
    ASSERT_TRUE(ended);
    EXPECT_TRUE(mainRefused);
    EXPECT_TRUE(settingsHeld);
    EXPECT_TRUE(confRefused);
    // The refusal names the running operation; No to "Continuo?" leaves the archive as it was.
    ASSERT_EQ(dialogs.messages().size(), 2u);
    EXPECT_EQ(dialogs.texts()[0].rfind("ATTENZIONE!\r\nUn'altra operazione sta modificando l'archivio:\r\n"
                                       "Conversione da PDF a TIF,\r\nutente ", 0), 0u) << dialogs.texts()[0];
    EXPECT_EQ(dialogs.messages()[0].title, "Configurazione");
    EXPECT_EQ(dialogs.texts()[1], question(4, kFornitori2024, kFornitori2024Serial));
    w.updateMenus();
    EXPECT_TRUE(w.menuEntry(QStringLiteral("mnuFileConf"))->isEnabled());
    EXPECT_FALSE(tiff->lblTiff()->isVisible());
    EXPECT_FALSE(tiff->prbTiff()->isVisible());
    expectUntouched(records(kFornitori2024Serial));

    tiff->cmdExit()->click();
    QApplication::processEvents();
    EXPECT_TRUE(entry->isEnabled());
    EXPECT_EQ(w.openForms(), 0);
}

}  // namespace
}  // namespace zq
