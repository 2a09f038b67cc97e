// frmMast on a demo installation: the list loads at once for every company, and
// "&Masterizza" copies the TARV rows back into the local table.

#include "form_fixture.h"

#include "premastering/forms/frmmast.h"

#include <QProgressBar>

namespace zq::test {
namespace {

using FrmMastTest = FormTest;

TEST_P(FrmMastTest, MasterizzaPremastersTheTickedArchiveAndReloads) {
    linkArchive(kFornitori2024, "M", "01");
    linkArchive(kVerbali, "A", "");
    // Rows written while linked live in TARV: two of them.
    const std::string table = "a" + std::string(kFornitori2024);
    tarv(kDitt001)->execute("INSERT INTO " + table + " (sys_record) VALUES (7)");
    tarv(kDitt001)->execute("INSERT INTO " + table + " (sys_record) VALUES (8)");

    auto f = open<frmMast>();
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
    // No to the question copies nothing and says so; the list is read again, unticked.
    f->checks().box(n)->click();
    dialogs.then(Answer::No);
    f->cmdMast()->click();
    EXPECT_EQ(dialogs.texts().back(), "Nessun archivio pre-masterizzato.");
    ASSERT_EQ(f->entries().size(), 2u);
    EXPECT_FALSE(f->entries()[n - 1].selected);
    dialogs.clear();

    f->checks().box(n)->click();
    dialogs.then(Answer::Yes);
    f->cmdMast()->click();
    // The messages and what the run leaves behind are the engine's (premaster_test); here,
    // that the form ran it on the ticked row.
    EXPECT_EQ(dialogs.messages().size(), 2u);
    EXPECT_FALSE(archiveDef(kFornitori2024)->isLink());
    EXPECT_EQ(archiveCount(kFornitori2024), 2);
    // Reloaded: only the archive that is still a link is listed; the bar is hidden again.
    ASSERT_EQ(f->entries().size(), 1u);
    EXPECT_EQ(f->entries()[0].serial, kVerbali);
    EXPECT_FALSE(f->prbMast()->isVisible());
}

TEST_P(FrmMastTest, AStaleSecondWindowSaysItCopiedNothing) {
    linkArchive(kFornitori2024, "M", "01");
    MainWindow w(*session, dir_->path());
    // The entry stays enabled (the form holds the unlink entry): two windows list the archive.
    frmMast* first = static_cast<frmMast*>(w.main().openChild(QStringLiteral("mnuGestMast")));
    frmMast* stale = static_cast<frmMast*>(w.main().openChild(QStringLiteral("mnuGestMast")));
    ASSERT_TRUE(first && stale);
    for (frmMast* f : {first, stale}) f->checks().box(entryNumber(f->entries(), kFornitori2024))->click();
    dialogs.then(Answer::Yes);
    first->cmdMast()->click();
    EXPECT_EQ(dialogs.texts().back(), "Copia dei dati per la Pre-Masterizzazione eseguita con successo.");
    dialogs.clear();

    dialogs.then(Answer::Yes);
    stale->cmdMast()->click();
    ASSERT_EQ(dialogs.messages().size(), 3u);
    EXPECT_EQ(dialogs.texts()[1], "Attenzione. La tabella non è collegata al TARV.");
    EXPECT_EQ(dialogs.texts()[2], lines({"ATTENZIONE! Pre-Masterizzazione non completata.", "Archivi pre-masterizzati: 0 di 1.",
                                         "Archivi non pre-masterizzati: 1 (vedere i messaggi precedenti)."}));
    EXPECT_EQ(dialogs.messages()[2].icon, Icon::Exclamation);
    EXPECT_TRUE(stale->entries().empty());
}

TEST_P(FrmMastTest, WithoutLinksTheListIsEmpty) {
    auto f = open<frmMast>();
    EXPECT_TRUE(f->entries().empty());
    EXPECT_EQ(f->checks().loadedBoxes(), 0);
    f->cmdMast()->click();
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"Devi selezionare un archivio!"});
}

INSTANTIATE_TEST_SUITE_P(Embedded, FrmMastTest, ::testing::Values(TarvKind::Embedded));

}  // namespace
}  // namespace zq::test
