// frmAggP on the offscreen platform, against a demo installation.

#include "config/conf/frmaggp.h"

#include "conf_fixture.h"
#include "config/conf/optionframe.h"
#include "guitest.h"
#include "textbox/txtfrmt.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

#include <filesystem>

namespace zq {
namespace {

using test::ConfFixture;
using test::GuiTest;

class FrmAggPTest : public GuiTest, protected ConfFixture {};

TEST_F(FrmAggPTest, ShowsCurrentValuesAndProposesThemAsNew) {
    fx.editConfig([](Config& c) { c.Server = "orvo_se"; });
    frmAggP f(session);
    f.show();
    QApplication::processEvents();
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Aggiornamento Percorso"));
    EXPECT_EQ(f.lblFlds(0)->text(), QStringLiteral("/usr/tarv/"));
    EXPECT_EQ(f.lblFlds(1)->text(), QStringLiteral("tarv"));
    EXPECT_EQ(f.lblFlds(2), nullptr);  // the password is not shown
    EXPECT_EQ(f.lblFlds(3)->text(), QStringLiteral("server"));
    EXPECT_EQ(f.lblFlds(4)->text(), QStringLiteral("SCO"));  // as chosen, not the stored "orvo_se"
    EXPECT_EQ(f.txtFlds(0)->text(), QStringLiteral("/usr/tarv/"));
    EXPECT_EQ(f.txtFlds(2)->text(), QStringLiteral("Quirnova24"));
    EXPECT_EQ(f.txtFlds(3)->text(), QStringLiteral("Quirnova24"));
    EXPECT_EQ(f.txtFlds(2)->passWordChar(), QStringLiteral("*"));
    EXPECT_TRUE(f.optFlds(0)->isChecked());
    EXPECT_EQ(f.cmdConf()->text(), QStringLiteral("&Aggiorna"));
    EXPECT_FALSE(f.prbAggP()->isVisible());
    EXPECT_FALSE(f.lblAggP()->isVisible());
    EXPECT_TRUE(f.isVisible());
}

TEST_F(FrmAggPTest, WithoutConfigurationFileItHides) {
    std::filesystem::remove(configFile());
    frmAggP f(session);
    f.show();
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(f.result(), QDialog::Rejected);
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].text, "ATTENZIONE! Manca il file di configurazione.");
}

TEST_F(FrmAggPTest, UpdateRunsAndTheFormCloses) {
    makeCompanyLink("lnk1", {1, 2});
    frmAggP f(session);
    f.show();
    QApplication::processEvents();
    dialogs.then(Answer::Yes);
    f.cmdConf()->click();
    EXPECT_TRUE(f.Confermato);
    EXPECT_EQ(f.result(), QDialog::Accepted);
    EXPECT_FALSE(f.prbAggP()->isVisible());
    EXPECT_EQ(f.prbAggP()->maximum(), 1);  // the second pass's records
    EXPECT_EQ(f.prbAggP()->value(), 1);
    EXPECT_EQ(dialogs.messages().back().text, "Aggiornamento percorso tabelle effettuato con successo.");
    EXPECT_EQ(fx.porta("tarv"), "WIN");
}

TEST_F(FrmAggPTest, MismatchedPasswordsKeepTheFormOpen) {
    frmAggP f(session);
    f.show();
    QApplication::processEvents();
    f.txtFlds(3)->setText(QStringLiteral("altra"));
    f.cmdConf()->click();
    EXPECT_FALSE(f.Confermato);
    EXPECT_TRUE(f.isVisible());
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].text, "Le password inserite non coincidono!");
    EXPECT_EQ(dialogs.messages()[0].title, "Aggiornamento Percorso");
}

}  // namespace
}  // namespace zq
