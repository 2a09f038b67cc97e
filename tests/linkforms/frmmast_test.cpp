// frmMast on a demo installation: the list loads at once for every company, and
// "&Masterizza" copies the TARV rows back into the local table.

#include "form_fixture.h"

#include "premastering/forms/frmmast.h"
#include "listctl/check_column.h"
#include "listctl/flex_grid.h"
#include "listctl/grdcomm.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace zq::test {
namespace {

using FrmMastTest = FormTest;

TEST_P(FrmMastTest, MasterizzaCopiesTheTarvRowsAndRenamesTheLink) {
    linkArchive(kFornitori2024, "M", "01", "001", "2024");
    linkArchive(kVerbali, "A", "", "001", "2024");
    // Rows written while linked live in TARV: two of them.
    auto ditt = tarv(kDitt001);
    const std::string table = "a" + std::string(kFornitori2024);
    const auto columns = tarvColumns(kDitt001, table);
    ASSERT_FALSE(columns.empty());
    for (int record : {7, 8}) {
        auto rs = ditt->openRecordset("SELECT * FROM " + table, CursorType::Static, LockType::Optimistic);
        rs->addNew();
        rs->setField("sys_record", Value(record));
        rs->update();
        rs->close();
    }
    ditt->close();

    auto f = open<frmMast>();
    EXPECT_EQ(f->windowTitle(), "Pre-Masterizzazione Archivi");
    EXPECT_EQ(f->property("x_Form").toString(), "0");
    EXPECT_EQ(f->grdList()->formatString(),
              "    |  N.  |<Area|<Descrizione|Ditta|Anno|Tipo Assoc.|Tipo Documento                     |       ");
    EXPECT_EQ(f->cmdMast()->text(), "&Masterizza");
    EXPECT_EQ(f->cmbFlds(0)->currentText(), "<TUTTE>");
    EXPECT_FALSE(f->prbMast()->isVisible());
    EXPECT_FALSE(f->lblMast()->isVisible());
    ASSERT_EQ(f->entries().size(), 2u);

    const int n = entryNumber(f->entries(), kFornitori2024);
    ASSERT_GT(n, 0);
    f->checks().box(n)->click();
    dialogs.then(Answer::Yes);
    f->cmdMast()->click();

    ASSERT_EQ(dialogs.messages().size(), 2u);
    EXPECT_EQ(dialogs.messages()[0].text, lines({"vuoi pre-masterizzare la tabella ", "Fatture Fornitori 2024", "area Fatture Acquisto",
                                                  "(" + std::string(kFornitori2024) + ")?"}));
    EXPECT_EQ(dialogs.messages()[1].text, "Copia dei dati per la Pre-Masterizzazione eseguita con successo.");
    for (const auto& m : dialogs.messages()) EXPECT_EQ(m.title, "Pre-Masterizzazione Archivi");

    const auto local = archiveDef(kFornitori2024);
    ASSERT_TRUE(local);
    EXPECT_FALSE(local->isLink());
    EXPECT_EQ(archiveCount(kFornitori2024), 2);
    const auto col = archiveDef(std::string(kFornitori2024) + "_COL");
    ASSERT_TRUE(col);
    EXPECT_EQ(col->sourceTableName, table);
    EXPECT_FALSE(archiveDef(std::string(kFornitori2024) + "_sav"));
    // The TARV table and the registry row stay.
    EXPECT_TRUE(tarvTableExists(kDitt001, table));
    EXPECT_EQ(registry().size(), 2u);

    // Reloaded: only the archive that is still a link is listed; the bar is hidden again.
    ASSERT_EQ(f->entries().size(), 1u);
    EXPECT_EQ(f->entries()[0].serial, kVerbali);
    EXPECT_FALSE(f->prbMast()->isVisible());
}

TEST_P(FrmMastTest, NoToEveryQuestionStillEndsWithTheMessageAndChangesNothing) {
    linkArchive(kFornitori2024, "M", "01", "001", "2024");
    auto f = open<frmMast>();
    ASSERT_EQ(f->entries().size(), 1u);
    f->checks().box(1)->click();
    dialogs.then(Answer::No);
    f->cmdMast()->click();
    ASSERT_EQ(dialogs.messages().size(), 2u);
    EXPECT_EQ(dialogs.messages()[1].text, "Copia dei dati per la Pre-Masterizzazione eseguita con successo.");
    EXPECT_TRUE(archiveDef(kFornitori2024)->isLink());
    EXPECT_EQ(f->entries().size(), 1u);
    EXPECT_FALSE(f->entries()[0].selected);
}

TEST_P(FrmMastTest, AResizeGivesTheDescriptionTheRoomAndKeepsTheBoxesOnTheirRows) {
    linkArchive(kFornitori2024, "M", "01", "001", "2024");
    auto f = open<frmMast>(700, 400);
    grdComm& list = f->clsList();
    f->resize(1600, 400);
    QApplication::processEvents();
    const double wide = list.ColWidth(frmMast::ColDescription);
    // The description takes what the other columns leave in the grid.
    double others = 0;
    for (int c = 0; c < list.Cols(); ++c)
        if (c != frmMast::ColDescription) others += list.ColWidth(c);
    EXPECT_NEAR(wide, f->grdList()->viewport()->width() * 15 - others, 15);
    EXPECT_GT(wide, 3200);
    // A narrow window keeps the column readable (whole pixels of 15 twips).
    f->resize(500, 400);
    QApplication::processEvents();
    EXPECT_NEAR(list.ColWidth(frmMast::ColDescription), 3200, 15);
    // The box follows its column.
    QCheckBox* box = f->checks().box(1);
    ASSERT_TRUE(box->isVisible());
    EXPECT_NEAR(box->x(), (list.ColPos(frmMast::ColCheck) + 60) / 15.0, 1.0);
    EXPECT_NEAR(box->y(), (list.RowPos(1) + 90) / 15.0, 1.0);
}

TEST_P(FrmMastTest, WithoutLinksTheListIsEmpty) {
    auto f = open<frmMast>();
    EXPECT_TRUE(f->entries().empty());
    EXPECT_EQ(f->checks().loadedBoxes(), 0);
    f->cmdMast()->click();
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"Devi selezionare un archivio!"});
}

// The forms are the same on every TARV engine; the embedded one needs no server.
INSTANTIATE_TEST_SUITE_P(Embedded, FrmMastTest, ::testing::Values(TarvKind::Embedded));

}  // namespace
}  // namespace zq::test
