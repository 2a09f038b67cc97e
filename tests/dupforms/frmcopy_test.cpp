// frmCopy on a demo installation: the source area's archives listed and ticked, the
// link picture on a linked archive, a name edited in the list becoming the copy's name,
// and "&Duplica" making the new area, its folders, identity files and rows.

#include "dupform_fixture.h"

#include "dataaccess/sql_text.h"
#include "duplication/forms/frmcopy.h"
#include "linking/link_names.h"

namespace zq::test {
namespace {

class FrmCopyTest : public DupFormTest {
protected:
    /// Opens the form on the source area `area`.
    std::unique_ptr<frmCopy> openOn(long area) {
        auto f = std::make_unique<frmCopy>(*session, &wait);
        show(*f);
        pick(f->cmbFlds(2), itemOf(f->cmbFlds(2), area));
        return f;
    }
    /// The serial of the copy of `archive` in the area `areaId`, lower-cased.
    std::string copyOf(const std::string& archive, long areaId) const {
        const auto rows = archiveRows("SELECT SYS_SERIALE FROM DB_ELENCO WHERE ARCHIVIO = " + sqlQuote(archive) +
                                      " AND ID_AREA = " + std::to_string(areaId));
        EXPECT_EQ(rows.size(), 1u) << archive;
        return rows.empty() ? "" : vbLCase(rows[0][0]);
    }
};

TEST_F(FrmCopyTest, DuplicaCopiesTheTickedArchivesUnderTheEditedName) {
    linkArchive(kForn2024, "M", "01");
    auto f = openOn(5);
    // The source area's archives, all ticked; the linked one carries the picture.
    EXPECT_EQ(f->cmdCopy()->text(), "&Duplica");
    EXPECT_EQ(f->grdList()->formatString(), QString::fromUtf8("     |     |  N.  |<Descrizione| "));
    ASSERT_EQ(f->entries().size(), 2u);
    EXPECT_EQ(f->clsList().TextMatrix(1, frmCopy::ColNumber), "1");
    EXPECT_EQ(f->clsList().TextMatrix(1, frmCopy::ColDescription), "Fatture Fornitori 2024");
    EXPECT_EQ(f->clsList().TextMatrix(2, frmCopy::ColDescription), "Note di Credito Fornitori 2024");
    EXPECT_TRUE(f->entries()[0].Collegata);
    EXPECT_FALSE(f->entries()[1].Collegata);
    for (int i = 1; i <= 2; ++i) EXPECT_TRUE(f->checks().box(i) && f->checks().box(i)->isChecked()) << i;
    ASSERT_NE(f->picColl(1), nullptr);
    EXPECT_TRUE(f->picColl(1)->isVisible());
    EXPECT_TRUE(f->picColl(2) == nullptr || !f->picColl(2)->isVisible());
    const long areeBefore = rowCount("AREE");
    const long elencoBefore = rowCount("DB_ELENCO");

    // The folder picker: a cancel leaves the field, a pick fills it.
    const std::string parent = (home() / "documenti").string();
    f->txtFlds(1)->setText(QString::fromStdString(parent));
    dialogs.thenPick(std::nullopt);
    f->cmdExplore()->click();
    EXPECT_EQ(f->txtFlds(1)->text().toStdString(), parent);
    dialogs.thenPick(parent);
    f->txtFlds(1)->setText(QString());
    f->cmdExplore()->click();
    EXPECT_EQ(f->txtFlds(1)->text().toStdString(), parent);
    f->txtFlds(0)->setText(QStringLiteral("Fatture Acquisto 2025"));
    pick(f->cmbFlds(3), itemOf(f->cmbFlds(3), 4));

    // The first name edited in place: a double click opens the editor on the cell.
    grdComm& list = f->clsList();
    list.setRow(1);
    list.setCol(frmCopy::ColDescription);
    emit list.DblClick();
    ASSERT_TRUE(f->txtList()->isVisible());
    EXPECT_EQ(f->txtList()->text(), "Fatture Fornitori 2024");
    f->txtList()->setText(QString());
    QTest::keyClicks(f->txtList()->box(0), "Fornitori 2025");
    // Only the first archive is copied: unticking a box clears its entry.
    f->checks().box(2)->click();
    EXPECT_FALSE(f->entries()[1].Selez);

    dialogs.then(Answer::No);
    f->cmdCopy()->click();
    ASSERT_TRUE(f->lastResult().completed) << ::testing::PrintToString(dialogs.texts());
    ASSERT_GE(dialogs.messages().size(), 2u);
    EXPECT_EQ(dialogs.messages().front().text, "Vuoi collegare le tabelle al TARV?");
    EXPECT_EQ(dialogs.messages().front().buttons, Buttons::YesNoCancel);
    EXPECT_EQ(dialogs.messages().back().text, "Duplicazione AREA terminata.");
    EXPECT_EQ(dialogs.messages().back().title, "Duplicazione AREE");
    EXPECT_FALSE(f->cmdCopy()->isEnabled());
    EXPECT_EQ(f->lastResult().copied, 1);

    // One new area under the picked parent, one new archive in it, named as edited
    // (the editor's mask upper-cases letters).
    EXPECT_EQ(rowCount("AREE"), areeBefore + 1);
    EXPECT_EQ(rowCount("DB_ELENCO"), elencoBefore + 1);
    const auto area = archiveRows("SELECT ID_AREA, ID_PARENT FROM AREE WHERE AREA = 'Fatture Acquisto 2025'");
    ASSERT_EQ(area.size(), 1u);
    EXPECT_EQ(area[0][1], "4");
    const auto copy =
        archiveRows("SELECT ARCHIVIO, SYS_SERIALE, sys_path_docs FROM DB_ELENCO WHERE ID_AREA = " + area[0][0]);
    ASSERT_EQ(copy.size(), 1u);
    EXPECT_EQ(copy[0][0], "FORNITORI 2025");
    const fs::path folder = home() / "documenti" / "Fatt_Acqu_2025" / "FORN_2025";
    EXPECT_EQ(fs::path(copy[0][2]).lexically_normal(), (folder / "").lexically_normal());
    EXPECT_TRUE(fs::exists(folder / "DURuv.id"));
    // An empty local table with the source's fields, not linked (the answer was No).
    const auto def = archiveDef(vbLCase(copy[0][1]));
    ASSERT_TRUE(def);
    EXPECT_FALSE(def->isLink());
    EXPECT_EQ(def->fields.size(), archiveDef(LinkNames::sav(kForn2024))->fields.size());
    EXPECT_EQ(rowCount("[" + copy[0][1] + "]"), 0);
    // The new area is offered as a source now.
    EXPECT_GE(f->cmbFlds(2)->findText("Fatture Acquisto 2025   -  2024"), 0);
}

TEST_F(FrmCopyTest, YesLinksTheCopyOfALinkedArchiveForThePickedCompanyAndYear) {
    linkArchive(kForn2024, "M", "01");
    session->ConnDitt("");
    auto f = openOn(5);
    pick(f->cmbFlds(0), companyIndex(*f, "001"));
    pick(f->cmbFlds(1), f->cmbFlds(1)->findText("2023"));
    EXPECT_TRUE(f->lookups().ArAttiva);
    f->txtFlds(0)->setText(QStringLiteral("Acquisti 2023 bis"));
    f->txtFlds(1)->setText(QString::fromStdString((home() / "documenti").string()));

    dialogs.then(Answer::Yes);
    f->cmdCopy()->click();
    const AreaCopyResult& r = f->lastResult();
    ASSERT_TRUE(r.completed) << ::testing::PrintToString(dialogs.texts());
    EXPECT_TRUE(r.linkTarv);
    EXPECT_EQ(r.copied, 2);
    EXPECT_EQ(r.linked, 1);

    // The copy of the linked archive is a link to its own TARV table, registered for
    // the picked company and year with the source's association and document type.
    const std::string serial = copyOf("Fatture Fornitori 2024", r.newAreaId);
    ASSERT_TRUE(archiveDef(serial));
    EXPECT_TRUE(archiveDef(serial)->isLink());
    EXPECT_EQ(tarvRows("/usr/tarv/comune", "SELECT ditt, anno, tipo_ass, tipo_doc FROM ar_dbelenco WHERE "
                                           "sys_seriale = " + sqlQuote(LinkNames::tarv(serial))),
              (std::vector<std::vector<std::string>>{{"001", "2023", "M", "01"}}));
    EXPECT_EQ(tarvRows("/usr/tarv/ditt001", "SELECT COUNT(*) FROM " + LinkNames::tarv(serial))[0][0], "0");
    // The archive that was not linked is copied as a local table.
    const std::string plain = copyOf("Note di Credito Fornitori 2024", r.newAreaId);
    ASSERT_TRUE(archiveDef(plain));
    EXPECT_FALSE(archiveDef(plain)->isLink());
}

TEST_F(FrmCopyTest, RefusalsLeaveTheButtonAndTheDatabaseAsTheyWere) {
    auto f = openOn(5);
    const long areeBefore = rowCount("AREE");
    f->cmdCopy()->click();
    f->txtFlds(0)->setText(QStringLiteral("Nuova"));
    f->cmdCopy()->click();
    f->txtFlds(1)->setText(QString::fromStdString((home() / "manca").string()));
    f->cmdCopy()->click();
    f->txtFlds(1)->setText(QString::fromStdString(home().string()));
    for (int i = 1; i <= 2; ++i) f->checks().box(i)->click();
    f->cmdCopy()->click();
    EXPECT_EQ(dialogs.texts(), (std::vector<std::string>{"Il nome dell'AREA nuova è obbligatorio.",
                                                         "Il percorso dell'area PARENT è obbligatorio.",
                                                         "Percorso dell'area PARENT inesistente",
                                                         "Devi selezionare un archivio!"}));
    EXPECT_TRUE(f->cmdCopy()->isEnabled());
    EXPECT_EQ(rowCount("AREE"), areeBefore);
}

}  // namespace
}  // namespace zq::test
