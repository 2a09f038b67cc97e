// The DAV link: fixed registry values, its own parameter query and index names.

#include "link_fixture.h"

#include "linking/dav_run.h"
#include "linking/link_list.h"
#include "linking/link_run.h"

#include <regex>

namespace zq::test {
namespace {

class DavRunTest : public LinkTest {
protected:
    DavRunResult dav(const std::vector<ArchRow>& rows, int chosen) {
        return DavRun(*session).cmdColl_Click(DavRequest{0, "001", true}, rows, chosen);
    }
    DavRunResult dav(const std::string& serial) {
        const auto rows = archiveList();
        return dav(rows, LinkList::find(rows, serial));
    }
};

TEST_P(DavRunTest, RegistersTheCompanysDavTable) {
    pickCompany("001");
    dialogs.then(Answer::Yes);
    auto& tarvCnn = recordTarv();
    const auto result = dav(kVerbali);
    EXPECT_TRUE(result.linked);
    ASSERT_GE(tarvCnn.statements.size(), 2u);
    EXPECT_EQ(tarvCnn.statements[0], "SELECT * FROM volumi WHERE cod_ditta = '001'");  // the run's own company connection
    EXPECT_EQ(tarvCnn.statements[1],
              "SELECT * FROM ar_dbelenco WHERE ditt = '001' AND anno = 9999 AND tipo_ass = 'M' AND tipo_doc = 'Z'");
    EXPECT_EQ(dialogs.texts().back(), "Collegamento tabella effettuato con successo.");
    EXPECT_EQ(dialogs.messages().back().title, "Collegamento tabelle DAV");
    const auto reg = rows(kComune, "SELECT ditt, anno, tipo_ass, tipo_doc, sys_seriale FROM ar_dbelenco");
    EXPECT_EQ(reg, (std::vector<std::vector<std::string>>{{"001", "9999", "M", "Z", "a2106051045116a71"}}));
    EXPECT_TRUE(archiveDef(kVerbali)->isLink());

    // A second DAV table of the same company is refused.
    dialogs.clear();
    dialogs.then(Answer::Yes);
    EXPECT_FALSE(dav(kContratti).linked);
    EXPECT_TRUE(dialogs.saw(lines({"ATTENZIONE!", "Esiste già un'altra tabella collegata", "con gli stessi parametri.", "",
                                   "Impossibile continuare"})));

    // Linked again with the same values: the registry row is updated, not doubled.
    dialogs.clear();
    dialogs.then(Answer::Yes);
    EXPECT_TRUE(dav(kVerbali).linked);
    EXPECT_TRUE(dialogs.saw("La tabella 2106051045116a71 è già una tabella collegata."));
    EXPECT_EQ(rows(kComune, "SELECT * FROM ar_dbelenco").size(), 1u);
    EXPECT_TRUE(std::any_of(tarvCnn.statements.begin(), tarvCnn.statements.end(), [](const std::string& s) {
        return s.rfind("UPDATE ar_dbelenco SET sys_path_docs = ", 0) == 0 &&
               s.find(" WHERE ditt = '001' AND anno = 9999 AND tipo_ass = 'M' AND tipo_doc = 'Z' AND sys_seriale = "
                      "'a2106051045116a71'") != std::string::npos;
    }));
}

TEST_P(DavRunTest, AnOtherArchiveCannotBecomeTheDavTable) {
    pickCompany("001");
    LinkRequest r{0, "001", 0, "2023", true};
    dialogs.answerAlways(Answer::Yes);
    ASSERT_EQ(LinkRun(*session, lookups->aDocs).cmdColl_Click(r, {entry(kVerbali, "A")}).linked, 1);
    dialogs.clear();
    EXPECT_FALSE(dav(kVerbali).linked);
    EXPECT_TRUE(dialogs.saw(lines({"ATTENZIONE!", "La tabella è già collegata", "con parametri diversi.", "", "Impossibile continuare"})));
}

TEST_P(DavRunTest, IndexNamesBeginWithALetter) {
    pickCompany("001");
    TableDef t;
    t.name = "davprova";
    t.fields = {text("codice", 10), text("doc", 10)};
    t.indexes = {index("1_codice", {"codice"}), index("Cod/Doc", {"codice", "doc"}), index("2024", {"doc"})};
    addArchiveTable(t);
    dialogs.then(Answer::Yes);
    EXPECT_TRUE(dav({ArchRow{"Prova DAV", "Prove", "davprova", "/x/00000000/"}}, 0).linked);
    const auto names = tarvIndexes(kDitt001, "adavprova");
    const std::vector<std::string> bases = {"cod_doc", "codice", "i2024"};
    ASSERT_EQ(names.size(), bases.size());
    for (std::size_t i = 0; i < names.size(); ++i)
        EXPECT_TRUE(std::regex_match(names[i], std::regex(bases[i] + "[0-9]{4,5}"))) << names[i];
}

TEST_P(DavRunTest, NoAndMissingChoiceChangeNothing) {
    pickCompany("001");
    dialogs.then(Answer::No);
    const auto result = dav(kVerbali);
    EXPECT_TRUE(result.asked);
    EXPECT_FALSE(result.linked);
    EXPECT_EQ(dialogs.texts().size(), 1u);
    dav(archiveList(), -1);
    DavRun(*session).cmdColl_Click(DavRequest{-1, "", true}, {}, -1);
    DavRun(*session).cmdColl_Click(DavRequest{0, "001", false}, {}, -1);
    EXPECT_EQ(dialogs.texts(),
              (std::vector<std::string>{dialogs.texts()[0], "Devi selezionare un archivio!", "Devi selezionare una Ditta!",
                                        lines({"La Ditta selezionata non prevede", "il collegamento ad QUIRNOVA!"})}));
    EXPECT_FALSE(archiveDef(kVerbali)->isLink());
}

INSTANTIATE_TEST_SUITE_P(Engines, DavRunTest, ZQ_LINK_ENGINES,
                         [](const auto& info) { return PrintToString(info.param); });

}  // namespace
}  // namespace zq::test
