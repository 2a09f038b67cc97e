// frmConf on the offscreen platform, against a demo installation.

#include "config/conf/frmconf.h"

#include "app/config_file.h"
#include "conf_fixture.h"
#include "config/conf/optionframe.h"
#include "guitest.h"
#include "textbox/txtfrmt.h"

#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <filesystem>

namespace zq {
namespace {

using test::ConfFixture;
using test::GuiTest;

// Acts on the file dialog once it shows, looked for among the visible windows: the
// active modal widget is not always reported on the offscreen platform.
void whenFileDialog(std::function<void(QFileDialog*)> action, int triesLeft = 300) {
    QTimer::singleShot(10, [action = std::move(action), triesLeft] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* d = qobject_cast<QFileDialog*>(w);
            if (d && d->isVisible()) {
                action(d);
                return;
            }
        }
        if (triesLeft > 0) {
            whenFileDialog(action, triesLeft - 1);
        } else {
            ADD_FAILURE() << "no file dialog appeared";
        }
    });
}

class FrmConfTest : public GuiTest, protected ConfFixture {
protected:
    QString text(frmConf& f, int i) { return f.txtFlds(i)->text(); }
};

TEST_F(FrmConfTest, FirstStartShowsTheDefaults) {
    std::filesystem::remove(configFile());
    session.cfg = Config{};
    frmConf f(session);
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Parametri di Configurazione"));
    EXPECT_EQ(f.objectName(), QStringLiteral("frmConf"));
    EXPECT_EQ(f.property("x_Form").toString(), QStringLiteral("0"));
    const QString fields[] = {QStringLiteral("/usr/tarv/"), QString::fromStdString((fx.dir() / "Vizidore.mdb").string()),
                              QStringLiteral("Veltra"), QStringLiteral("Milano"), QStringLiteral("tarv"), QString(),
                              QString(), QStringLiteral("server"), QString(), QString()};
    for (int i = 0; i < 10; ++i) EXPECT_EQ(text(f, i), fields[i]) << "field " << i;
    EXPECT_TRUE(f.optFlds(1)->isChecked());  // LINUX
    EXPECT_FALSE(f.optFlds(0)->isChecked());
    EXPECT_TRUE(f.optFlds(2)->isChecked());  // Si
    EXPECT_EQ(f.fmeFlds(0)->tag(), QStringLiteral("linux_se"));
    EXPECT_EQ(f.fmeFlds(1)->tag(), QStringLiteral("S"));
    EXPECT_EQ(f.txtFlds(5)->passWordChar(), QStringLiteral("*"));
    EXPECT_EQ(f.txtFlds(6)->passWordChar(), QStringLiteral("*"));
    EXPECT_EQ(f.lblFlds(3)->text(), QStringLiteral("Città:"));
    EXPECT_EQ(f.cmdConf()->text(), QStringLiteral("Con&ferma"));
    EXPECT_EQ(f.cmdAnnu()->text(), QStringLiteral("Ann&ulla"));
    EXPECT_EQ(f.fmeFlds(1)->title(), QStringLiteral("Conversione Backslash (\\)"));
}

TEST_F(FrmConfTest, ValuesOfTheFileSelectTheirOptions) {
    fx.editConfig([](Config& c) {
        c.Server = "orvo_se";
        c.ConvBksl = "N";
        c.RootOld = "D:\\ARCHIVI\\";
    });
    frmConf f(session);
    EXPECT_TRUE(f.optFlds(0)->isChecked());
    EXPECT_TRUE(f.optFlds(3)->isChecked());
    EXPECT_EQ(f.fmeFlds(0)->tag(), QStringLiteral("orvo_se"));
    EXPECT_EQ(f.fmeFlds(1)->tag(), QStringLiteral("N"));
    EXPECT_EQ(text(f, 8), QStringLiteral("D:\\ARCHIVI\\"));
    EXPECT_EQ(text(f, 5), QStringLiteral("Quirnova24"));
    EXPECT_EQ(text(f, 6), QStringLiteral("Quirnova24"));
    // A click copies the option's Tag into its frame.
    f.optFlds(1)->click();
    f.optFlds(2)->click();
    EXPECT_EQ(f.fmeFlds(0)->tag(), QStringLiteral("linux_se"));
    EXPECT_EQ(f.fmeFlds(1)->tag(), QStringLiteral("S"));
    EXPECT_EQ(f.entered().Server, "linux_se");
    EXPECT_EQ(f.entered().ConvBksl, "S");
}

TEST_F(FrmConfTest, FirstStartConfirmedWritesTheFileAndStoresTheValues) {
    std::filesystem::remove(configFile());
    session.cfg = Config{};
    frmConf f(session);
    f.txtFlds(1)->setText(QString::fromStdString(fx.config().PathArch));
    f.txtFlds(5)->setText(QStringLiteral("Quirnova24"));
    f.txtFlds(6)->setText(QStringLiteral("Quirnova24"));
    f.show();
    f.cmdConf()->click();
    EXPECT_TRUE(f.Confermato);
    EXPECT_EQ(f.result(), QDialog::Accepted);
    EXPECT_EQ(configBytes().rfind("/usr/tarv/\r\n", 0), 0u) << "lines end in CR LF";
    const auto lines = ConfigFile::readLines(configFile());
    ASSERT_EQ(lines.size(), 13u);
    EXPECT_EQ(lines[0], "/usr/tarv/");
    EXPECT_EQ(lines[2], "Veltra");
    EXPECT_EQ(lines[3], "Milano");
    EXPECT_EQ(lines[5], "Quirnova24");
    EXPECT_EQ(lines[7], "linux_se");
    EXPECT_EQ(lines[10], "S");
    EXPECT_EQ(lines[11], "");  // the grouping parameters are not the form's
    EXPECT_EQ(lines[12], "");
    EXPECT_EQ(session.cfg.Password, "Quirnova24");
    EXPECT_EQ(session.cfg.Citta, "Milano");
    EXPECT_EQ(session.cfg.GrpParm1, "");
    EXPECT_TRUE(dialogs.messages().empty());
}

// A refused confirmation keeps the form open with the entered values, and the file.
TEST_F(FrmConfTest, RefusedPasswordsKeepTheFormAndTheFile) {
    const struct {
        const char* password;
        const char* repeated;
        const char* message;
    } cases[] = {{"sbagliata", "sbagliata", "Errore nella connessione. Ricontrollare i parametri."},
                 {"Quirnova24", "Quirnova24 ", "Le password inserite non coincidono!"}};
    const std::string before = configBytes();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.repeated);
        dialogs.clear();
        frmConf f(session);
        f.txtFlds(3)->setText(QStringLiteral("Parma"));
        f.txtFlds(5)->setText(QString::fromUtf8(c.password));
        f.txtFlds(6)->setText(QString::fromUtf8(c.repeated));
        f.show();
        f.cmdConf()->click();
        EXPECT_FALSE(f.Confermato);
        EXPECT_TRUE(f.isVisible());
        ASSERT_EQ(dialogs.messages().size(), 1u);
        EXPECT_EQ(dialogs.messages()[0].text, c.message);
        EXPECT_EQ(configBytes(), before);
        EXPECT_EQ(text(f, 3), QStringLiteral("Parma"));
        EXPECT_EQ(session.cfg.Citta, fx.config().Citta);
    }
}

TEST_F(FrmConfTest, CancelAfterChangesLeavesTheFile) {
    const std::string before = configBytes();
    frmConf f(session);
    f.txtFlds(0)->setText(QStringLiteral("/srv/tarv/"));
    f.txtFlds(3)->setText(QStringLiteral("Parma"));
    f.optFlds(0)->click();
    f.show();
    f.cmdAnnu()->click();
    EXPECT_FALSE(f.Confermato);
    EXPECT_EQ(f.result(), QDialog::Rejected);
    EXPECT_EQ(configBytes(), before);
    EXPECT_EQ(session.cfg.PathTarv, "/usr/tarv/");
    EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(FrmConfTest, PathWithoutSlashIsRefusedOnLeavingTheField) {
    frmConf f(session);
    f.show();
    QApplication::setActiveWindow(&f);
    QWidget* field0 = f.txtFlds(0)->box(0);
    field0->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    ASSERT_TRUE(field0->hasFocus());
    f.txtFlds(0)->setText(QStringLiteral("/usr/tarv"));
    f.txtFlds(1)->box(0)->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    QApplication::processEvents();
    test::expectOneMessage(dialogs, "Percorso archivi errato. \r\nDeve terminare con '/'.",
                           "Parametri di Configurazione", Icon::Information);
    EXPECT_TRUE(field0->hasFocus());

    // Fixed, it can be left; going to "Ann&ulla" never checks.
    dialogs.clear();
    f.txtFlds(0)->setText(QStringLiteral("/usr/tarv/"));
    f.txtFlds(1)->box(0)->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    EXPECT_TRUE(dialogs.messages().empty());
    EXPECT_TRUE(f.txtFlds(1)->box(0)->hasFocus());
    field0->setFocus(Qt::TabFocusReason);
    f.txtFlds(0)->setText(QStringLiteral("sbagliato"));
    f.cmdAnnu()->setFocus(Qt::MouseFocusReason);
    QApplication::processEvents();
    EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(FrmConfTest, CancelledBrowseLeavesFieldOne) {
    frmConf f(session);
    f.show();
    const QString before = text(f, 1);
    QString title, filter;
    QStringList filters;
    whenFileDialog([&](QFileDialog* d) {
        title = d->windowTitle();
        filters = d->nameFilters();
        filter = d->selectedNameFilter();
        d->reject();
    });
    f.cmdExplore_Click();
    EXPECT_EQ(text(f, 1), before);
    EXPECT_EQ(title, QStringLiteral("Percorso Database QUIRNOVA"));
    ASSERT_EQ(filters.size(), 3);
    EXPECT_TRUE(filters[0].startsWith(QStringLiteral("Microsoft Office Access")));
    EXPECT_EQ(filter, filters[1]);
}

}  // namespace
}  // namespace zq
