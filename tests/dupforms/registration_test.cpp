// The four forms in the main window: the three "&Gestione" entries open their child
// forms, each registering with its own entry, and "&Raggruppamento Aree" under
// "&Imposta" is available.

#include "dupform_fixture.h"

#include "app/gui/formregistry.h"
#include "app/gui/formtable.h"
#include "app/gui/frmmain.h"
#include "app/gui/login.h"

#include <QAction>
#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace zq::test {
namespace {

class NoLogin : public Login {
public:
    void OpenConn() override {}
    void CloseConn() override {}
};

class DupRegistrationTest : public DupFormTest {
protected:
    void SetUp() override {
        DupFormTest::SetUp();
        main = std::make_unique<frmMain>(login, QString::fromStdString(dir_->path().string()));
        registerForms(*main, *session);
        main->show();
    }
    void TearDown() override {
        if (main) main->mdiArea()->closeAllSubWindows();
        main.reset();
        DupFormTest::TearDown();
    }
    bool enabled(const char* name) const { return main->menuEntry(QString::fromLatin1(name))->isEnabled(); }

    NoLogin login;
    std::unique_ptr<frmMain> main;
};

TEST_F(DupRegistrationTest, EveryEntryOpensItsForm) {
    EXPECT_TRUE(enabled("mnuFileCGru"));
    const struct {
        const char* entry;
        const char* form;
        const char* caption;
    } cases[] = {
        {"mnuGestCopy", "frmCopy", "Duplicazione AREE"},
        {"mnuGestAnno", "frmAnno", "Duplicazione ANNUALITA'"},
        {"mnuGestGrup", "frmGrup", "Duplicazione AREE"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry);
        EXPECT_TRUE(enabled(c.entry));
        main->menuEntry(QString::fromLatin1(c.entry))->trigger();
        QMdiSubWindow* sub = main->mdiArea()->activeSubWindow();
        ASSERT_NE(sub, nullptr);
        EXPECT_EQ(sub->widget()->objectName(), c.form);
        EXPECT_EQ(sub->widget()->windowTitle(), QString::fromUtf8(c.caption));
        // The entry is the form's while it is open; "&Esci" waits for it.
        EXPECT_FALSE(enabled(c.entry));
        EXPECT_FALSE(enabled("mnuFileExit"));
        sub->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(enabled(c.entry));
    }
}

}  // namespace
}  // namespace zq::test
