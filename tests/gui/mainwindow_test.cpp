#include "app/gui/frmmain.h"

#include "app/gui/formgeometry.h"
#include "app/gui/lockkeys.h"
#include "common/error.h"
#include "config/frmwait.h"
#include "guitest.h"
#include "recordinglogin.h"

#include <QAction>
#include <QDate>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QSettings>
#include <QTime>

namespace zq {
namespace {

using test::GuiTest;
using test::RecordingLogin;

QSettings store() { return QSettings(QString::fromUtf8(kSettingsOrganisation), QStringLiteral("zel_QUIRNOVA")); }

// The main window's stored left, top, width and height, as written.
QStringList storedMain() {
    QSettings s = store();
    QStringList out;
    for (const char* key : {"MainLeft", "MainTop", "MainWidth", "MainHeight"})
        out << s.value(QStringLiteral("Settings/") + QLatin1String(key)).toString();
    return out;
}

class MainWindowTest : public GuiTest {
protected:
    RecordingLogin login;
};

// name, caption; a caption of "-" is a separator.
struct Item {
    const char* name;
    const char* caption;
};

void expectMenu(QMenu* menu, const char* name, const char* caption, std::vector<Item> items) {
    SCOPED_TRACE(name);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->objectName(), QString::fromLatin1(name));
    EXPECT_EQ(menu->title(), QString::fromUtf8(caption));
    const QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), qsizetype(items.size()));
    for (std::size_t i = 0; i < items.size(); ++i) {
        SCOPED_TRACE(items[i].name);
        QAction* a = actions[qsizetype(i)];
        EXPECT_EQ(a->objectName(), QString::fromLatin1(items[i].name));
        if (std::string(items[i].caption) == "-")
            EXPECT_TRUE(a->isSeparator());
        else
            EXPECT_EQ(a->text(), QString::fromUtf8(items[i].caption));
    }
}

TEST_F(MainWindowTest, CaptionAndMenuTree) {
    frmMain w(login, {});
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Zel Quirnova - Utility TARV / QUIRNOVA"));
    const QList<QAction*> bar = w.menuBar()->actions();
    ASSERT_EQ(bar.size(), 4);
    expectMenu(bar[0]->menu(), "mnuFile", "&Imposta",
               {{"mnuFileConf", "&Configurazione"},
                {"mnuFileCGru", "&Raggruppamento Aree"},
                {"mnuFileBar3", "-"},
                {"mnuFileAggP", "&Aggiorna Collegamento"},
                {"mnuFileBar2", "-"},
                {"mnuFilePrin", "Stam&pante"},
                {"mnuFIleBar4", "-"},
                {"mnuFileExit", "&Esci"}});
    expectMenu(bar[1]->menu(), "mnuGest", "&Gestione",
               {{"mnuGestColl", "&Collegamento Tabelle a TARV"},
                {"mnuGestCDAV", "&Collegamento Tabelle DAV"},
                {"mnuGestFree", "&Scollegamento Tabelle da TARV"},
                {"mnuGestBar0", "-"},
                {"mnuGestTiff", "Conversione da &PDF a TIF"},
                {"mnuGetsBar1", "-"},
                {"mnuGestMast", "Pre-&Masterizzazione Archivi"},
                {"mnuGetsBar2", "-"},
                {"mnuGestCopy", "&Duplicazione Aree"},
                {"mnuGestAnno", "Duplicazione &Annualità"},
                {"mnuGestBar3", "-"},
                {"mnuGestGrup", "&Raggruppamento Aree"}});
    expectMenu(bar[2]->menu(), "mnuWindow", "&Finestra",
               {{"mnuWindowCascade", "&Sovrapponi"},
                {"mnuWindowTileHorizontal", "Affianca &Orizzontalmente"},
                {"mnuWindowTileVertical", "Affianca &Verticalmente"},
                {"mnuWindowArrangeIcons", "&Disponi Icone"}});
    expectMenu(bar[3]->menu(), "mnuHelp", "&?", {{"mnuHelpCheck", "&Verifica archivi..."}, {"mnuHelpLog", "&Registro operazioni..."}, {"mnuHelpAbout", "&Informazioni..."}});
    EXPECT_EQ(w.menuEntry(QStringLiteral("mnuGetsBar2")), bar[1]->menu()->actions()[7]);
    EXPECT_EQ(w.menuEntry(QStringLiteral("mnuNothing")), nullptr);
}

TEST_F(MainWindowTest, StatusBarPanels) {
    frmMain w(login, {});
    const QList<QLabel*> p = w.statusPanels();
    ASSERT_EQ(p.size(), 7);
    EXPECT_EQ(p[0]->text(), QStringLiteral("BLOC MAIUSC"));
    EXPECT_EQ(p[1]->text(), QStringLiteral("INS"));
    EXPECT_EQ(p[2]->text(), QStringLiteral("Ver.: " ZQ_TEST_VERSION));
    EXPECT_EQ(p[2]->toolTip(), QStringLiteral("Versione del programma"));
    EXPECT_EQ(p[3]->text(), QStringLiteral("Data Sistema:"));
    EXPECT_EQ(p[3]->toolTip(), QStringLiteral("Data Sistema:"));
    EXPECT_EQ(p[6]->text(), QStringLiteral("Data Lavoro:"));
    EXPECT_EQ(p[6]->toolTip(), QStringLiteral("Data Lavoro:"));
    EXPECT_EQ(p[4]->text(), QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")));
    // The clock may turn a minute between the two readings.
    const QTime before = QTime::currentTime().addSecs(-60);
    const QTime shown = QTime::fromString(p[5]->text(), QStringLiteral("hh.mm"));
    ASSERT_TRUE(shown.isValid()) << p[5]->text().toStdString();
    EXPECT_GE(shown.addSecs(60), before);

    // The lock-key panels follow the keys.
    const bool caps = p[0]->isEnabled(), ins = p[1]->isEnabled();
    QKeyEvent capsKey(QEvent::KeyPress, Qt::Key_CapsLock, Qt::NoModifier);
    QApplication::sendEvent(&w, &capsKey);
    if (capsLockLed())
        EXPECT_EQ(p[0]->isEnabled(), *capsLockLed());  // the keyboard's LED has the last word
    else
        EXPECT_NE(p[0]->isEnabled(), caps);
    QKeyEvent insKey(QEvent::KeyPress, Qt::Key_Insert, Qt::NoModifier);
    QApplication::sendEvent(&w, &insKey);
    EXPECT_NE(p[1]->isEnabled(), ins);
}

TEST_F(MainWindowTest, FirstStartGeometryAndSavedOnClose) {
    {
        frmMain w(login, {});
        EXPECT_EQ(w.pos(), QPoint(67, 67));     // 1000 twips
        EXPECT_EQ(w.size(), QSize(433, 433));   // 6500 twips
        w.show();
        // Too narrow for the status bar at today's fonts: it opens as wide as the bar.
        EXPECT_EQ(w.height(), 433);
        for (const QLabel* panel : w.statusPanels())
            EXPECT_GE(panel->width(), panel->sizeHint().width()) << panel->text().toStdString();
        w.move(100, 120);
        w.resize(500, 400);
        EXPECT_TRUE(w.close());
    }
    EXPECT_EQ(storedMain(), (QStringList{"1500", "1800", "7500", "6000"}));
    EXPECT_EQ(login.calls, std::vector<std::string>{"CloseConn"});

    frmMain again(login, {});
    EXPECT_EQ(again.pos(), QPoint(100, 120));
    EXPECT_EQ(again.size(), QSize(500, 400));
}

TEST_F(MainWindowTest, MinimisedWindowKeepsTheStoredGeometryAndMaximisedStoresItsCurrentValues) {
    FormGeometry{3000, 1500, 9000, 7500}.write(QStringLiteral("Settings"));
    {
        frmMain w(login, {});
        EXPECT_EQ(w.pos(), QPoint(200, 100));
        w.show();
        w.resize(300, 300);
        w.showMinimized();
        ASSERT_TRUE(w.isMinimized());
        EXPECT_TRUE(w.close());
    }
    EXPECT_EQ(storedMain(), (QStringList{"3000", "1500", "9000", "7500"}));
    EXPECT_EQ(login.calls, std::vector<std::string>{"CloseConn"}) << "logout still happens";

    QPoint pos;
    QSize size;
    {
        frmMain w(login, {});
        w.showMaximized();
        QApplication::processEvents();
        ASSERT_TRUE(w.isMaximized());
        pos = w.pos();
        size = w.size();
        ASSERT_NE(size, QSize(600, 500));  // it did grow
        EXPECT_TRUE(w.close());
    }
    EXPECT_EQ(FormGeometry::read(QStringLiteral("Settings"), {}), FormGeometry::fromPixels(pos, size));
}

TEST_F(MainWindowTest, LoadLogsInTheExitEntryLogsOutAndAnAbortLeavesWithoutLogout) {
    frmMain w(login, {});
    w.load();
    EXPECT_EQ(login.calls, std::vector<std::string>{"OpenConn"});
    w.show();
    w.menuEntry(QStringLiteral("mnuFileExit"))->trigger();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(login.calls, (std::vector<std::string>{"OpenConn", "CloseConn"}));

    RecordingLogin failing;
    failing.abortAtOpen = true;
    frmMain w2(failing, {});
    try {
        w2.load();
        FAIL() << "AbortProgram expected";
    } catch (const AbortProgram& a) {
        EXPECT_EQ(a.exitCode(), 7);
    }
    EXPECT_EQ(failing.calls, std::vector<std::string>{"OpenConn"});
}

TEST_F(MainWindowTest, FormEntriesWithoutFormAreDisabledWithATooltip) {
    frmMain w(login, {});
    for (const char* name : {"mnuFileConf", "mnuFileCGru", "mnuFileAggP", "mnuGestColl", "mnuGestCDAV",
                             "mnuGestFree", "mnuGestTiff", "mnuGestMast", "mnuGestCopy", "mnuGestAnno",
                             "mnuGestGrup"}) {
        SCOPED_TRACE(name);
        QAction* a = w.menuEntry(QString::fromLatin1(name));
        EXPECT_FALSE(a->isEnabled());
        EXPECT_EQ(a->toolTip(), QStringLiteral("Non ancora disponibile"));
    }
    EXPECT_FALSE(w.menuEntry(QStringLiteral("mnuFilePrin"))->isEnabled());
    EXPECT_TRUE(w.menuEntry(QStringLiteral("mnuFileExit"))->isEnabled());
    EXPECT_TRUE(w.menuEntry(QStringLiteral("mnuHelpAbout"))->isEnabled());

    w.registerChildForm(QStringLiteral("mnuGestCopy"), [] { return new QWidget; });
    QAction* copy = w.menuEntry(QStringLiteral("mnuGestCopy"));
    EXPECT_TRUE(copy->isEnabled());
    EXPECT_NE(copy->toolTip(), QStringLiteral("Non ancora disponibile"));

    // A misspelt or non-form entry is refused rather than silently ignored.
    EXPECT_THROW(w.registerChildForm(QStringLiteral("mnuGestCopia"), [] { return new QWidget; }),
                 std::invalid_argument);
    EXPECT_THROW(w.registerModalForm(QStringLiteral("mnuFileExit"), [] { return new QDialog; }),
                 std::invalid_argument);
}

QWidget* makeForm(const char* name) {
    auto* f = new QWidget;
    f->setObjectName(QString::fromLatin1(name));
    f->setWindowTitle(QString::fromLatin1(name));
    return f;
}

TEST_F(MainWindowTest, ExitAndEntriesFollowTheOpenChildren) {
    FormGeometry{150, 300, 1500, 1500}.write(QStringLiteral("frmCopy"));
    frmMain w(login, {});
    w.registerChildForm(QStringLiteral("mnuGestCopy"), [] { return makeForm("frmCopy"); });
    w.registerChildForm(QStringLiteral("mnuGestAnno"), [] { return makeForm("frmAnno"); });
    w.show();
    QAction* exit = w.menuEntry(QStringLiteral("mnuFileExit"));
    QAction* copy = w.menuEntry(QStringLiteral("mnuGestCopy"));
    QAction* anno = w.menuEntry(QStringLiteral("mnuGestAnno"));

    copy->trigger();
    ASSERT_EQ(w.mdiArea()->subWindowList().size(), 1);
    EXPECT_EQ(w.openForms(), 1);
    EXPECT_EQ(w.mdiArea()->subWindowList()[0]->geometry(), QRect(QPoint(0, 0), w.mdiArea()->viewport()->size()))
        << "a child opens filling the inner area, whatever its stored geometry";
    EXPECT_FALSE(exit->isEnabled());
    EXPECT_FALSE(copy->isEnabled());
    EXPECT_TRUE(anno->isEnabled());
    // A second copy window cannot be opened.
    EXPECT_EQ(w.openChild(QStringLiteral("mnuGestCopy")), nullptr);
    EXPECT_EQ(w.mdiArea()->subWindowList().size(), 1);

    anno->trigger();
    EXPECT_EQ(w.openForms(), 2);
    EXPECT_FALSE(exit->isEnabled());
    EXPECT_FALSE(anno->isEnabled());

    QMdiSubWindow* copyWindow = w.mdiArea()->subWindowList()[0];
    QMdiSubWindow* annoWindow = w.mdiArea()->subWindowList()[1];
    EXPECT_EQ(copyWindow->widget()->objectName(), QStringLiteral("frmCopy"));
    ASSERT_TRUE(copyWindow->close());
    EXPECT_EQ(w.openForms(), 1);
    EXPECT_FALSE(exit->isEnabled());
    EXPECT_TRUE(copy->isEnabled());
    EXPECT_FALSE(anno->isEnabled());

    ASSERT_TRUE(annoWindow->close());
    EXPECT_EQ(w.openForms(), 0);
    EXPECT_TRUE(exit->isEnabled());
    EXPECT_TRUE(anno->isEnabled());

    // A form closing itself (its own exit button) is released with its window.
    QWidget* form = w.openChild(QStringLiteral("mnuGestCopy"));
    ASSERT_NE(form, nullptr);
    QPointer<QMdiSubWindow> sub = w.mdiArea()->subWindowList().value(0);
    EXPECT_TRUE(form->close());
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(w.openForms(), 0);
    EXPECT_TRUE(copy->isEnabled() && exit->isEnabled());
    EXPECT_TRUE(sub.isNull());
    EXPECT_TRUE(w.mdiArea()->subWindowList().isEmpty());
}

TEST_F(MainWindowTest, WindowMenuListsTheOpenChildren) {
    frmMain w(login, {});
    w.registerChildForm(QStringLiteral("mnuGestColl"), [] { return makeForm("frmColl"); });
    w.registerChildForm(QStringLiteral("mnuGestTiff"), [] { return makeForm("frmTiff"); });
    w.show();
    w.openChild(QStringLiteral("mnuGestColl"));
    w.openChild(QStringLiteral("mnuGestTiff"));
    QMenu* windows = w.menus()[2];
    emit windows->aboutToShow();
    QStringList texts;
    for (QAction* a : windows->actions())
        texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(texts, (QStringList{"&Sovrapponi", "Affianca &Orizzontalmente", "Affianca &Verticalmente",
                                  "&Disponi Icone", "-", "&1 frmColl", "&2 frmTiff"}));
    // Choosing an entry activates its window.
    windows->actions()[5]->trigger();
    EXPECT_EQ(w.mdiArea()->activeSubWindow()->widget()->objectName(), QStringLiteral("frmColl"));

    // Tiling puts the two windows side by side.
    w.menuEntry(QStringLiteral("mnuWindowTileVertical"))->trigger();
    const auto subs = w.mdiArea()->subWindowList();
    EXPECT_EQ(subs[0]->geometry().top(), subs[1]->geometry().top());
    EXPECT_LT(subs[0]->geometry().right(), subs[1]->geometry().left());
    w.menuEntry(QStringLiteral("mnuWindowTileHorizontal"))->trigger();
    EXPECT_EQ(subs[0]->geometry().left(), subs[1]->geometry().left());
    EXPECT_LT(subs[0]->geometry().bottom(), subs[1]->geometry().top());
}

class RefusingForm : public QWidget {
public:
    bool refuse = true;

protected:
    void closeEvent(QCloseEvent* e) override {
        if (refuse)
            e->ignore();
        else
            e->accept();
    }
};

TEST_F(MainWindowTest, RefusedOrMinimisedChildStaysRegisteredAndStopsTheCloseBox) {
    frmMain w(login, {});
    RefusingForm* form = nullptr;
    w.registerChildForm(QStringLiteral("mnuGestMast"), [&] {
        form = new RefusingForm;
        form->setObjectName(QStringLiteral("frmMast"));
        return form;
    });
    w.show();
    w.openChild(QStringLiteral("mnuGestMast"));
    QMdiSubWindow* sub = w.mdiArea()->subWindowList().value(0);
    ASSERT_NE(sub, nullptr);
    EXPECT_FALSE(form->close());
    sub->showMinimized();
    QApplication::processEvents();
    sub->showNormal();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(w.openForms(), 1);
    EXPECT_EQ(w.mdiArea()->subWindowList().size(), 1);
    EXPECT_FALSE(w.menuEntry(QStringLiteral("mnuGestMast"))->isEnabled());

    EXPECT_FALSE(w.close()) << "the close box closes the children first";
    EXPECT_TRUE(login.calls.empty());
    EXPECT_EQ(w.openForms(), 1);
    form->refuse = false;
    EXPECT_TRUE(w.close());
    EXPECT_EQ(w.openForms(), 0);
    EXPECT_EQ(login.calls, std::vector<std::string>{"CloseConn"});
}

class ConfForm : public QDialog {
public:
    explicit ConfForm(bool confirm) : confirm_(confirm) { setObjectName(QStringLiteral("frmConf")); setProperty("x_Form", "0"); }

protected:
    void showEvent(QShowEvent* e) override {
        QDialog::showEvent(e);
        QTimer::singleShot(0, this, [this] {
            seenForms = MainForm()->openForms();
            entryEnabled = MainForm()->menuEntry(QStringLiteral("mnuFileConf"))->isEnabled();
            exitEnabled = MainForm()->menuEntry(QStringLiteral("mnuFileExit"))->isEnabled();
            if (confirm_) accept(); else reject();
        });
    }

public:
    static inline int seenForms = -1;
    static inline bool entryEnabled = true, exitEnabled = true;

private:
    bool confirm_;
};

TEST_F(MainWindowTest, ConfirmedConfigurationLogsOutAndInAgain) {
    frmMain w(login, {});
    bool confirm = true;
    w.registerModalForm(QStringLiteral("mnuFileConf"), [&] { return new ConfForm(confirm); });
    w.show();
    EXPECT_TRUE(w.openModal(QStringLiteral("mnuFileConf")));
    EXPECT_EQ(ConfForm::seenForms, 1);
    EXPECT_FALSE(ConfForm::entryEnabled);
    EXPECT_FALSE(ConfForm::exitEnabled);
    EXPECT_EQ(login.calls, (std::vector<std::string>{"CloseConn", "OpenConn"}));
    EXPECT_EQ(w.openForms(), 0);
    EXPECT_TRUE(w.menuEntry(QStringLiteral("mnuFileConf"))->isEnabled());
    // The form registered under its own section.
    EXPECT_TRUE(store().contains(QStringLiteral("frmConf0/MainLeft")));

    login.calls.clear();
    confirm = false;
    EXPECT_FALSE(w.openModal(QStringLiteral("mnuFileConf")));
    EXPECT_TRUE(login.calls.empty());
    EXPECT_TRUE(w.menuEntry(QStringLiteral("mnuFileExit"))->isEnabled());
}

TEST_F(MainWindowTest, AboutShowsTheWaitWindowModelessly) {
    frmMain w(login, {});
    w.show();
    w.menuEntry(QStringLiteral("mnuHelpAbout"))->trigger();
    auto* wait = w.findChild<frmWait*>();
    ASSERT_NE(wait, nullptr);
    EXPECT_TRUE(wait->isVisible());
    EXPECT_FALSE(wait->isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(wait->windowTitle(), QStringLiteral("Attendi per favore..."));
}

}  // namespace
}  // namespace zq
