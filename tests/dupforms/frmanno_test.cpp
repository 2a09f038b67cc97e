// frmAnno on a demo installation: the child areas of the picked year area, the TARV year
// of the login, the progress labels, and "&Duplica" making the new year with one area
// per child area and empty copies of their archives.

#include "dupform_fixture.h"

#include "duplication/forms/frmanno.h"

namespace zq::test {
namespace {

using FrmAnnoTest = DupFormTest;

TEST_F(FrmAnnoTest, OpensWithTheLoginYearAndListsTheChildAreas) {
    frmAnno f(*session);
    show(f);
    EXPECT_EQ(f.cmdCopy()->text(), "&Duplica");
    EXPECT_EQ(f.cmdExit()->text(), "&Esci");
    EXPECT_EQ(f.cmbFlds(1)->currentText(), QString::number(session->DataLogin.year));
    EXPECT_EQ(f.cmbFlds(1)->count(), 12);
    EXPECT_EQ(f.cmbFlds(1)->itemText(0), "2001");
    EXPECT_TRUE(f.cmbFlds(1)->isEditable());
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(f.lblElab(i)->isVisible());

    pick(f.cmbFlds(2), itemOf(f.cmbFlds(2), 4));
    ASSERT_EQ(f.cmbFlds(0)->count(), 2);
    // Child areas keep their own names: they become the names of the new areas.
    EXPECT_EQ(f.cmbFlds(0)->itemText(0), "Fatture Acquisto");
    EXPECT_EQ(f.cmbFlds(0)->itemData(0).toLongLong(), 5);
    EXPECT_EQ(f.cmbFlds(0)->itemText(1), "Fatture Vendita");
    // A year area picked again replaces the children.
    pick(f.cmbFlds(2), itemOf(f.cmbFlds(2), 1));
    EXPECT_EQ(f.cmbFlds(0)->count(), 2);
    EXPECT_EQ(f.cmbFlds(0)->itemData(0).toLongLong(), 2);
}

TEST_F(FrmAnnoTest, ProgressLabelsGrowADotPerStep) {
    frmAnno f(*session);
    show(f);
    ElabProgress& p = f.progress();
    p.setAreas({"Fatture Acquisto", "Fatture Vendita"});
    p.begin("Duplicazione anno in corso...");
    EXPECT_TRUE(f.lblElab(0)->isVisible());
    const auto expectLabels = [&](std::vector<QString> texts) {
        for (int i = 0; i < 3; ++i) EXPECT_EQ(f.lblElab(i)->text(), texts[i]) << "label " << i;
    };
    p.setLabel("Creazione area Fatture Acquisto in corso...");
    expectLabels({"Duplicazione anno in corso....", "Creazione area Fatture Acquisto in corso...", ""});
    p.setLabel("Creazione area Fatture Fornitori 2024 in corso...");
    expectLabels({"Duplicazione anno in corso.....", "Creazione area Fatture Acquisto in corso....",
                  "Creazione area Fatture Fornitori 2024 in corso..."});
    p.setLabel("Creazione area Fatture Vendita in corso...");
    expectLabels({"Duplicazione anno in corso......", "Creazione area Fatture Vendita in corso...", ""});
    p.end();
    expectLabels({"", "", ""});
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(f.lblElab(i)->isVisible());
}

TEST_F(FrmAnnoTest, DuplicaMakesTheNewYearWithItsAreasAndArchives) {
    linkArchive(kCorr2024, "A", "");
    frmAnno f(*session);
    show(f);
    pick(f.cmbFlds(2), itemOf(f.cmbFlds(2), 4));
    f.txtFlds(0)->setText(QStringLiteral("2025"));
    // A picked folder fills the field; a cancelled pick leaves it.
    const std::string parent = (home() / "documenti").string();
    dialogs.thenPick(parent);
    dialogs.thenPick(std::nullopt);
    f.cmdExplore()->click();
    ASSERT_EQ(f.txtFlds(1)->text().toStdString(), parent);
    f.cmdExplore()->click();
    EXPECT_EQ(f.txtFlds(1)->text().toStdString(), parent);
    f.cmbFlds(1)->setEditText(QStringLiteral("2025"));
    const long elencoBefore = rowCount("DB_ELENCO");

    dialogs.then(Answer::No);
    f.cmdCopy()->click();
    const YearCopyResult& r = f.lastResult();
    ASSERT_TRUE(r.completed) << ::testing::PrintToString(dialogs.texts());
    EXPECT_EQ(dialogs.messages().front().text, "Vuoi collegare le tabelle al TARV?");
    EXPECT_EQ(dialogs.messages().back().text, "Duplicazione ANNO terminata.");
    EXPECT_FALSE(f.cmdCopy()->isEnabled());
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(f.lblElab(i)->isVisible());

    // The year area at the top (no parent picked), an area per child, three archives:
    // the one linked as year-independent is left out.
    const auto year = archiveRows("SELECT ID_AREA, ID_PARENT FROM AREE WHERE AREA = '2025'");
    ASSERT_EQ(year.size(), 1u);
    EXPECT_EQ(year[0][1], "0");
    EXPECT_EQ(archiveRows("SELECT AREA FROM AREE WHERE ID_PARENT = " + year[0][0] + " ORDER BY AREA"),
              (std::vector<std::vector<std::string>>{{"Fatture Acquisto"}, {"Fatture Vendita"}}));
    EXPECT_EQ(r.areas, 2);
    EXPECT_EQ(r.copied, 3);
    EXPECT_EQ(r.leftOut, 1);
    EXPECT_EQ(rowCount("DB_ELENCO"), elencoBefore + 3);
    EXPECT_TRUE(fs::is_directory(home() / "documenti" / "2025" / "Fatt_Acqu"));
    EXPECT_TRUE(fs::is_directory(home() / "documenti" / "2025" / "Fatt_Vend"));
    for (const auto& row : archiveRows("SELECT DB_ELENCO.sys_path_docs FROM DB_ELENCO INNER JOIN AREE ON "
                                       "DB_ELENCO.ID_AREA = AREE.ID_AREA WHERE AREE.ID_PARENT = " + year[0][0]))
        EXPECT_TRUE(fs::exists(fs::path(row[0]) / "DURuv.id")) << row[0];
    // The new year is offered as a source now.
    EXPECT_GE(itemOf(f.cmbFlds(2), std::stol(year[0][0])), 0);
}

TEST_F(FrmAnnoTest, RefusalsKeepTheButtonAndWriteNothing) {
    frmAnno f(*session);
    show(f);
    const long areeBefore = rowCount("AREE");
    // A year area without children has nothing to duplicate, whatever else is missing.
    pick(f.cmbFlds(2), itemOf(f.cmbFlds(2), 5));
    EXPECT_EQ(f.cmbFlds(0)->count(), 0);
    f.cmdCopy()->click();
    EXPECT_EQ(dialogs.messages().back().text, "Non ci sono aree da duplicare.");

    pick(f.cmbFlds(2), itemOf(f.cmbFlds(2), 4));
    f.cmdCopy()->click();
    EXPECT_EQ(dialogs.messages().back().text, "Il nome del nuovo ANNO è obbligatorio.");
    EXPECT_EQ(dialogs.messages().back().title, "Duplicazione ANNUALITA'");
    f.txtFlds(0)->setText(QStringLiteral("2025"));
    f.cmdCopy()->click();
    EXPECT_EQ(dialogs.messages().back().text, "Il percorso dell'area PARENT è obbligatorio.");
    f.txtFlds(1)->setText(QString::fromStdString((home() / "documenti").string()));
    dialogs.then(Answer::Cancel);
    f.cmdCopy()->click();
    EXPECT_EQ(dialogs.messages().back().text, "Vuoi collegare le tabelle al TARV?");
    // The TARV year typed over the list must be a whole number, linked or not.
    f.cmbFlds(1)->setEditText(QStringLiteral("20x5"));
    dialogs.then(Answer::No);
    f.cmdCopy()->click();
    EXPECT_EQ(dialogs.messages().back().text, "Devi selezionare un Esercizio!");
    EXPECT_EQ(dialogs.messages().size(), 6u);
    EXPECT_TRUE(f.cmdCopy()->isEnabled());
    EXPECT_EQ(rowCount("AREE"), areeBefore);
    EXPECT_FALSE(fs::exists(home() / "documenti" / "2025"));
}

}  // namespace
}  // namespace zq::test
