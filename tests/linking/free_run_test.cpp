// The unlink run and its list: links deleted, set-aside tables back, TARV tables and
// registry rows dropped on request, per company when all companies are listed.

#include "link_fixture.h"

#include "linking/free_run.h"
#include "linking/link_list.h"
#include "linking/link_run.h"

namespace zq::test {
namespace {

const std::string kTitle = "Scollegamento tabelle al database TARV";

class FreeRunTest : public LinkTest {
protected:
    void link(const std::string& company, const std::string& year, std::vector<ArchRow> entries) {
        pickCompany(company);
        dialogs.answerAlways(Answer::Yes);
        ASSERT_EQ(LinkRun(*session, lookups->aDocs).cmdColl_Click({1, company, 1, year, true}, entries).linked,
                  static_cast<int>(entries.size()));
        dialogs.clear();
    }
    std::vector<FreeRow> list(const std::string& company = {}, int year = 0) {
        return LinkList::linked(*session, model, FreeFilter{company, year}, lookups->aDocs);
    }
    static std::vector<FreeRow> ticked(std::vector<FreeRow> rows) {
        for (auto& r : rows) r.selected = true;
        return rows;
    }
};

TEST_P(FreeRunTest, UnlinkingLocallyKeepsTheTarvTableAndTheRegistryRow) {
    link("001", "2023", {entry(kFornitori2023, "M", "01"), entry(kClienti2023, "A")});
    const auto rows0 = list("001");
    ASSERT_EQ(rows0.size(), 2u);
    dialogs.then(Answer::No).then(Answer::Yes).then(Answer::Yes);
    const auto result = FreeRun(*session).cmdFree_Click(ticked(rows0), /*allCompanies=*/false);
    EXPECT_TRUE(result.completed);
    EXPECT_FALSE(result.delTarv);
    EXPECT_EQ(result.unlinked, 2);
    const auto question = [](const FreeRow& r) {
        return lines({"vuoi scollegare la tabella ", r.description, "area " + r.area, "(" + r.serial + ")?"});
    };
    EXPECT_EQ(dialogs.texts(), (std::vector<std::string>{"Vuoi cancellare le tabelle collegate dal TARV?", question(rows0[0]),
                                                         question(rows0[1]), "Scollegamento tabelle effettuato con successo."}));
    for (const auto& m : dialogs.messages()) EXPECT_EQ(m.title, kTitle);
    EXPECT_FALSE(archiveDef(kFornitori2023)->isLink());
    EXPECT_EQ(archiveDef(kFornitori2023)->name, kFornitori2023);
    EXPECT_EQ(archiveCount(kFornitori2023), 4);
    EXPECT_FALSE(archiveDef(std::string(kFornitori2023) + "_sav").has_value());
    EXPECT_TRUE(tarvTableExists(kDitt001, "a2215032010150a1f"));
    EXPECT_EQ(rows(kComune, "SELECT * FROM ar_dbelenco").size(), 2u);
    EXPECT_TRUE(list("001").empty());
    ASSERT_TRUE(session->CnnArch);
    EXPECT_NE(session->CnnArch->state(), 0);
}

TEST_P(FreeRunTest, RelinkAfterALocalUnlinkSaysTheTableExists) {
    link("001", "2023", {entry(kFornitori2023, "M", "01")});
    dialogs.then(Answer::No).then(Answer::Yes);
    FreeRun(*session).cmdFree_Click(ticked(list()), false);
    dialogs.clear();
    pickCompany("001");
    LinkRequest r{0, "001", 0, "2023", true};
    dialogs.answerAlways(Answer::Yes);
    EXPECT_EQ(LinkRun(*session, lookups->aDocs).cmdColl_Click(r, {entry(kFornitori2023, "M", "01")}).linked, 1);
    EXPECT_TRUE(dialogs.saw("La tabella a2215032010150a1f esiste già nel database ditta."));
    EXPECT_EQ(rows(kComune, "SELECT * FROM ar_dbelenco").size(), 1u);
}

TEST_P(FreeRunTest, DroppingTheTarvTablesOfEveryCompanyConnectsToEachInTurn) {
    link("001", "2023", {entry(kFornitori2023, "M", "01")});
    link("003", "2023", {entry(kClienti2023, "A")});
    session->ConnDitt("");  // the picker on "<TUTTE>"
    const auto all = list();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(list("003").size(), 1u);
    dialogs.then(Answer::Yes).then(Answer::Yes).then(Answer::Yes);
    auto& tarvCnn = recordTarv();
    const auto result = FreeRun(*session).cmdFree_Click(ticked(all), /*allCompanies=*/true);
    EXPECT_TRUE(result.delTarv);
    EXPECT_EQ(result.unlinked, 2);
    EXPECT_FALSE(tarvTableExists(kDitt001, "a2215032010150a1f"));
    EXPECT_FALSE(tarvTableExists("/u2/tarv/ditt003", "a2215032010161b2c"));
    EXPECT_TRUE(rows(kComune, "SELECT * FROM ar_dbelenco").empty());
    EXPECT_NE(std::find(tarvCnn.statements.begin(), tarvCnn.statements.end(),
                        "DELETE FROM ar_dbelenco WHERE sys_seriale = 'a2215032010150a1f'"),
              tarvCnn.statements.end());
}

TEST_P(FreeRunTest, OtherArchivesShowUnderEveryYear) {
    link("001", "2023", {entry(kFornitori2023, "M", "01"), entry(kClienti2023, "A")});
    const auto in2024 = list("001", 2024);
    ASSERT_EQ(in2024.size(), 1u);
    EXPECT_EQ(in2024[0].serial, kClienti2023);
    EXPECT_EQ(in2024[0].yearText, "");
    EXPECT_EQ(in2024[0].associationText, "Altro");
    const auto in2023 = list("001", 2023);
    ASSERT_EQ(in2023.size(), 2u);
    const auto& m = in2023[static_cast<std::size_t>(LinkList::find(in2023, kFornitori2023))];
    EXPECT_EQ(m.yearText, "2023");
    EXPECT_EQ(m.associationText, "Movimento");
    EXPECT_EQ(m.docTypeText.rfind("Fatture di acquisto", 0), 0u);  // Descr as ar_tipodoc pads it
    EXPECT_EQ(m.company, "001");
    EXPECT_TRUE(list("002").empty());
}

TEST_P(FreeRunTest, AMissingSetAsideTableIsAskedAbout) {
    link("001", "2023", {entry(kFornitori2023, "M", "01")});
    {
        auto db = ArchiveDatabase::open(session->cfg.PathArch);
        db->deleteTable(std::string(kFornitori2023) + "_sav");
        db->close();
    }
    dialogs.then(Answer::No).then(Answer::Yes).then(Answer::No);
    const auto result = FreeRun(*session).cmdFree_Click(ticked(list()), false);
    EXPECT_EQ(result.skipped, 1);
    EXPECT_EQ(dialogs.texts().at(2), lines({"Attenzione! Non ho trovato la tabella per il ripristino", "", "Vuoi continuare?"}));
    EXPECT_TRUE(archiveDef(kFornitori2023)->isLink());
}

TEST_P(FreeRunTest, NothingTickedChangesNothing) {
    link("001", "2023", {entry(kFornitori2023, "M", "01")});
    const auto result = FreeRun(*session).cmdFree_Click(list(), false);
    EXPECT_FALSE(result.completed);
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"Devi selezionare un archivio!"});
    EXPECT_TRUE(archiveDef(kFornitori2023)->isLink());
}

INSTANTIATE_TEST_SUITE_P(Engines, FreeRunTest, ZQ_LINK_ENGINES,
                         [](const auto& info) { return PrintToString(info.param); });

}  // namespace
}  // namespace zq::test
