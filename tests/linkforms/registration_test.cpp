// The four forms in the main window: opened from their "&Gestione" entries, each
// registering with the entry the program has always used for it.

#include "form_fixture.h"

#include "app/gui/formregistry.h"
#include "app/gui/formtable.h"
#include "app/gui/frmmain.h"
#include "app/gui/login.h"

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>

namespace zq::test {
namespace {

class NoLogin : public Login {
public:
    void OpenConn() override {}
    void CloseConn() override {}
};

class RegistrationTest : public FormTest {
protected:
    void SetUp() override {
        FormTest::SetUp();
        main = std::make_unique<frmMain>(login, QString::fromStdString(dir_->path().string()));
        registerForms(*main, *session);
        main->show();
    }
    void TearDown() override {
        if (main) main->mdiArea()->closeAllSubWindows();
        main.reset();
        FormTest::TearDown();
    }
    bool enabled(const char* name) const { return main->menuEntry(QString::fromLatin1(name))->isEnabled(); }

    NoLogin login;
    std::unique_ptr<frmMain> main;
};

TEST_P(RegistrationTest, EveryEntryOpensItsForm) {
    const struct {
        const char* entry;
        const char* form;
        const char* caption;
    } cases[] = {
        {"mnuGestColl", "frmColl", "Collegamento tabelle al database TARV"},
        {"mnuGestCDAV", "frmCDAV", "Collegamento tabelle DAV"},
        {"mnuGestFree", "frmFree", "Scollegamento tabelle al database TARV"},
        {"mnuGestMast", "frmMast", "Pre-Masterizzazione Archivi"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry);
        EXPECT_TRUE(enabled(c.entry));
        main->menuEntry(QString::fromLatin1(c.entry))->trigger();
        QMdiSubWindow* sub = main->mdiArea()->activeSubWindow();
        ASSERT_NE(sub, nullptr);
        EXPECT_EQ(sub->widget()->objectName(), c.form);
        EXPECT_EQ(sub->widget()->windowTitle(), QString::fromUtf8(c.caption));
        EXPECT_EQ(nForms(), 1);
        sub->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(nForms(), 0);
    }
}

TEST_P(RegistrationTest, FormsRegisterWithTheirHistoricEntries) {
    // frmCDAV registers with the linking entry: that one is disabled while it is open.
    main->openChild(QStringLiteral("mnuGestCDAV"));
    EXPECT_FALSE(enabled("mnuGestColl"));
    EXPECT_TRUE(enabled("mnuGestFree"));
    EXPECT_FALSE(enabled("mnuFileExit"));
    // frmMast registers with the unlinking entry.
    main->openChild(QStringLiteral("mnuGestMast"));
    EXPECT_FALSE(enabled("mnuGestFree"));
    EXPECT_EQ(nForms(), 2);

    // The Esci button closes the form and releases its entry.
    for (QMdiSubWindow* sub : main->mdiArea()->subWindowList()) {
        auto* form = qobject_cast<ListForm*>(sub->widget());
        ASSERT_NE(form, nullptr);
        form->cmdExit()->click();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(nForms(), 0);
    EXPECT_TRUE(enabled("mnuGestColl"));
    EXPECT_TRUE(enabled("mnuGestFree"));
    EXPECT_TRUE(enabled("mnuFileExit"));
}

// The forms are the same on every TARV engine; the embedded one needs no server.
INSTANTIATE_TEST_SUITE_P(Embedded, RegistrationTest, ::testing::Values(TarvKind::Embedded));

}  // namespace
}  // namespace zq::test
