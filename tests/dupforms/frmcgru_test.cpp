// frmCGru on a demo installation: the stored grouping area preselected, the folder
// picker, and "Con&ferma" writing lines 12 and 13 of the configuration file while the
// other eleven stay as they were.

#include "dupform_fixture.h"

#include "duplication/forms/frmcgru.h"

namespace zq::test {
namespace {

using FrmCGruTest = DupFormTest;

TEST_F(FrmCGruTest, NoAreaPreselectedForZero) {
    Config c = session->cfg;
    c.GrpParm1 = "0";
    ConfigFile::write(session->configFilePath(), c);
    frmCGru f(*session);
    EXPECT_EQ(f.cmbFlds(0)->currentIndex(), -1);
    EXPECT_GT(f.cmbFlds(0)->count(), 0);
}

TEST_F(FrmCGruTest, OpensOnTheStoredAreaAndConfermaStoresTheNewAreaAndFolder) {
    const auto before = configLines();
    ASSERT_EQ(before.size(), 13u);
    frmCGru f(*session);
    show(f, 600, 200);
    EXPECT_EQ(f.objectName(), "frmCGru");
    EXPECT_EQ(f.windowTitle(), QString::fromUtf8("Parametri Raggruppamento Aree"));
    EXPECT_EQ(f.cmdConf()->text(), "Con&ferma");
    EXPECT_EQ(f.cmdAnnu()->text(), "Ann&ulla");
    // Every area, without parent names; the grouping area of the demo is selected.
    EXPECT_EQ(f.cmbFlds(0)->count(), rowCount("AREE"));
    EXPECT_EQ(f.cmbFlds(0)->currentText(), "Raggruppamenti DAV");
    EXPECT_EQ(f.cmbFlds(0)->currentData().toLongLong(), 8);
    EXPECT_EQ(f.txtFlds(0)->text().toStdString(), (home() / "documenti" / "Raggruppamenti").string() + "/");

    // A cancelled folder dialog keeps what the field holds; a picked folder replaces it.
    const QString shown = f.txtFlds(0)->text();
    dialogs.thenPick(std::nullopt);
    f.cmdExplore()->click();
    EXPECT_EQ(f.txtFlds(0)->text(), shown);
    const std::string picked = (home() / "documenti" / "Gruppi").string();
    fs::create_directories(picked);
    dialogs.thenPick(picked + "   ");
    f.cmdExplore()->click();
    EXPECT_EQ(f.txtFlds(0)->text().toStdString(), picked + "   ");

    pick(f.cmbFlds(0), itemOf(f.cmbFlds(0), 7));
    f.cmdConf()->click();
    EXPECT_TRUE(f.Confermato);
    EXPECT_EQ(f.result(), QDialog::Accepted);
    EXPECT_TRUE(dialogs.messages().empty()) << ::testing::PrintToString(dialogs.texts());

    // Lines 12 and 13 changed (blanks trimmed before the separator); the rest as read.
    auto expected = before;
    expected[11] = "7";
    expected[12] = picked + "/";
    EXPECT_EQ(configLines(), expected);
    // The running program groups with the new values.
    EXPECT_EQ(session->cfg.GrpParm1, "7");
    EXPECT_EQ(session->cfg.GrpParm2, picked + "/");
}

TEST_F(FrmCGruTest, ConfermaWithoutAreaOrFolderStoresNothing) {
    const auto before = configLines();
    frmCGru f(*session);
    show(f, 600, 200);
    f.txtFlds(0)->setText(QString());
    f.cmdConf()->click();
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].text, "Indicare l'area e il relativo percorso.");
    EXPECT_EQ(dialogs.messages()[0].title, "Parametri Raggruppamento Aree");
    EXPECT_EQ(dialogs.messages()[0].icon, Icon::Exclamation);
    EXPECT_FALSE(f.Confermato);
    EXPECT_TRUE(f.isVisible());

    f.txtFlds(0)->setText(QStringLiteral("/dati/ragg/"));
    f.cmbFlds(0)->setCurrentIndex(-1);
    f.cmdConf()->click();
    EXPECT_EQ(dialogs.messages().size(), 2u);
    f.cmdAnnu()->click();
    EXPECT_FALSE(f.Confermato);
    EXPECT_EQ(f.result(), QDialog::Rejected);
    EXPECT_EQ(configLines(), before);
}

}  // namespace
}  // namespace zq::test
