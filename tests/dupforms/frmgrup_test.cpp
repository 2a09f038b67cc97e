// frmGrup on a demo installation: every area listed unticked, "&Raggruppa" usable only
// with the grouping parameters, and a run gathering two areas into the company's new
// grouping archive with the wait window naming each file copied.

#include "dupform_fixture.h"

#include "dataaccess/sql_text.h"
#include "duplication/forms/frmgrup.h"
#include "linking/archive_model.h"
#include "linking/link_names.h"

#include <algorithm>

namespace zq::test {
namespace {

class FrmGrupTest : public DupFormTest {
protected:
    void registerOnly(const std::string& serial, const std::string& year, const std::string& doc) {
        session->CnnTarv->execute("INSERT INTO ar_dbelenco VALUES('001', " + year + ", 'M', " + sqlQuote(doc) + ", " +
                                  sqlQuote(LinkNames::tarv(serial)) + ", 'x')");
    }
    /// Ticks the box of the area `id`.
    void tick(frmGrup& f, long id) {
        for (std::size_t n = 0; n < f.entries().size(); ++n)
            if (f.entries()[n].Id_Area == id) return f.checks().box(int(n) + 1)->click();
        ADD_FAILURE() << "no area " << id;
    }
    std::string tarvCount(const std::string& table) const {
        return tarvRows("/usr/tarv/ditt001", "SELECT COUNT(*) FROM " + LinkNames::tarv(table))[0][0];
    }
};

TEST_F(FrmGrupTest, ListsEveryAreaUntickedAndRaggruppaIsReady) {
    frmGrup f(*session, &wait);
    show(f);
    EXPECT_EQ(f.cmdGrup()->text(), "&Raggruppa");
    EXPECT_EQ(f.grdList()->formatString(), QString::fromUtf8("     |  ID  |<Descrizione| "));
    const auto areas = archiveRows("SELECT ID_AREA, AREA FROM AREE ORDER BY AREA");
    ASSERT_EQ(f.entries().size(), areas.size());
    for (std::size_t n = 0; n < areas.size(); ++n) {
        EXPECT_EQ(f.clsList().TextMatrix(int(n) + 1, frmGrup::ColId).toStdString(), areas[n][0]);
        EXPECT_EQ(f.clsList().TextMatrix(int(n) + 1, frmGrup::ColDescription).toStdString(), areas[n][1]);
        EXPECT_FALSE(f.entries()[n].Selez);
    }
    EXPECT_FALSE(f.cmbFlds(1)->isVisible());
    EXPECT_TRUE(f.cmdGrup()->isEnabled());
    EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(FrmGrupTest, WithoutGroupingParametersRaggruppaIsDisabled) {
    session->cfg.GrpParm1 = "0";
    frmGrup f(*session, &wait);
    show(f);
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].text, "Indicare l'area di raggruppamento e il relativo percorso.");
    EXPECT_EQ(dialogs.messages()[0].icon, Icon::Information);
    EXPECT_FALSE(f.cmdGrup()->isEnabled());
}

TEST_F(FrmGrupTest, RaggruppaGathersTheTickedAreasIntoTheGroupingArchive) {
    linkArchive(kForn2024, "M", "01");
    execArchive("INSERT INTO [" + std::string(kForn2024) + "] SELECT * FROM [" + LinkNames::sav(kForn2024) + "]");
    registerOnly(kForn2023, "2023", "01");
    registerOnly(kNote2024, "2024", "03");
    session->ConnDitt("");

    frmGrup f(*session, &wait);
    show(f);
    // Without a company the run refuses and the button stays usable.
    tick(f, 2);
    f.cmdGrup()->click();
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"Devi selezionare una Ditta!"});
    EXPECT_TRUE(f.cmdGrup()->isEnabled());
    dialogs.clear();

    pick(f.cmbFlds(0), companyIndex(f, "001"));
    EXPECT_TRUE(f.lookups().ArAttiva);
    tick(f, 5);
    f.cmdGrup()->click();
    const GroupResult& r = f.lastResult();
    ASSERT_TRUE(r.completed) << ::testing::PrintToString(dialogs.texts());
    EXPECT_TRUE(r.created);
    EXPECT_EQ(r.archives, 3);
    EXPECT_EQ(r.records, 10);
    EXPECT_EQ(dialogs.messages().back().text, "Raggruppamento AREE terminata.");
    EXPECT_TRUE(f.cmdGrup()->isEnabled());

    // The grouping archive of the company's tax code, in the grouping area, linked.
    EXPECT_EQ(archiveRows("SELECT ID_AREA, ARCHIVIO, CODFIS FROM DB_ELENCO WHERE SYS_SERIALE = " + sqlQuote(vbUCase(r.table))),
              (std::vector<std::vector<std::string>>{{"8", "DAV-Rossi Mario & Figli srl", "01234560355"}}));
    ASSERT_TRUE(archiveDef(r.table) && archiveDef(r.table)->isLink());
    EXPECT_EQ(tarvCount(r.table), "10");

    // The wait window named every file as it was copied, and each file is there.
    EXPECT_GE(wait.begins, 1);
    ASSERT_EQ(wait.labels.size(), 10u);
    for (long m = 1; m <= 10; ++m) {
        char name[32];
        std::snprintf(name, sizeof name, "%08ld.pdf", m);
        EXPECT_NE(std::find(wait.labels.begin(), wait.labels.end(), name), wait.labels.end()) << name;
        EXPECT_TRUE(fs::exists(ArchiveModel::PathDocs(r.folder, m) + name)) << name;
    }

    // A second run finds the same grouping archive and refuses every archive in it.
    const std::string table = r.table;
    dialogs.clear();
    f.cmdGrup()->click();
    ASSERT_TRUE(f.lastResult().completed) << ::testing::PrintToString(dialogs.texts());
    EXPECT_FALSE(f.lastResult().created);
    EXPECT_EQ(f.lastResult().table, table);
    EXPECT_EQ(f.lastResult().records, 0);
    EXPECT_EQ(count("La tabella di raggruppamento (" + table + ")"), 3);
    EXPECT_EQ(tarvCount(table), "10");
}

}  // namespace
}  // namespace zq::test
