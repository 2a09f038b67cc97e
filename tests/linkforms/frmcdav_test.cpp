// frmCDAV on a demo installation: one archive chosen with its row's option button
// becomes the company's DAV table.

#include "form_fixture.h"

#include "linking/forms/frmcdav.h"

#include <QRadioButton>

namespace zq::test {
namespace {

using FrmCdavTest = FormTest;

TEST_P(FrmCdavTest, CollegaMakesTheChosenArchiveTheDavTable) {
    auto f = open<frmCDAV>();
    EXPECT_EQ(f->grdList()->formatString(), "     |     |  N.  |<Area|<Descrizione|       ");
    EXPECT_EQ(f->cmdColl()->text(), "&Collega");
    EXPECT_EQ(f->cmbFlds(1), nullptr);
    ASSERT_EQ(f->entries().size(), archiveList().size());
    EXPECT_EQ(f->chosen(), -1);

    pick(f->cmbFlds(0), companyIndex(*f, "001"));
    EXPECT_TRUE(f->lookups().ArAttiva);
    const int n = entryNumber(f->entries(), kVerbali);
    const int other = entryNumber(f->entries(), kContratti);
    ASSERT_GT(n, 0);
    ASSERT_GT(other, 0);
    f->optList(other)->click();
    EXPECT_EQ(f->chosen(), other);
    // One choice for the whole list: picking another row clears the first.
    f->optList(n)->click();
    EXPECT_EQ(f->chosen(), n);
    EXPECT_TRUE(f->optList(n)->isChecked());
    EXPECT_FALSE(f->optList(other)->isChecked());

    dialogs.then(Answer::Yes);
    f->cmdColl()->click();
    ASSERT_FALSE(dialogs.messages().empty());
    EXPECT_EQ(dialogs.messages().front().text,
              lines({"Vuoi collegare la tabella Verbali Assemblea", "area Documenti Societari", "(" + std::string(kVerbali) + ")?"}));
    EXPECT_EQ(dialogs.messages().back().text, "Collegamento tabella effettuato con successo.");
    for (const auto& m : dialogs.messages()) EXPECT_EQ(m.title, "Collegamento tabelle DAV");

    EXPECT_EQ(registry(), (Rows{{"001", "9999", "M", "Z", "a" + std::string(kVerbali)}}));
    ASSERT_TRUE(archiveDef(kVerbali));
    EXPECT_EQ(archiveDef(kVerbali)->sourceTableName, "a" + std::string(kVerbali));
    EXPECT_TRUE(archiveDef(std::string(kVerbali) + "_sav"));
    EXPECT_TRUE(tarvTableExists(kDitt001, "a" + std::string(kVerbali)));
    // Reloaded: the choice is cleared and the archive shows its picture.
    EXPECT_EQ(f->chosen(), -1);
    EXPECT_TRUE(f->entries()[n - 1].linked);
    EXPECT_TRUE(f->picColl(n)->isVisible());
    EXPECT_FALSE(f->optList(n)->isChecked());
}

TEST_P(FrmCdavTest, NothingChosenIsRefusedAndNoReloadsTheListClearingTheChoice) {
    auto f = open<frmCDAV>();
    pick(f->cmbFlds(0), companyIndex(*f, "001"));
    f->cmdColl()->click();
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"Devi selezionare un archivio!"});
    EXPECT_EQ(dialogs.messages()[0].icon, Icon::Exclamation);
    dialogs.clear();

    // A click on the grid row picks its option.
    const int n = 2;
    QTest::mouseClick(f->grdList()->viewport(), Qt::LeftButton, {},
                      f->grdList()->cellRect(n, frmCDAV::ColDescription).center() -
                          f->grdList()->viewport()->geometry().topLeft());
    ASSERT_EQ(f->chosen(), n);
    EXPECT_TRUE(f->optList(n)->isChecked());
    dialogs.then(Answer::No);
    f->cmdColl()->click();
    EXPECT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(f->chosen(), -1);
    EXPECT_FALSE(f->optList(n)->isChecked());
    EXPECT_TRUE(registry().empty());
}

INSTANTIATE_TEST_SUITE_P(Embedded, FrmCdavTest, ::testing::Values(TarvKind::Embedded));

}  // namespace
}  // namespace zq::test
