// Area duplication on demo installations: the new area, its folders and identity files,
// empty structure copies, DB_ELENCO rows, the copy links, and every refusal.

#include "dup_fixture.h"
#include "forwarding_archive.h"

#include "common/error.h"
#include "dataaccess/sql_text.h"
#include "duplication/area_copy_run.h"
#include "linking/archive_model.h"
#include "linking/link_names.h"
#include "runtime/format.h"
#include "runtime/text.h"

#include <filesystem>
#include <sstream>

#include "process_run.h"

namespace zq::test {
namespace {

namespace fs = std::filesystem;

// Fields and indexes with all a structure copy keeps, one line each.
std::string shape(const TableDef& t) {
    std::ostringstream s;
    for (const auto& f : t.fields) s << f.name << ' ' << f.type << ' ' << f.size << ' ' << f.attributes << ' ' << f.required << '\n';
    for (const auto& i : t.indexes) {
        s << i.name << ' ' << i.primary << i.unique;
        for (const auto& f : i.fields) s << ' ' << f;
        s << '\n';
    }
    return s.str();
}

/// The archive database refusing the next `failures` table creations, or (with
/// `opening`) the next `failures` openings of that table.
class RefusingArchive final : public ForwardingArchive {
public:
    RefusingArchive(std::unique_ptr<ArchiveDatabase> inner, int& failures, std::string opening = {})
        : ForwardingArchive(std::move(inner)), failures_(failures), opening_(std::move(opening)) {}
    void createTable(const TableDef& d) override {
        if (opening_.empty() && failures_ > 0 && failures_--) throw Error(3010, "table refused by the test", "test");
        ForwardingArchive::createTable(d);
    }
    RecordsetPtr openTable(const std::string& n) override {
        if (n == opening_ && failures_ > 0 && failures_--) throw Error(3010, "table refused by the test", "test");
        return ForwardingArchive::openTable(n);
    }

private:
    int& failures_;
    std::string opening_;
};

class AreaCopyTest : public DupTest {
protected:
    AreaCopyRequest request(const std::string& name = "Fatture Acquisto 2025") {
        AreaCopyRequest r;
        r.newAreaName = name;
        r.parentFolder = (home() / "documenti").string();
        r.parentAreaId = 4;
        r.companyIndex = 0;
        r.companyCode = "001";
        r.yearIndex = 0;
        r.yearText = "2023";
        r.arAttiva = true;
        return r;
    }
    std::vector<CopyRow> list(long area) {
        ArchiveModel model;
        return AreaCopyRun::LeggList(*session, model, area);
    }
    /// Copies the area 5 list as LeggList gives it (into `entries`).
    AreaCopyResult copy(const AreaCopyRequest& r) {
        entries = list(5);
        return AreaCopyRun(*session).cmdCopy_Click(r, entries);
    }
    /// The same through an archive file that refuses the next `failures` table creations.
    AreaCopyResult runWith(int failures, std::string opening = {}) {
        failures_ = failures;
        AreaCopyRequest r;
        r.newAreaName = "Copia";
        r.parentFolder = (home() / "documenti").string();
        entries = list(5);
        AreaCopyRun run(*session, {}, {}, [this, opening](const std::string& path) -> std::unique_ptr<ArchiveDatabase> {
            return std::make_unique<RefusingArchive>(ArchiveDatabase::open(path), failures_, opening);
        });
        return run.cmdCopy_Click(r, entries);
    }
    long areeCount() { return std::stol(archiveRows("SELECT COUNT(*) FROM AREE")[0][0]); }
    long elencoCount() { return std::stol(archiveRows("SELECT COUNT(*) FROM DB_ELENCO")[0][0]); }
    std::vector<CopyRow> entries;
    int failures_ = 0;
};

TEST_F(AreaCopyTest, ListOfAnAreaMarksLinkedArchives) {
    linkArchive(kForn2024, "M", "01");
    entries = list(5);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].Archivio, "Fatture Fornitori 2024");
    EXPECT_EQ(entries[0].Tabella, kForn2024);
    EXPECT_TRUE(entries[0].Collegata);
    EXPECT_TRUE(entries[0].Selez);
    EXPECT_EQ(entries[1].Archivio, "Note di Credito Fornitori 2024");
    EXPECT_FALSE(entries[1].Collegata);
    EXPECT_EQ(AreaCopyRun::listQuery(5), "SELECT *  FROM DB_ELENCO WHERE ID_AREA = 5 ORDER BY ARCHIVIO");
}

TEST_F(AreaCopyTest, DuplicatesAnAreaWithLinkedArchivesAndLinksTheCopies) {
    linkArchive(kForn2024, "M", "01");
    dialogs.then(Answer::Yes);
    const auto result = copy(request());
    ASSERT_TRUE(result.completed);
    EXPECT_TRUE(result.linkTarv);
    EXPECT_EQ(result.copied, 2);
    EXPECT_EQ(result.linked, 1);
    EXPECT_EQ(dialogs.messages().front().text, "Vuoi collegare le tabelle al TARV?");
    EXPECT_EQ(dialogs.messages().front().buttons, Buttons::YesNoCancel);
    EXPECT_EQ(dialogs.messages().back().text, "Duplicazione AREA terminata.");
    EXPECT_EQ(dialogs.messages().back().title, "Duplicazione AREE");

    // The new area under its parent, and its folder.
    const auto area = archiveRows("SELECT ID_AREA, AREA, ID_PARENT FROM AREE WHERE ID_AREA = " +
                                  std::to_string(result.newAreaId));
    ASSERT_EQ(area.size(), 1u);
    EXPECT_EQ(area[0][1], "Fatture Acquisto 2025");
    EXPECT_EQ(area[0][2], "4");
    const std::string areaFolder = (home() / "documenti" / "Fatt_Acqu_2025").string() + "/";
    EXPECT_EQ(result.areaFolder, areaFolder);

    for (const auto& e : entries) {
        SCOPED_TRACE(e.Archivio);
        ASSERT_TRUE(ArchiveSerial::wellFormed(e.Seriale)) << e.Seriale;
        const auto row = archiveRows("SELECT ID_AREA, ARCHIVIO, CREAZIONE, sys_path_docs, SYS_VERSIONE, anno, tipo_doc, "
                                     "tipo_arch, ID_UTENTE, CODFIS FROM DB_ELENCO WHERE SYS_SERIALE = " +
                                     sqlQuote(e.Seriale));
        ASSERT_EQ(row.size(), 1u);
        EXPECT_EQ(row[0], (std::vector<std::string>{std::to_string(result.newAreaId), e.Archivio,
                                                    formatValue(Value(e.DataCrea), "dd/mm/yyyy"), e.Cartella, "900", "0",
                                                    "0", "5", "1", ""}));
        EXPECT_EQ(readFile(fs::path(e.Cartella) / "DURuv.id"),
                  "\r\n" + e.Seriale + "\r\n" + e.Archivio + "\r\n" + formatValue(Value(e.DataCrea), "dd/mm/yyyy") +
                      "\r\n\r\n\r\n\r\n");
        // Same fields and indexes as the source, no rows.
        const auto source = archiveDef(e.Collegata ? e.Tabella + "_sav" : e.Tabella);
        const auto copy = archiveDef(e.Collegata ? LinkNames::sav(e.Seriale) : e.Seriale);
        ASSERT_TRUE(source && copy);
        EXPECT_EQ(shape(*copy), shape(*source));
        EXPECT_EQ(archiveRows("SELECT COUNT(*) FROM [" + e.Seriale + "]")[0][0], "0");
    }
    EXPECT_EQ(entries[0].Cartella, areaFolder + "Fatt_Forn_2024/");
    EXPECT_EQ(entries[1].Cartella, areaFolder + "Note_di_Cred_Forn_2024/");

    // The linked source's copy is linked: TARV table, link, registry row.
    const auto& linked = entries[0];
    const auto link = archiveDef(linked.Seriale);
    ASSERT_TRUE(link);
    EXPECT_TRUE(link->isLink());
    EXPECT_EQ(link->sourceTableName, "a" + vbLCase(linked.Seriale));
    EXPECT_EQ(tarvRows("/usr/tarv/ditt001", "SELECT COUNT(*) FROM a" + vbLCase(linked.Seriale))[0][0], "0");
    const auto reg = tarvRows("/usr/tarv/comune", "SELECT ditt, anno, tipo_ass, tipo_doc, sys_path_docs FROM ar_dbelenco "
                                                  "WHERE sys_seriale = " + sqlQuote("a" + vbLCase(linked.Seriale)));
    ASSERT_EQ(reg.size(), 1u);
    EXPECT_EQ(reg[0], (std::vector<std::string>{"001", "2023", "M", "01",
                                                ArchiveModel::PathServ(linked.Cartella, session->cfg)}));
    // The unlinked source's copy stays a plain table with no registry row.
    EXPECT_FALSE(archiveDef(entries[1].Seriale)->isLink());
    EXPECT_TRUE(tarvRows("/usr/tarv/comune", "SELECT * FROM ar_dbelenco WHERE sys_seriale = " +
                                                 sqlQuote("a" + vbLCase(entries[1].Seriale)))
                    .empty());
}

TEST_F(AreaCopyTest, NoToTheLinkQuestionCopiesLinkedArchivesAsLocalTables) {
    linkArchive(kForn2024, "M", "01");
    dialogs.then(Answer::No);
    const auto result = copy(request());
    ASSERT_TRUE(result.completed);
    EXPECT_FALSE(result.linkTarv);
    EXPECT_EQ(result.copied, 2);
    EXPECT_EQ(result.linked, 0);
    for (const auto& e : entries) {
        const auto def = archiveDef(e.Seriale);
        ASSERT_TRUE(def);
        EXPECT_FALSE(def->isLink());
        EXPECT_FALSE(archiveDef(LinkNames::sav(e.Seriale)));
    }
    EXPECT_EQ(tarvRows("/usr/tarv/comune", "SELECT COUNT(*) FROM ar_dbelenco")[0][0], "1");
}

TEST_F(AreaCopyTest, WithoutLinkedArchivesNoQuestionAndNoCompanyNeeded) {
    AreaCopyRequest r = request();
    r.companyIndex = r.yearIndex = -1;
    r.arAttiva = false;
    const auto result = copy(r);
    ASSERT_TRUE(result.completed);
    EXPECT_EQ(result.copied, 2);
    EXPECT_EQ(dialogs.texts(), (std::vector<std::string>{"Duplicazione AREA terminata."}));
}

TEST_F(AreaCopyTest, LinkedSourceWhoseSetAsideTableIsMissingIsSkipped) {
    linkArchive(kForn2024, "M", "01");
    {
        auto db = ArchiveDatabase::open(session->cfg.PathArch);
        db->renameTable(LinkNames::sav(kForn2024), "lost_table");
        db->close();
    }
    dialogs.then(Answer::Yes);
    const auto result = copy(request());
    EXPECT_EQ(result.skipped, 1);
    EXPECT_EQ(result.copied, 1);
    EXPECT_TRUE(dialogs.saw("Impossiile trovare la tabella origine dell'archivio\r\nFatture Fornitori 2024\r\n"
                            "La tabella non è stata duplicata."));
    EXPECT_TRUE(archiveRows("SELECT * FROM DB_ELENCO WHERE SYS_SERIALE = " + sqlQuote(entries[0].Seriale)).empty());
}

TEST_F(AreaCopyTest, SourceWithoutRegistryRowIsLinkedAsOtherWithYear9999) {
    linkArchive(kForn2024, "M", "01");
    session->CnnTarv->execute("DELETE FROM ar_dbelenco");
    dialogs.then(Answer::Yes);
    const auto result = copy(request());
    ASSERT_EQ(result.linked, 1);
    EXPECT_EQ(entries[0].TipoAss, "A");
    EXPECT_EQ(entries[0].TipoDocu, "");
    const auto reg = tarvRows("/usr/tarv/comune", "SELECT ditt, anno, tipo_ass, tipo_doc FROM ar_dbelenco");
    ASSERT_EQ(reg.size(), 1u);
    EXPECT_EQ(reg[0], (std::vector<std::string>{"001", "9999", "A", ""}));
}

TEST_F(AreaCopyTest, ParametersAlreadyLinkedLeaveTheCopyUnlinked) {
    linkArchive(kForn2024, "M", "01");
    AreaCopyRequest r = request();
    r.yearText = "2024";  // the source's own year and type
    dialogs.then(Answer::Yes);
    const auto result = copy(r);
    EXPECT_EQ(result.copied, 2);
    EXPECT_EQ(result.linked, 0);
    EXPECT_TRUE(dialogs.saw("ATTENZIONE!\r\nNon è possibile collegare al TARV l'archivio\r\nFatture Fornitori 2024\r\n"
                            "Esiste già un'altra tabella collegata\r\ncon gli stessi parametri."));
    EXPECT_FALSE(archiveDef(entries[0].Seriale)->isLink());
    EXPECT_EQ(archiveRows("SELECT COUNT(*) FROM DB_ELENCO WHERE SYS_SERIALE = " + sqlQuote(entries[0].Seriale))[0][0], "1");
    EXPECT_EQ(tarvRows("/usr/tarv/comune", "SELECT COUNT(*) FROM ar_dbelenco")[0][0], "1");
}

struct Refusal {
    const char* what;
    void (*change)(AreaCopyRequest&, std::vector<CopyRow>&);
    std::vector<Answer> answers;
    const char* message;
    Icon icon;
};

TEST_F(AreaCopyTest, ChecksStopBeforeAnythingChanges) {
    linkArchive(kForn2024, "M", "01");
    const Refusal cases[] = {
        {"no name", [](AreaCopyRequest& r, std::vector<CopyRow>&) { r.newAreaName = "   "; }, {},
         "Il nome dell'AREA nuova è obbligatorio.", Icon::Information},
        {"no folder", [](AreaCopyRequest& r, std::vector<CopyRow>&) { r.parentFolder = " "; }, {},
         "Il percorso dell'area PARENT è obbligatorio.", Icon::Information},
        {"missing folder", [](AreaCopyRequest& r, std::vector<CopyRow>&) { r.parentFolder += "/nowhere"; }, {},
         "Percorso dell'area PARENT inesistente", Icon::Information},
        {"nothing ticked", [](AreaCopyRequest&, std::vector<CopyRow>& e) { for (auto& x : e) x.Selez = false; }, {},
         "Devi selezionare un archivio!", Icon::Exclamation},
        {"no company", [](AreaCopyRequest& r, std::vector<CopyRow>&) { r.companyIndex = -1; }, {Answer::Yes},
         "Devi selezionare una Ditta!", Icon::Information},
        {"no year", [](AreaCopyRequest& r, std::vector<CopyRow>&) { r.yearIndex = -1; }, {Answer::Yes},
         "Devi selezionare un Esercizio!", Icon::Information},
        {"company may not link", [](AreaCopyRequest& r, std::vector<CopyRow>&) { r.arAttiva = false; }, {Answer::Yes},
         "La Ditta selezionata non prevede\r\nil collegamento ad QUIRNOVA!", Icon::Exclamation},
        {"cancel", [](AreaCopyRequest&, std::vector<CopyRow>&) {}, {Answer::Cancel}, "Vuoi collegare le tabelle al TARV?",
         Icon::Question},
        {"area name leaving its folder", [](AreaCopyRequest& r, std::vector<CopyRow>&) { r.newAreaName = "../../../escape"; },
         {}, "Il nome dell'AREA nuova\r\n../../../escape\r\nnon può diventare il nome di una cartella:\r\n"
             "contiene caratteri non ammessi o porterebbe fuori dalla cartella di destinazione.", Icon::Exclamation},
        {"archive name leaving its folder", [](AreaCopyRequest&, std::vector<CopyRow>& e) { e[1].Archivio = "..\\x"; }, {},
         "Il nome dell'archivio\r\n..\\x\r\nnon può diventare il nome di una cartella:\r\n"
         "contiene caratteri non ammessi o porterebbe fuori dalla cartella di destinazione.", Icon::Exclamation},
    };
    const long aree = areeCount(), elenco = elencoCount();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        dialogs.clear();
        entries = list(5);
        AreaCopyRequest r = request();
        c.change(r, entries);
        for (Answer a : c.answers) dialogs.then(a);
        const auto result = AreaCopyRun(*session).cmdCopy_Click(r, entries);
        EXPECT_TRUE(result.enableButton);
        EXPECT_FALSE(result.completed);
        ASSERT_FALSE(dialogs.messages().empty());
        EXPECT_EQ(dialogs.messages().back().text, c.message);
        EXPECT_EQ(dialogs.messages().back().icon, c.icon);
        EXPECT_EQ(areeCount(), aree);
        EXPECT_EQ(elencoCount(), elenco);
        EXPECT_FALSE(fs::exists(home() / "documenti" / "Fatt_Acqu_2025"));
    }
    auto none = std::vector<CopyRow>{};
    EXPECT_TRUE(AreaCopyRun(*session).cmdCopy_Click(request(), none).enableButton);
}

TEST_F(AreaCopyTest, AreaFolderThatCannotBeMadeEndsTheRunBeforeAnyRow) {
    AreaCopyRequest r = request();
    r.parentFolder = "/proc";  // a folder in which not even root can make one
    const long aree = areeCount();
    const auto result = copy(r);
    EXPECT_FALSE(result.completed);
    EXPECT_FALSE(result.enableButton);
    EXPECT_EQ(dialogs.texts(), (std::vector<std::string>{
                                   "Errore durante la creazione della cartella della nuova AREA.\r\nimpossibile continuare."}));
    EXPECT_EQ(dialogs.messages()[0].icon, Icon::Critical);
    EXPECT_EQ(areeCount(), aree);
}

TEST_F(AreaCopyTest, EveryCopyGetsAFolderOfItsOwnAndNoIdentityFileIsOverwritten) {
    // "Documenti Societari" again under its own parent folder: the abbreviation is the
    // source area's folder, and an edited name abbreviates as another archive's does.
    const fs::path sourceId = home() / "documenti" / "Docu_Soci" / "Verb_Asse" / "DURuv.id";
    const std::string before = readFile(sourceId);
    entries = list(7);  // Contratti, Statuti, Verbali Assemblea
    entries[1].Archivio = "Verbali Assemblee";
    const auto result = AreaCopyRun(*session).cmdCopy_Click(request("Documenti Societari"), entries);
    ASSERT_EQ(result.copied, 3) << ::testing::PrintToString(dialogs.texts());
    const std::string area = (home() / "documenti" / "Docu_Soci_2").string() + "/";
    EXPECT_EQ(result.areaFolder, area);
    EXPECT_EQ(entries[0].Cartella, area + "Cont/");
    EXPECT_EQ(entries[1].Cartella, area + "Verb_Asse/");
    EXPECT_EQ(entries[2].Cartella, area + "Verb_Asse_2/");
    for (const auto& e : entries) EXPECT_NE(readFile(fs::path(e.Cartella) / "DURuv.id").find(e.Seriale), std::string::npos);
    EXPECT_EQ(readFile(sourceId), before);
}

TEST_F(AreaCopyTest, CopiesWithinOneSecondGetDifferentSerialsEvenWhenTheDigitsCollide) {
    const DateTime moment{2008, 12, 31, 23, 59, 59};
    // The first draw meets a table that already exists, the second repeats the first
    // copy's digits: both are drawn again.
    {
        auto db = ArchiveDatabase::open(session->cfg.PathArch);
        auto def = *db->tableDef(kNote2024);
        def.name = "083112235959000A";
        db->createTable(def);
        db->close();
    }
    std::vector<unsigned> draws = {0x0A, 0x0B, 0x0B, 0x0C};
    std::size_t next = 0;
    entries = list(5);
    const auto result = AreaCopyRun(*session, [&] { return draws.at(next++); }, [&] { return moment; })
                            .cmdCopy_Click(request(), entries);
    ASSERT_EQ(result.copied, 2);
    EXPECT_EQ(entries[0].Seriale, "083112235959000B");
    EXPECT_EQ(entries[1].Seriale, "083112235959000C");
}

TEST_F(AreaCopyTest, EditedNameIsTheCopysNameAndFolder) {
    entries = list(5);
    entries[1].Selez = false;
    entries[0].Archivio = "Doc_Vari";
    const auto result = AreaCopyRun(*session).cmdCopy_Click(request("Doc_Vari"), entries);
    ASSERT_EQ(result.copied, 1);
    EXPECT_EQ(entries[0].Cartella, (home() / "documenti" / "Doc_Vari" / "Doc_").string() + "/");
    EXPECT_EQ(archiveRows("SELECT ARCHIVIO FROM DB_ELENCO WHERE SYS_SERIALE = " + sqlQuote(entries[0].Seriale))[0][0],
              "Doc_Vari");
    EXPECT_TRUE(entries[1].Seriale.empty());
}

TEST_F(AreaCopyTest, RefusedTableGoesToTheErrorReportAndIgnoreLeavesNoRow) {
    dialogs.then(Answer::Ignore);
    const auto result = runWith(1);
    ASSERT_TRUE(result.completed);
    EXPECT_EQ(result.stopped, 1);
    EXPECT_EQ(result.copied, 1);
    const auto& report = dialogs.messages().at(0);
    EXPECT_EQ(report.title, "zel_QUIRNOVA: Errore non previsto.");
    EXPECT_EQ(report.buttons, Buttons::AbortRetryIgnore);
    EXPECT_NE(report.text.find("nel modulo: frmCopy,\r\nalla routine: CreaCopy,"), std::string::npos) << report.text;
    // The refused copy has no DB_ELENCO row and no table; the next archive is made.
    EXPECT_TRUE(archiveRows("SELECT * FROM DB_ELENCO WHERE SYS_SERIALE = " + sqlQuote(entries[0].Seriale)).empty());
    EXPECT_FALSE(archiveDef(entries[0].Seriale));
    EXPECT_TRUE(archiveDef(entries[1].Seriale));
}

TEST_F(AreaCopyTest, RetryRunsTheStepAgain) {
    dialogs.then(Answer::Retry);
    const auto result = runWith(1);
    EXPECT_EQ(result.copied, 2);
    EXPECT_EQ(result.stopped, 0);
    EXPECT_EQ(archiveRows("SELECT COUNT(*) FROM DB_ELENCO WHERE SYS_SERIALE = " + sqlQuote(entries[0].Seriale))[0][0], "1");
}

TEST_F(AreaCopyTest, RetryAfterTheAreaRowWasWrittenAddsNoSecondArea) {
    const long before = areeCount();
    dialogs.then(Answer::Retry);
    const auto result = runWith(1, "DB_ELENCO");
    EXPECT_EQ(result.copied, 2);
    EXPECT_EQ(areeCount(), before + 1);
}

TEST_F(AreaCopyTest, AbortEndsTheProgram) {
    dialogs.then(Answer::Abort);
    EXPECT_THROW(runWith(1), AbortProgram);
}

}  // namespace
}  // namespace zq::test
