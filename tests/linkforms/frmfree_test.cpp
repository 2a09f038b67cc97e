// frmFree on a demo installation: the list of linked archives with their registry
// values, "Seleziona Tutti" on the rows on screen, and "&Scollega".

#include "form_fixture.h"

#include "linking/forms/frmfree.h"

#include <algorithm>

namespace zq::test {
namespace {

class FrmFreeTest : public FormTest {
protected:
    void SetUp() override {
        FormTest::SetUp();
        // Four linked archives of company 001, in list order by area and description.
        linkArchive(kFornitori2023, "M", "01", "2023");
        linkArchive(kClienti2023, "M", "02", "2023");
        linkArchive(kFornitori2024, "M", "01");
        linkArchive(kVerbali, "A", "");
    }
    /// The form listing every company's links.
    std::unique_ptr<frmFree> openAll(int height = 520) {
        auto f = open<frmFree>(1100, height);
        pick(f->cmbFlds(0), 0);
        EXPECT_EQ(f->entries().size(), 4u);
        return f;
    }
};

TEST_P(FrmFreeTest, TheListStaysEmptyUntilAPickerIsChosen) {
    auto f = open<frmFree>();
    EXPECT_EQ(f->grdList()->formatString(),
              "    |  N.  |<Area|<Descrizione|Ditta|Anno|Tipo Assoc.|Tipo Documento|       ");
    EXPECT_EQ(f->cmdFree()->text(), "&Scollega");
    EXPECT_EQ(f->chk_All()->text(), "Seleziona Tutti");
    EXPECT_EQ(f->cmbFlds(0)->currentIndex(), -1);
    EXPECT_EQ(f->cmbFlds(0)->itemText(0), "<TUTTE>");
    EXPECT_TRUE(f->entries().empty());

    pick(f->cmbFlds(0), 0);
    ASSERT_EQ(f->entries().size(), 4u);
    const int n = entryNumber(f->entries(), kFornitori2024);
    const int v = entryNumber(f->entries(), kVerbali);
    ASSERT_GT(n, 0);
    ASSERT_GT(v, 0);
    grdComm& list = f->clsList();
    EXPECT_EQ(list.TextMatrix(n, frmFree::ColCompany), "001");
    EXPECT_EQ(list.TextMatrix(n, frmFree::ColYear), "2024");
    EXPECT_EQ(list.TextMatrix(n, frmFree::ColAssoc), "Movimento");
    EXPECT_EQ(list.TextMatrix(n, frmFree::ColDocType), "Fatture di acquisto");
    EXPECT_EQ(list.TextMatrix(v, frmFree::ColYear), "");
    EXPECT_EQ(list.TextMatrix(v, frmFree::ColAssoc), "Altro");

    // Company 001, year 2023: the "A" archive shows under every year.
    pick(f->cmbFlds(0), companyIndex(*f, "001"));
    pick(f->cmbFlds(1), f->cmbFlds(1)->findText("2023"));
    std::vector<std::string> serials;
    for (const auto& e : f->entries()) serials.push_back(e.serial);
    std::sort(serials.begin(), serials.end());
    EXPECT_EQ(serials, (std::vector<std::string>{kVerbali, kFornitori2023, kClienti2023}));
}

TEST_P(FrmFreeTest, SelezionaTuttiTicksOnlyTheRowsOnScreen) {
    auto f = openAll(140);
    const int visible = f->clsList().NumVisibleRows();
    ASSERT_GE(visible, 1);
    ASSERT_LT(visible, 4) << "the window must show fewer rows than the list has";
    f->clsList().setTopRow(2);
    QApplication::processEvents();
    ASSERT_EQ(f->clsList().TopRow(), 2);

    f->chk_All()->click();
    EXPECT_EQ(f->chk_All()->text(), "Deseleziona Tutti");
    for (int n = 1; n <= 4; ++n)
        EXPECT_EQ(f->entries()[n - 1].selected, n >= 2 && n < 2 + visible) << "entry " << n;
    f->chk_All()->click();
    EXPECT_EQ(f->chk_All()->text(), "Seleziona Tutti");
    for (const auto& e : f->entries()) EXPECT_FALSE(e.selected);
}

TEST_P(FrmFreeTest, ScollegaRestoresTheLocalTableAndDropsTheTarvTable) {
    auto f = openAll();
    f->cmdFree()->click();
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"Devi selezionare un archivio!"});
    EXPECT_EQ(f->entries().size(), 4u);
    dialogs.clear();

    const int n = entryNumber(f->entries(), kFornitori2023);
    ASSERT_GT(n, 0);
    f->checks().box(n)->click();
    dialogs.then(Answer::Yes).then(Answer::Yes);
    f->cmdFree()->click();
    EXPECT_EQ(dialogs.texts(), (std::vector<std::string>{
                                   "Vuoi cancellare le tabelle collegate dal TARV?",
                                   lines({"vuoi scollegare la tabella ", "Fatture Fornitori 2023", "area Fatture Acquisto",
                                          "(" + std::string(kFornitori2023) + ")?"}),
                                   "Scollegamento tabelle effettuato con successo."}));
    for (const auto& m : dialogs.messages()) EXPECT_EQ(m.title, "Scollegamento tabelle al database TARV");

    ASSERT_TRUE(archiveDef(kFornitori2023));
    EXPECT_FALSE(archiveDef(kFornitori2023)->isLink());
    EXPECT_FALSE(archiveDef(std::string(kFornitori2023) + "_sav"));
    EXPECT_EQ(archiveCount(kFornitori2023), 4);
    EXPECT_FALSE(tarvTableExists(kDitt001, "a" + std::string(kFornitori2023)));
    const auto left = registry();
    EXPECT_EQ(left.size(), 3u);
    for (const auto& row : left) EXPECT_NE(row.at(4), "a" + std::string(kFornitori2023));
    // The list was read again without it.
    EXPECT_EQ(f->entries().size(), 3u);
    EXPECT_EQ(entryNumber(f->entries(), kFornitori2023), 0);
}

TEST_P(FrmFreeTest, ADropAnsweredIgnoreIsNoSuccessAndTheNextRunFinishesIt) {
    auto f = openAll();
    const std::string tarvTable = "a" + std::string(kClienti2023);
    tarv(kDitt001)->execute("DROP TABLE " + tarvTable);  // the unlink's own DROP TABLE now fails
    f->checks().box(entryNumber(f->entries(), kClienti2023))->click();
    dialogs.then(Answer::Yes).then(Answer::Yes).then(Answer::Ignore);
    f->cmdFree()->click();
    EXPECT_FALSE(archiveDef(kClienti2023)->isLink());
    EXPECT_EQ(registry().size(), 4u);
    EXPECT_EQ(dialogs.messages().back().icon, Icon::Exclamation);
    EXPECT_EQ(dialogs.texts().back(),
              lines({"ATTENZIONE! Scollegamento tabelle non completato.", "Tabelle scollegate: 1 di 1.",
                     "di cui con la tabella del TARV o la riga del registro ancora presenti "
                     "(il prossimo scollegamento le cancella): 1."}));
    // The list was read again without it, and its last box went with its row.
    ASSERT_EQ(f->entries().size(), 3u);
    EXPECT_TRUE(f->checks().box(3)->isVisible());
    EXPECT_FALSE(f->checks().box(4)->isVisible());
    dialogs.clear();
    f->cmdFree()->click();
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{lines({"Lo scollegamento interrotto della tabella", kClienti2023,
                                                               "è stato completato."})});
    EXPECT_EQ(registry().size(), 3u);
}

INSTANTIATE_TEST_SUITE_P(Embedded, FrmFreeTest, ::testing::Values(TarvKind::Embedded));

}  // namespace
}  // namespace zq::test
