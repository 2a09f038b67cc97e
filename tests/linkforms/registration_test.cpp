// The four forms in the main window: opened from their "&Gestione" entries, each
// holding the entry the program has always used for it.

#include "form_fixture.h"

namespace zq::test {
namespace {

using RegistrationTest = FormTest;

TEST_P(RegistrationTest, EveryEntryOpensItsForm) {
    MainWindow w(*session, dir_->path());
    w.expectEachOpensItsForm({
        {"mnuGestColl", "frmColl", "Collegamento tabelle al database TARV", "mnuGestColl"},
        {"mnuGestCDAV", "frmCDAV", "Collegamento tabelle DAV", "mnuGestColl"},
        {"mnuGestFree", "frmFree", "Scollegamento tabelle al database TARV", "mnuGestFree"},
        {"mnuGestMast", "frmMast", "Pre-Masterizzazione Archivi", "mnuGestFree"},
    });
}

TEST_P(RegistrationTest, EsciReleasesTheEntriesTheFormsHold) {
    MainWindow w(*session, dir_->path());
    w.main().openChild(QStringLiteral("mnuGestCDAV"));
    EXPECT_TRUE(w.enabled("mnuGestFree"));
    w.main().openChild(QStringLiteral("mnuGestMast"));
    EXPECT_FALSE(w.enabled("mnuGestColl"));
    EXPECT_FALSE(w.enabled("mnuGestFree"));
    EXPECT_EQ(nForms(), 2);

    for (QMdiSubWindow* sub : w.main().mdiArea()->subWindowList()) {
        auto* form = qobject_cast<ListForm*>(sub->widget());
        ASSERT_NE(form, nullptr);
        form->cmdExit()->click();
    }
    MainWindow::flushDeletes();
    EXPECT_EQ(nForms(), 0);
    for (const char* entry : {"mnuGestColl", "mnuGestFree", "mnuFileExit"}) EXPECT_TRUE(w.enabled(entry)) << entry;
}

TEST_P(RegistrationTest, AfterAnIgnoredStartEveryFormSaysItIsNotConnectedAndTheProgramStaysUp) {
    // A configuration file that cannot be read, answered Ignore: nothing is connected.
    TempDir home;
    std::filesystem::create_directory(home.path() / "zel_QUIRNOVA.CFG");
    ScriptedDialogs said;
    said.then(Answer::Ignore);
    Session bare(said, home.path());
    bare.OpenConn(/*firstStart=*/nullptr);
    ASSERT_FALSE(bare.CnnTarv);
    MainWindow w(bare, home.path());
    for (const char* entry : {"mnuGestColl", "mnuGestCDAV", "mnuGestFree", "mnuGestMast"}) {
        SCOPED_TRACE(entry);
        said.clear();
        QWidget* form = w.main().openChild(QString::fromLatin1(entry));
        ASSERT_NE(form, nullptr);
        ASSERT_EQ(said.messages().size(), 1u);
        EXPECT_EQ(said.messages()[0].text, Session::notConnectedText());
        EXPECT_EQ(said.messages()[0].title, form->windowTitle().toStdString());
        auto* list = qobject_cast<ListForm*>(form);
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->cmbFlds(0)->count(), 0);
        w.main().mdiArea()->closeAllSubWindows();
        MainWindow::flushDeletes();
    }
}

INSTANTIATE_TEST_SUITE_P(Embedded, RegistrationTest, ::testing::Values(TarvKind::Embedded));

}  // namespace
}  // namespace zq::test
