// frmColl on a demo installation: pickers, the per-row controls, and "&Collega" linking
// the ticked archives with the parameters chosen on their rows.

#include "form_fixture.h"

#include "app/demo_installation.h"

#include "linking/forms/frmcoll.h"
#include "listctl/check_column.h"
#include "listctl/flex_grid.h"
#include "listctl/grdcomm.h"
#include "optionctl/optsino.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace zq::test {
namespace {

using FrmCollTest = FormTest;

TEST_P(FrmCollTest, OpensOnEveryAreaWithItsControls) {
    auto f = open<frmColl>();
    EXPECT_EQ(f->windowTitle(), QString::fromUtf8("Collegamento tabelle al database TARV"));
    EXPECT_EQ(f->objectName(), "frmColl");
    EXPECT_EQ(f->cmdColl()->text(), "&Collega");
    EXPECT_EQ(f->cmdExit()->text(), "&Esci");
    EXPECT_EQ(f->grdList()->formatString(),
              QString::fromUtf8("     |     |  N.  |<Area|<Descrizione|Tipo Assoc.|Tipo Doc.|       "));
    EXPECT_EQ(f->cmbFlds(2)->currentText(), "<TUTTE>");
    EXPECT_EQ(f->cmbFlds(0)->currentIndex(), -1);
    EXPECT_GE(wait.begins, 1);

    // The archive without a documents folder is left out; every other one is listed.
    const auto expected = archiveList();
    ASSERT_EQ(f->entries().size(), expected.size());
    EXPECT_EQ(expected.size(), DemoInstallation::archives(dir_->path()).size() - 1);
    for (std::size_t n = 1; n <= expected.size(); ++n) {
        EXPECT_EQ(f->clsList().TextMatrix(int(n), frmColl::ColNumber), QString::number(n));
        EXPECT_EQ(f->clsList().TextMatrix(int(n), frmColl::ColDescription).toStdString(), expected[n - 1].description);
    }
    // No archive is linked yet: boxes on every row, no picture, no option.
    EXPECT_EQ(f->checks().loadedBoxes(), int(expected.size()));
    for (int i = 1; i <= int(expected.size()); ++i) {
        EXPECT_TRUE(f->checks().box(i)->isVisible());
        EXPECT_FALSE(f->picColl(i)->isVisible());
        EXPECT_FALSE(f->optTAss(i)->isVisible());
    }
}

TEST_P(FrmCollTest, AnAreaNarrowsTheList) {
    auto f = open<frmColl>();
    int societari = -1;
    for (int i = 0; i < f->cmbFlds(2)->count(); ++i)
        if (f->cmbFlds(2)->itemText(i) == "Documenti Societari") societari = i;
    ASSERT_GE(societari, 1);
    pick(f->cmbFlds(2), societari);
    std::vector<std::string> names;
    for (const auto& e : f->entries()) names.push_back(e.description);
    // "Statuti" has no documents folder.
    EXPECT_EQ(names, (std::vector<std::string>{"Contratti", "Verbali Assemblea"}));
    EXPECT_EQ(f->checks().box(3)->isVisible(), false);
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

    const std::string title = "Collegamento tabelle al database TARV";
    ASSERT_GE(dialogs.messages().size(), 3u);
    EXPECT_EQ(dialogs.messages().front().text,
              lines({"Vuoi collegare la tabella Fatture Fornitori 2023", "area Fatture Acquisto", "(" + std::string(kFornitori2023) + ")?"}));
    EXPECT_EQ(dialogs.messages().back().text, "Collegamento tabelle effettuato con successo.");
    for (const auto& m : dialogs.messages()) EXPECT_EQ(m.title, title);

    EXPECT_EQ(registry(), (std::vector<std::vector<std::string>>{
                              {"001", "2024", "M", "01", "a" + std::string(kFornitori2023)},
                              {"001", "9999", "A", "", "a" + std::string(kClienti2023)}}));
    for (const char* s : {kFornitori2023, kClienti2023}) {
        SCOPED_TRACE(s);
        const auto link = archiveDef(s);
        ASSERT_TRUE(link);
        EXPECT_EQ(link->sourceTableName, "a" + std::string(s));
        const auto saved = archiveDef(std::string(s) + "_sav");
        ASSERT_TRUE(saved);
        EXPECT_FALSE(saved->isLink());
        EXPECT_TRUE(tarvTableExists(kDitt001, "a" + std::string(s)));
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

TEST_P(FrmCollTest, ChoosingAltroClearsTheDocumentType) {
    auto f = open<frmColl>();
    const int n = entryNumber(f->entries(), kFornitori2024);
    ASSERT_GT(n, 0);
    f->checks().box(n)->click();
    f->optTAss(n)->button(0)->click();
    pick(f->cmbTDoc(n), docIndex("03"));
    ASSERT_EQ(f->entries()[n - 1].docTypeIndex, docIndex("03"));

    f->optTAss(n)->button(1)->click();
    EXPECT_EQ(f->entries()[n - 1].associationType, "A");
    EXPECT_EQ(f->entries()[n - 1].docTypeIndex, -1);
    EXPECT_EQ(f->cmbTDoc(n)->currentIndex(), -1);
    EXPECT_FALSE(f->cmbTDoc(n)->isVisible());

    // Back on "M", the picker shows no type until one is picked.
    f->optTAss(n)->button(0)->click();
    EXPECT_TRUE(f->cmbTDoc(n)->isVisible());
    EXPECT_EQ(f->cmbTDoc(n)->currentIndex(), -1);
}

TEST_P(FrmCollTest, TwoAltroRowsAreRefusedAtOnceAndAtCollega) {
    auto f = open<frmColl>();
    pick(f->cmbFlds(0), companyIndex(*f, "001"));
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
    // Three rows on screen out of eight.
    auto f = open<frmColl>(1100, 200);
    const int visible = f->clsList().NumVisibleRows();
    ASSERT_LT(visible, int(f->entries().size()));
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

TEST_P(FrmCollTest, CollegaWithoutACompanyOrArchiveIsRefused) {
    auto f = open<frmColl>();
    f->cmdColl()->click();
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"Devi selezionare una Ditta!"});
    dialogs.clear();
    pick(f->cmbFlds(0), companyIndex(*f, "001"));
    f->cmdColl()->click();
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"Devi selezionare un archivio!"});
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

// The forms are the same on every TARV engine; the embedded one needs no server.
INSTANTIATE_TEST_SUITE_P(Embedded, FrmCollTest, ::testing::Values(TarvKind::Embedded));

}  // namespace
}  // namespace zq::test
