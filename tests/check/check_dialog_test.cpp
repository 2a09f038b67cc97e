// The check the program offers at start: nothing asked while the journal is clean; an
// unlink killed after its journal entry is found, and the repair completes it.

#include "dup_fixture.h"

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

}  // namespace
}  // namespace zq::test
