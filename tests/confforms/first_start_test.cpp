// The program's main window at first start, without a configuration file: the
// configuration form appears; a cancel ends the program without touching any
// database, a confirmation writes the file and logs in.

#include "app/config_file.h"
#include "app/gui/firststartfrommenu.h"
#include "app/gui/formtable.h"
#include "app/gui/frmmain.h"
#include "app/gui/sessionlogin.h"
#include "common/error.h"
#include "conf_fixture.h"
#include "config/conf/frmconf.h"
#include "guitest.h"
#include "textbox/txtfrmt.h"

#include <QAction>
#include <QPushButton>

#include <filesystem>

namespace zq {
namespace {

using test::ConfFixture;
using test::GuiTest;

class FirstStartTest : public GuiTest, protected ConfFixture {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        std::filesystem::remove(configFile());
        session.cfg = Config{};
    }
    // The main window as the program starts it, with the first-start form.
    struct Program {
        explicit Program(FirstStartTest& t)
            : login(t.session), w(login, QString::fromStdString(t.fx.dir().string())), firstStart(w) {
            login.setFirstStartForm(&firstStart);
            registerForms(w, t.session);
        }
        SessionLogin login;
        frmMain w;
        FirstStartFromMenu firstStart;
    };
    std::string utentiText() const {
        return fx.tarvValue("/usr/tarv/comune", "SELECT group_concat(nome || ':' || coalesce(porta, '-')) FROM utenti")
            .value_or("");
    }
};

TEST_F(FirstStartTest, TheMenuEntriesOpenTheConfigurationForms) {
    fx.writeConfig(fx.config());
    Program p(*this);
    frmMain& w = p.w;
    EXPECT_TRUE(w.menuEntry(QStringLiteral("mnuFileConf"))->isEnabled());
    EXPECT_TRUE(w.menuEntry(QStringLiteral("mnuFileAggP"))->isEnabled());
}

TEST_F(FirstStartTest, CancelEndsWithoutTouchingAnyDatabase) {
    const std::string before = utentiText();
    Program p(*this);
    frmMain& w = p.w;
    bool shown = false;
    test::whenModal([&](QWidget* d) {
        auto* f = qobject_cast<frmConf*>(d);
        ASSERT_NE(f, nullptr);
        shown = true;
        f->cmdAnnu()->click();
    });
    EXPECT_THROW(w.load(), AbortProgram);
    EXPECT_TRUE(shown);
    EXPECT_FALSE(std::filesystem::exists(configFile()));
    EXPECT_EQ(session.CnnTarv, nullptr);
    EXPECT_EQ(utentiText(), before);
    EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(FirstStartTest, ConfirmWritesTheFileAndLogsIn) {
    Program p(*this);
    frmMain& w = p.w;
    test::whenModal([&](QWidget* d) {
        auto* f = qobject_cast<frmConf*>(d);
        ASSERT_NE(f, nullptr);
        f->txtFlds(5)->setText(QStringLiteral("Quirnova24"));
        f->txtFlds(6)->setText(QStringLiteral("Quirnova24"));
        f->cmdConf()->click();
    });
    w.load();
    EXPECT_EQ(fx.porta("tarv"), "WIN");
    ASSERT_NE(session.CnnArch, nullptr);  // the default archive path is the demo's
    const auto lines = ConfigFile::readLines(configFile());
    ASSERT_EQ(lines.size(), 13u);
    EXPECT_EQ(lines[3], "Milano");
    EXPECT_EQ(w.openForms(), 0);
    EXPECT_TRUE(w.close());
    EXPECT_EQ(fx.porta("tarv"), "");
}

}  // namespace
}  // namespace zq
