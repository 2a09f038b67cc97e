// The check the program offers at start: nothing asked while the journal is clean; an
// unlink killed after its journal entry is found, and the repair completes it. The
// check also finds a record whose document left its folder.

#include "dup_fixture.h"

#include "check/archive_check.h"
#include "check/check_dialog.h"
#include "journal/journal.h"
#include "linking/link_names.h"

namespace zq::test {
namespace {

using CheckDialogTest = DupTest;

TEST_F(CheckDialogTest, StartOffersTheCheckAndItsRepairCompletesAnInterruptedUnlink) {
    linkArchive(kForn2024, "M", "01");
    offerArchiveCheck(*session);
    EXPECT_TRUE(dialogs.messages().empty());

    Journal(session->cfg.PathArch)
        .begin("unlink", kForn2024, journalParams({{"tarv", "1"}, {"ditta", "001"}}), "tarv");
    dialogs.then(Answer::Yes).then(Answer::Yes).then(Answer::Yes);
    offerArchiveCheck(*session);

    const auto texts = dialogs.texts();
    ASSERT_EQ(texts.size(), 5u);
    EXPECT_EQ(texts[0], "ATTENZIONE!\r\nUn'operazione sugli archivi è stata interrotta prima della fine.\r\n\r\n"
                        "Vuoi verificare gli archivi ora?");
    EXPECT_NE(texts[1].find("Incongruenze trovate: 1\r\n- " + std::string(kForn2024) + ": operazione unlink interrotta"),
              std::string::npos)
        << texts[1];
    EXPECT_NE(texts[2].find("Riparazione: completa lo scollegamento"), std::string::npos) << texts[2];
    EXPECT_EQ(texts[4], "Riparazione effettuata: nessuna incongruenza rimasta.");
    const auto def = archiveDef(kForn2024);
    ASSERT_TRUE(def);
    EXPECT_FALSE(def->isLink());
    EXPECT_TRUE(tarvRows("/usr/tarv/comune", "SELECT * FROM ar_dbelenco WHERE sys_seriale = 'a" +
                                                  std::string(kForn2024) + "'")
                    .empty());
    EXPECT_TRUE(tarvRows("/usr/tarv/ditt001", "SELECT * FROM systables WHERE tabname = '" +
                                                  LinkNames::tarv(kForn2024) + "'")
                    .empty());
}

TEST_F(CheckDialogTest, ARecordWhoseDocumentIsGoneIsFoundOncePerArchive) {
    ASSERT_TRUE(ArchiveCheck(*session).run().empty());
    std::vector<std::filesystem::path> documents;
    for (const auto& e : std::filesystem::recursive_directory_iterator(home()))
        if (e.path().extension() == ".pdf" && e.path().string().find("/Fatt_Forn_2024/") != std::string::npos)
            documents.push_back(e.path());
    ASSERT_GE(documents.size(), 2u);
    std::filesystem::remove(documents[0]);
    std::filesystem::remove(documents[1]);

    const auto findings = ArchiveCheck(*session).run();
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].kind, "documento");
    EXPECT_EQ(findings[0].archive, kForn2024);
    EXPECT_EQ(findings[0].problem.rfind("2 documenti mancano (il primo: ", 0), 0u) << findings[0].problem;
    EXPECT_FALSE(findings[0].fix);
}

}  // namespace
}  // namespace zq::test
