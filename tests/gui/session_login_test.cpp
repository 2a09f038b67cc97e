// The main window against a real Session on a demo installation: login at load, logout
// at close, again around a confirmed configuration; and the program itself, started
// the way an operator starts it.

#include "app/config_file.h"
#include "app/gui/firststartfrommenu.h"
#include "app/gui/frmmain.h"
#include "app/gui/sessionlogin.h"
#include "app/session.h"
#include "common/error.h"
#include "demo_fixture.h"
#include "guitest.h"
#include "scripted_dialogs.h"

#include <QAction>
#include <QDialog>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QSettings>

#include <filesystem>
#include <functional>

namespace zq {
namespace {

using test::DemoFixture;
using test::GuiTest;
using test::ScriptedDialogs;

// The configuration form as the menu entry opens it; `answer` runs once it is shown.
QDialog* confForm(std::function<void(QDialog*)> answer) {
    auto* d = new QDialog;
    d->setObjectName(QStringLiteral("frmConf"));
    d->setProperty("x_Form", "0");
    QTimer::singleShot(0, d, [d, answer] { answer(d); });
    return d;
}

class SessionLoginTest : public GuiTest {
protected:
    QString home() const { return QString::fromStdString(fx.dir().string()); }
    DemoFixture fx;
    ScriptedDialogs dialogs;
};

TEST_F(SessionLoginTest, LogsInAtLoadOutAtCloseAndAgainAroundAConfirmedConfiguration) {
    ASSERT_EQ(fx.porta("tarv"), "");
    Session session(dialogs, fx.dir());
    SessionLogin login(session, /*firstStart=*/nullptr);
    frmMain w(login, home());
    w.load();
    EXPECT_EQ(fx.porta("tarv"), "WIN");
    ASSERT_NE(session.CnnTarv, nullptr);
    // Another program wrote a port meanwhile: the logout of the reconfiguration clears
    // it and the new login writes WIN again.
    fx.rawExec("/usr/tarv/comune", "UPDATE utenti SET porta = 'tty09' WHERE trim(nome) = 'tarv'");
    w.registerModalForm(QStringLiteral("mnuFileConf"), [] { return confForm([](QDialog* d) { d->accept(); }); });
    w.show();
    ASSERT_TRUE(w.menuEntry(QStringLiteral("mnuFileConf"))->isEnabled());
    EXPECT_TRUE(w.openModal(QStringLiteral("mnuFileConf")));
    EXPECT_EQ(fx.porta("tarv"), "WIN");
    EXPECT_NE(session.CnnTarv, nullptr);
    EXPECT_TRUE(w.close());
    EXPECT_EQ(fx.porta("tarv"), "");
    EXPECT_EQ(session.CnnTarv, nullptr);
}

TEST_F(SessionLoginTest, FailedLoginEndsAtLoadWithoutMarkingAnyone) {
    fx.editConfig([](Config& c) { c.Utente = "nessuno"; });
    Session session(dialogs, fx.dir());
    SessionLogin login(session, nullptr);
    frmMain w(login, home());
    EXPECT_THROW(w.load(), AbortProgram);
    EXPECT_EQ(dialogs.messages().size(), 1u);  // the login's own refusal
    EXPECT_EQ(fx.tarvValue("/usr/tarv/comune", "SELECT count(*) FROM utenti WHERE porta = 'WIN'"), "0");
}

// At first start the configuration form of the menu entry runs; it stores the values
// and writes the file, and the login follows without a second one around it.
TEST_F(SessionLoginTest, FirstStartShowsTheConfigurationFormOnce) {
    const Config demo = fx.config();
    std::filesystem::remove(fx.dir() / "zel_QUIRNOVA.CFG");
    for (bool confirm : {false, true}) {
        SCOPED_TRACE(confirm);
        Session session(dialogs, fx.dir());
        SessionLogin login(session);
        frmMain w(login, home());
        FirstStartFromMenu firstStart(w);
        login.setFirstStartForm(&firstStart);
        int shown = 0;
        w.registerModalForm(QStringLiteral("mnuFileConf"), [&] {
            ++shown;
            return confForm([&](QDialog* d) {
                if (!confirm)
                    return d->reject();
                session.cfg = demo;
                ConfigFile::write(ConfigFile::pathIn(fx.dir()), demo);
                d->accept();
            });
        });
        if (!confirm) {
            EXPECT_THROW(w.load(), AbortProgram);
            EXPECT_EQ(fx.porta("tarv"), "");
            EXPECT_FALSE(std::filesystem::exists(fx.dir() / "zel_QUIRNOVA.CFG"));
        } else {
            w.load();
            EXPECT_EQ(fx.porta("tarv"), "WIN");
            EXPECT_TRUE(w.close());
            EXPECT_EQ(fx.porta("tarv"), "");
        }
        EXPECT_EQ(shown, 1);
        EXPECT_EQ(w.openForms(), 0);
    }
}

#ifdef ZQ_PROGRAM
// The program as a process: offscreen, settings in a folder of the test's own.
class ProgramTest : public SessionLoginTest {
protected:
    int run(const QStringList& args, QString* errors = nullptr) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("ZEL_QUIRNOVA_HOME"), home());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString(settingsDir.path().string()));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(ZQ_PROGRAM), args);
        if (!p.waitForFinished(60000)) {
            p.kill();
            ADD_FAILURE() << "the program did not end";
            return -1;
        }
        if (errors)
            *errors = QString::fromLocal8Bit(p.readAllStandardError());
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    }
    QString shot() const { return home() + QStringLiteral("/shot.png"); }
};

TEST_F(ProgramTest, StartsLogsInDrawsItselfAndLogsOut) {
    QString errors;
    ASSERT_EQ(run({QStringLiteral("--screenshot"), shot()}, &errors), 0) << errors.toStdString();
    const QImage img(shot());
    ASSERT_FALSE(img.isNull());
    // First start: 6500 twips high; wider than 6500, as its status bar needs.
    EXPECT_EQ(img.height(), 433);
    EXPECT_GT(img.width(), 433);
    EXPECT_EQ(fx.porta("tarv"), "");          // logged out on the way out
    QSettings s(settingsDir.path().string().c_str() + QStringLiteral("/zel_QUIRNOVA/zel_QUIRNOVA.conf"),
                QSettings::IniFormat);
    EXPECT_EQ(s.value(QStringLiteral("Settings/MainWidth")).toString(), QString::number(img.width() * 15));
}

TEST_F(ProgramTest, DrawsTheWindowOfAMenuEntryAndRefusesAnUnknownEntry) {
    QString errors;
    ASSERT_EQ(run({QStringLiteral("--screenshot"), shot(), QStringLiteral("--open"), QStringLiteral("mnuGestColl")},
                  &errors),
              0)
        << errors.toStdString();
    const QImage withWindow(shot());
    ASSERT_EQ(run({QStringLiteral("--screenshot"), shot()}), 0);
    EXPECT_NE(QImage(shot()), withWindow) << "the link window is in the picture";

    QFile::remove(shot());
    EXPECT_EQ(run({QStringLiteral("--screenshot"), shot(), QStringLiteral("--open"), QStringLiteral("mnuNessuno")},
                  &errors),
              3);
    EXPECT_TRUE(errors.contains(QStringLiteral("no menu entry mnuNessuno"))) << errors.toStdString();
    EXPECT_FALSE(QFile::exists(shot()));
    EXPECT_EQ(fx.porta("tarv"), "");
}

#endif

}  // namespace
}  // namespace zq
