// Year duplication on demo installations: the year area "2024" duplicated into "2025".

#include "dup_fixture.h"
#include "forwarding_archive.h"

#include "common/error.h"
#include "dataaccess/sql_text.h"
#include "duplication/year_copy_run.h"
#include "linking/link_names.h"
#include "runtime/text.h"

#include <filesystem>

namespace zq::test {
namespace {

namespace fs = std::filesystem;

class YearCopyTest : public DupTest {
protected:
    YearCopyRequest request(const std::string& year = "2025") {
        YearCopyRequest r;
        YearCopyRun::childAreasOf(*session, 4, r.childAreas);
        r.newYearName = "2025";
        r.parentFolder = (home() / "documenti").string();
        r.yearText = year;
        return r;
    }
    void allowYear(const std::string& ditt, int year, const char* active) {
        session->ConnDitt(ditt);
        session->CnnDitt->execute("INSERT INTO regditta VALUES (" + std::to_string(year) + ", " + sqlQuote(active) +
                                  ", '01')");
    }
    std::vector<std::vector<std::string>> copiesIn(const std::string& area) {
        return archiveRows("SELECT DB_ELENCO.ARCHIVIO, DB_ELENCO.SYS_SERIALE, DB_ELENCO.sys_path_docs FROM DB_ELENCO "
                           "INNER JOIN AREE ON DB_ELENCO.ID_AREA = AREE.ID_AREA INNER JOIN AREE AS Y ON AREE.ID_PARENT = "
                           "Y.ID_AREA WHERE Y.AREA = '2025' AND AREE.AREA = " +
                           sqlQuote(area) + " ORDER BY DB_ELENCO.ARCHIVIO");
    }
    CountingProgress progress;
};

/// Refuses the first opening of DB_ELENCO, after the year's AREE row was written.
class ElencoRefusedOnce final : public ForwardingArchive {
public:
    using ForwardingArchive::ForwardingArchive;
    RecordsetPtr openTable(const std::string& n) override {
        if (n == "DB_ELENCO" && !refused_) {
            refused_ = true;
            throw Error(3010, "table refused by the test", "test");
        }
        return ForwardingArchive::openTable(n);
    }

private:
    bool refused_ = false;
};

TEST_F(YearCopyTest, RetryAfterTheYearRowWasWrittenAddsNoSecondYear) {
    dialogs.then(Answer::No).then(Answer::Retry);
    const auto result = YearCopyRun(*session, progress, {}, {}, [](const std::string& path) -> std::unique_ptr<ArchiveDatabase> {
                            return std::make_unique<ElencoRefusedOnce>(ArchiveDatabase::open(path));
                        }).cmdCopy_Click(request());
    ASSERT_TRUE(result.completed);
    EXPECT_EQ(archiveRows("SELECT COUNT(*) FROM AREE WHERE AREA = '2025'")[0][0], "1");
    EXPECT_EQ(copiesIn("Fatture Acquisto").size(), 2u);
}

TEST_F(YearCopyTest, DuplicatesTheYearAreaWithLinksForTheNewYear) {
    linkArchive(kForn2024, "M", "01");
    linkArchive(kClie2024, "M", "02");
    linkArchive(kCorr2024, "A", "");
    allowYear("001", 2025, "S");
    session->ConnDitt("");  // the run finds the company database by the registry
    dialogs.then(Answer::Yes);
    const auto result = YearCopyRun(*session, progress).cmdCopy_Click(request());
    EXPECT_FALSE(session->CnnDitt);  // and leaves the pickers' connection as it found it

    ASSERT_TRUE(result.completed);
    EXPECT_EQ(result.areas, 2);
    EXPECT_EQ(result.copied, 3);
    EXPECT_EQ(result.linked, 2);
    EXPECT_EQ(result.leftOut, 1);
    EXPECT_EQ(dialogs.messages().back().text, "Duplicazione ANNO terminata.");
    EXPECT_EQ(dialogs.messages().back().title, "Duplicazione ANNUALITA'");
    EXPECT_EQ(progress.begun, 1);
    EXPECT_GE(progress.ended, 1);

    const std::string yearFolder = (home() / "documenti" / "2025").string() + "/";
    EXPECT_EQ(result.yearFolder, yearFolder);
    const auto year = archiveRows("SELECT ID_AREA, ID_PARENT FROM AREE WHERE AREA = '2025'");
    ASSERT_EQ(year.size(), 1u);
    EXPECT_EQ(year[0][1], "0");
    EXPECT_EQ(archiveRows("SELECT AREA FROM AREE WHERE ID_PARENT = " + year[0][0] + " ORDER BY AREA"),
              (std::vector<std::vector<std::string>>{{"Fatture Acquisto"}, {"Fatture Vendita"}}));

    const auto buy = copiesIn("Fatture Acquisto");
    ASSERT_EQ(buy.size(), 2u);
    EXPECT_EQ(buy[0][0], "Fatture Fornitori 2024");
    EXPECT_EQ(buy[0][2], yearFolder + "Fatt_Acqu/Fatt_Forn_2024/");
    EXPECT_EQ(buy[1][2], yearFolder + "Fatt_Acqu/Note_di_Cred_Forn_2024/");
    const auto sell = copiesIn("Fatture Vendita");
    ASSERT_EQ(sell.size(), 1u);  // Corrispettivi, linked as "A", is left out
    EXPECT_EQ(sell[0][0], "Fatture Clienti 2024");
    EXPECT_TRUE(fs::exists(fs::path(sell[0][2]) / "DURuv.id"));

    for (const auto& [serial, doc] : {std::pair{buy[0][1], "01"}, std::pair{sell[0][1], "02"}}) {
        SCOPED_TRACE(serial);
        EXPECT_TRUE(archiveDef(serial)->isLink());
        EXPECT_TRUE(archiveDef(LinkNames::sav(serial)));
        const auto reg = tarvRows("/usr/tarv/comune", "SELECT ditt, anno, tipo_ass, tipo_doc FROM ar_dbelenco WHERE "
                                                      "sys_seriale = " + sqlQuote(LinkNames::tarv(serial)));
        ASSERT_EQ(reg.size(), 1u);
        EXPECT_EQ(reg[0], (std::vector<std::string>{"001", "2025", "M", doc}));
        EXPECT_EQ(tarvRows("/usr/tarv/ditt001", "SELECT COUNT(*) FROM " + LinkNames::tarv(serial))[0][0], "0");
    }
    EXPECT_FALSE(archiveDef(buy[1][1])->isLink());
}

TEST_F(YearCopyTest, NoStillLeavesOutOtherArchivesAndCopiesTheRestLocally) {
    linkArchive(kForn2024, "M", "01");
    linkArchive(kCorr2024, "A", "");
    dialogs.then(Answer::No);
    const auto result = YearCopyRun(*session, progress).cmdCopy_Click(request());
    ASSERT_TRUE(result.completed);
    EXPECT_EQ(result.copied, 3);
    EXPECT_EQ(result.linked, 0);
    EXPECT_EQ(result.leftOut, 1);
    for (const auto& row : copiesIn("Fatture Acquisto")) EXPECT_FALSE(archiveDef(row[1])->isLink());
    EXPECT_EQ(tarvRows("/usr/tarv/comune", "SELECT COUNT(*) FROM ar_dbelenco")[0][0], "2");
}

TEST_F(YearCopyTest, CompanyNotActiveInTheYearCopiesWithoutLink) {
    linkArchive(kForn2024, "M", "01");
    allowYear("001", 2025, "N");
    dialogs.then(Answer::Yes);
    const auto result = YearCopyRun(*session, progress).cmdCopy_Click(request());
    EXPECT_EQ(result.linked, 0);
    EXPECT_EQ(result.copied, 4);
    EXPECT_FALSE(dialogs.saw("Non è possibile collegare"));
}

TEST_F(YearCopyTest, ParametersTakenSaySoAndCopyWithoutLink) {
    linkArchive(kForn2024, "M", "01");
    dialogs.then(Answer::Yes);
    const auto result = YearCopyRun(*session, progress).cmdCopy_Click(request("2024"));
    EXPECT_EQ(result.linked, 0);
    EXPECT_EQ(result.copied, 4);
    EXPECT_EQ(count("ATTENZIONE!\r\nNon è possibile collegare al TARV l'archivio\r\nFatture Fornitori 2024\r\n"), 1);
}

TEST_F(YearCopyTest, RefusalsWriteNothing) {
    struct Case {
        const char* what;
        std::string year;
        Answer answer;
        bool noAreas;
        const char* message;
    } cases[] = {
        {"year not a number", "20x5", Answer::No, false, "Devi selezionare un Esercizio!"},
        {"year with a decimal", "2025,5", Answer::Yes, false, "Devi selezionare un Esercizio!"},
        {"empty year with link", "", Answer::Yes, false, "Devi selezionare un Esercizio!"},
        {"cancel", "2025", Answer::Cancel, false, "Vuoi collegare le tabelle al TARV?"},
        {"no child areas", "2025", Answer::Yes, true, "Non ci sono aree da duplicare."},
    };
    const auto aree = archiveRows("SELECT COUNT(*) FROM AREE")[0][0];
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        dialogs.clear();
        auto r = request(c.year);
        if (c.noAreas) r.childAreas.clear();
        else dialogs.then(c.answer);
        const auto result = YearCopyRun(*session, progress).cmdCopy_Click(r);
        EXPECT_TRUE(result.enableButton);
        EXPECT_EQ(dialogs.messages().back().text, c.message);
        EXPECT_EQ(archiveRows("SELECT COUNT(*) FROM AREE")[0][0], aree);
        EXPECT_FALSE(fs::exists(home() / "documenti" / "2025"));
    }
    dialogs.clear();
    auto r = request();
    r.newYearName = " ";
    EXPECT_TRUE(YearCopyRun(*session, progress).cmdCopy_Click(r).enableButton);
    EXPECT_EQ(dialogs.texts(), (std::vector<std::string>{"Il nome del nuovo ANNO è obbligatorio."}));
    dialogs.clear();
    r.newYearName = "../2025";
    EXPECT_TRUE(YearCopyRun(*session, progress).cmdCopy_Click(r).enableButton);
    EXPECT_EQ(dialogs.texts(), (std::vector<std::string>{
                                   "Il nome del nuovo ANNO\r\n../2025\r\nnon può diventare il nome di una cartella:\r\n"
                                   "contiene caratteri non ammessi o porterebbe fuori dalla cartella di destinazione."}));
    EXPECT_EQ(archiveRows("SELECT COUNT(*) FROM AREE")[0][0], aree);
}

TEST_F(YearCopyTest, YearFolderThatCannotBeMadeStopsBeforeAnyRow) {
    dialogs.then(Answer::No);
    const auto aree = archiveRows("SELECT COUNT(*) FROM AREE")[0][0];
    auto r = request();
    r.parentFolder = "/proc";  // a folder in which not even root can make one
    const auto result = YearCopyRun(*session, progress).cmdCopy_Click(r);
    EXPECT_FALSE(result.completed);
    EXPECT_EQ(dialogs.messages().back().text,
              "Errore durante la creazione della cartella del nuovo ANNO.\r\nimpossibile continuare.");
    EXPECT_EQ(archiveRows("SELECT COUNT(*) FROM AREE")[0][0], aree);
    EXPECT_EQ(progress.ended, 1);
}

TEST_F(YearCopyTest, AreaAndArchiveNamesThatCannotBeFoldersAreLeftOut) {
    execArchive("UPDATE AREE SET AREA = '../Fatture Vendita' WHERE ID_AREA = 6");
    execArchive("UPDATE DB_ELENCO SET ARCHIVIO = '../../x' WHERE SYS_SERIALE = '2408010930133D4E'");
    dialogs.then(Answer::No);
    const auto result = YearCopyRun(*session, progress).cmdCopy_Click(request());
    ASSERT_TRUE(result.completed);
    EXPECT_EQ(result.areas, 1);
    EXPECT_EQ(result.copied, 1);
    EXPECT_EQ(result.skipped, 1);
    EXPECT_EQ(count("Il nome dell'area\r\n../Fatture Vendita\r\nnon può diventare il nome di una cartella:"), 1);
    EXPECT_EQ(count("Il nome dell'archivio\r\n../../x\r\nnon può diventare il nome di una cartella:"), 1);
    EXPECT_FALSE(fs::exists(home() / "documenti" / "F_Vend"));
    EXPECT_FALSE(fs::exists(home() / "documenti" / "2025" / "DURuv.id"));
}

TEST(YearCopyRules, WholeYearTexts) {
    EXPECT_EQ(YearCopyRun::wholeYear("2025"), 2025);
    EXPECT_EQ(YearCopyRun::wholeYear(" 2009 "), 2009);
    for (const char* text : {"", "-2025", "2025.0", "20250"}) EXPECT_FALSE(YearCopyRun::wholeYear(text)) << text;
}

}  // namespace
}  // namespace zq::test
