// frmColl on a demo installation: pickers, the per-row controls, and "&Collega" linking
// the ticked archives with the parameters chosen on their rows.

#include "form_fixture.h"

#include "app/demo_installation.h"
#include "linking/forms/frmcdav.h"
#include "linking/forms/frmcoll.h"
#include "optionctl/optsino.h"

#include <QRadioButton>

namespace zq::test {
namespace {

using FrmCollTest = FormTest;

TEST_P(FrmCollTest, OpensOnEveryAreaWithItsControlsAndAnAreaNarrowsTheList) {
    auto f = open<frmColl>();
    EXPECT_EQ(f->cmdColl()->text(), "&Collega");
    EXPECT_EQ(f->cmdExit()->text(), "&Esci");
    EXPECT_EQ(f->grdList()->formatString(),
              QString::fromUtf8("     |     |  N.  |<Area|<Descrizione|Tipo Assoc.|Tipo Doc.|       "));
    EXPECT_EQ(f->cmbFlds(2)->currentText(), "<TUTTE>");
    EXPECT_EQ(f->cmbFlds(0)->currentIndex(), -1);
    EXPECT_GE(wait.begins, 1);

    // The archive without a documents folder is left out; every other one is listed, not
    // linked yet: a box on every row, no picture, no option.
    const auto expected = archiveList();
    ASSERT_EQ(f->entries().size(), expected.size());
    EXPECT_EQ(expected.size(), DemoInstallation::archives(dir_->path()).size() - 1);
    EXPECT_EQ(f->checks().loadedBoxes(), int(expected.size()));
    for (int n = 1; n <= int(expected.size()); ++n) {
        EXPECT_EQ(f->clsList().TextMatrix(n, frmColl::ColNumber), QString::number(n));
        EXPECT_EQ(f->clsList().TextMatrix(n, frmColl::ColDescription).toStdString(), expected[n - 1].description);
        EXPECT_TRUE(f->checks().box(n)->isVisible());
        EXPECT_FALSE(f->picColl(n)->isVisible());
        EXPECT_FALSE(f->optTAss(n)->isVisible());
    }

    // An area narrows the list.
    pick(f->cmbFlds(2), f->cmbFlds(2)->findText("Documenti Societari"));
    std::vector<std::string> names;
    for (const auto& e : f->entries()) names.push_back(e.description);
    // "Statuti" has no documents folder.
    EXPECT_EQ(names, (std::vector<std::string>{"Contratti", "Verbali Assemblea"}));
    EXPECT_FALSE(f->checks().box(3)->isVisible());
}

TEST_P(FrmCollTest, CollegaLinksTheTickedArchivesWithTheirRowsParameters) {
    auto f = open<frmColl>();
    pick(f->cmbFlds(0), companyIndex(*f, "001"));
    EXPECT_EQ(f->cmbFlds(1)->currentText(), "2024");
    EXPECT_TRUE(f->lookups().ArAttiva);
    const int forn = entryNumber(f->entries(), kFornitori2023);
    const int clie = entryNumber(f->entries(), kClienti2023);
    ASSERT_GT(forn, 0);
    ASSERT_GT(clie, 0);

    f->checks().box(forn)->click();
    EXPECT_TRUE(f->entries()[forn - 1].selected);
    ASSERT_TRUE(f->optTAss(forn)->isVisible());
    EXPECT_EQ(f->optTAss(forn)->value(), "A");
    EXPECT_EQ(f->optTAss(forn)->button(0)->text(), "&Mov.");
    EXPECT_EQ(f->optTAss(forn)->button(1)->text(), "&Altro");
    EXPECT_FALSE(f->cmbTDoc(forn)->isVisible());

    f->optTAss(forn)->button(0)->click();
    EXPECT_EQ(f->entries()[forn - 1].associationType, "M");
    ASSERT_TRUE(f->cmbTDoc(forn)->isVisible());
    EXPECT_EQ(f->cmbTDoc(forn)->count(), int(lookups->aDocs.size()));
    pick(f->cmbTDoc(forn), docIndex("03"));
    ASSERT_EQ(f->entries()[forn - 1].docTypeIndex, docIndex("03"));
    // "Altro" clears the document type; back on "M", none shows until one is picked.
    f->optTAss(forn)->button(1)->click();
    EXPECT_EQ(f->entries()[forn - 1].associationType, "A");
    EXPECT_EQ(f->entries()[forn - 1].docTypeIndex, -1);
    EXPECT_EQ(f->cmbTDoc(forn)->currentIndex(), -1);
    EXPECT_FALSE(f->cmbTDoc(forn)->isVisible());
    f->optTAss(forn)->button(0)->click();
    EXPECT_TRUE(f->cmbTDoc(forn)->isVisible());
    EXPECT_EQ(f->cmbTDoc(forn)->currentIndex(), -1);
    pick(f->cmbTDoc(forn), docIndex("01"));
    EXPECT_EQ(f->entries()[forn - 1].docTypeIndex, docIndex("01"));

    // A click on the row ticks its box too.
    QTest::mouseClick(f->grdList()->viewport(), Qt::LeftButton, {},
                      f->grdList()->cellRect(clie, frmColl::ColDescription).center() -
                          f->grdList()->viewport()->geometry().topLeft());
    EXPECT_TRUE(f->entries()[clie - 1].selected);
    EXPECT_TRUE(f->optTAss(clie)->isVisible());

    dialogs.then(Answer::Yes).then(Answer::Yes);
    f->cmdColl()->click();
    ASSERT_GE(dialogs.messages().size(), 3u);
    EXPECT_EQ(dialogs.messages().front().text,
              lines({"Vuoi collegare la tabella Fatture Fornitori 2023", "area Fatture Acquisto", "(" + std::string(kFornitori2023) + ")?"}));
    EXPECT_EQ(dialogs.messages().back().text, "Collegamento tabelle effettuato con successo.");
    for (const auto& m : dialogs.messages()) EXPECT_EQ(m.title, "Collegamento tabelle al database TARV");

    EXPECT_EQ(registry(), (Rows{{"001", "2024", "M", "01", "a" + std::string(kFornitori2023)},
                                {"001", "9999", "A", "", "a" + std::string(kClienti2023)}}));
    for (const std::string s : {kFornitori2023, kClienti2023}) {
        SCOPED_TRACE(s);
        ASSERT_TRUE(archiveDef(s));
        EXPECT_EQ(archiveDef(s)->sourceTableName, "a" + s);
        ASSERT_TRUE(archiveDef(s + "_sav"));
        EXPECT_FALSE(archiveDef(s + "_sav")->isLink());
        EXPECT_TRUE(tarvTableExists(kDitt001, "a" + s));
    }
    EXPECT_EQ(archiveCount(std::string(kFornitori2023) + "_sav"), 4);

    // The list was read again: both archives now carry the picture, nothing is ticked.
    ASSERT_EQ(f->entries().size(), archiveList().size());
    for (int n : {forn, clie}) {
        EXPECT_TRUE(f->entries()[n - 1].linked);
        EXPECT_FALSE(f->entries()[n - 1].selected);
        EXPECT_TRUE(f->picColl(n)->isVisible());
        EXPECT_FALSE(f->checks().box(n)->isChecked());
        EXPECT_FALSE(f->optTAss(n)->isVisible());
    }
}

TEST_P(FrmCollTest, CollegaRefusesWithoutCompanyOrArchiveAndTwoAltroRowsAtOnce) {
    auto f = open<frmColl>();
    f->cmdColl()->click();
    pick(f->cmbFlds(0), companyIndex(*f, "001"));
    f->cmdColl()->click();
    EXPECT_EQ(dialogs.texts(), (std::vector<std::string>{"Devi selezionare una Ditta!", "Devi selezionare un archivio!"}));
    dialogs.clear();

    const int a = entryNumber(f->entries(), kFornitori2023);
    const int b = entryNumber(f->entries(), kClienti2023);
    f->checks().box(a)->click();
    f->checks().box(b)->click();
    f->optTAss(b)->button(0)->click();
    EXPECT_TRUE(dialogs.messages().empty());
    // Back to "A": the picker's pick runs the parameter check, whose message comes at once.
    f->optTAss(b)->button(1)->click();
    const std::string refusal = lines({"ATTENZIONE!", "Non si possono collegare più tabelle", "con gli stessi parametri."});
    ASSERT_EQ(dialogs.texts(), std::vector<std::string>{refusal});
    EXPECT_EQ(dialogs.messages()[0].icon, Icon::Exclamation);
    dialogs.clear();
    f->cmdColl()->click();
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{refusal});
    EXPECT_TRUE(registry().empty());
    EXPECT_FALSE(archiveDef(kFornitori2023)->isLink());
}

TEST_P(FrmCollTest, ScrollingMovesTheRowControlsWithTheirEntries) {
    auto f = open<frmColl>(1100, 200);
    ASSERT_LT(f->clsList().NumVisibleRows(), int(f->entries().size()));
    f->checks().box(1)->click();
    f->clsList().setTopRow(2);
    QApplication::processEvents();
    ASSERT_EQ(f->clsList().TopRow(), 2);
    // Box 1 now stands for entry 2, which is not ticked; entry 1 keeps its tick.
    EXPECT_FALSE(f->checks().box(1)->isChecked());
    EXPECT_FALSE(f->optTAss(1)->isVisible());
    EXPECT_TRUE(f->entries()[0].selected);
    f->checks().box(1)->click();
    EXPECT_TRUE(f->entries()[1].selected);
    EXPECT_TRUE(f->optTAss(1)->isVisible());
}

TEST_P(FrmCollTest, ACompanyThatMayNotLinkIsRefused) {
    auto f = open<frmColl>();
    // Company 002's latest year, 2024, has ar_attiva "N".
    pick(f->cmbFlds(0), companyIndex(*f, "002"));
    EXPECT_EQ(f->cmbFlds(1)->currentText(), "2024");
    EXPECT_FALSE(f->lookups().ArAttiva);
    ASSERT_TRUE(dialogs.saw("non prevede il collegamento ad QUIRNOVA!"));
    dialogs.clear();
    f->checks().box(1)->click();
    f->cmdColl()->click();
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{lines({"La Ditta selezionata non prevede", "il collegamento ad QUIRNOVA!"})});
    EXPECT_TRUE(registry().empty());
}

TEST_P(FrmCollTest, CollegaWorksOnItsOwnCompanyAfterAnotherWindowPickedAnother) {
    auto f = open<frmColl>();
    pick(f->cmbFlds(0), companyIndex(*f, "001"));
    ASSERT_TRUE(f->lookups().ArAttiva);
    auto dav = open<frmCDAV>();
    pick(dav->cmbFlds(0), companyIndex(*dav, "002"));
    ASSERT_EQ(session->CodDitt, "002");

    const int forn = entryNumber(f->entries(), kFornitori2023);
    ASSERT_GT(forn, 0);
    f->checks().box(forn)->click();
    dialogs.clear();
    dialogs.then(Answer::Yes);
    f->cmdColl()->click();
    EXPECT_EQ(dialogs.messages().back().text, "Collegamento tabelle effettuato con successo.");
    EXPECT_EQ(registry(), (Rows{{"001", "9999", "A", "", "a" + std::string(kFornitori2023)}}));
    EXPECT_TRUE(tarvTableExists(kDitt001, "a" + std::string(kFornitori2023)));
    EXPECT_FALSE(tarvTableExists("/usr/tarv/ditt002", "a" + std::string(kFornitori2023)));
    EXPECT_NE(archiveDef(kFornitori2023)->connect.find(";DATABASE=/usr/tarv/ditt001;"), std::string::npos);
    EXPECT_EQ(session->CodDitt, "002");
}

INSTANTIATE_TEST_SUITE_P(Embedded, FrmCollTest, ::testing::Values(TarvKind::Embedded));

}  // namespace
}  // namespace zq::test
