// Area grouping on demo installations: the grouping archive made and linked, every
// record and document file copied under its new number, refusals, and recovery.

#include "dup_fixture.h"

#include "app/config_file.h"
#include "dataaccess/sql_text.h"
#include "duplication/group_params.h"
#include "duplication/group_run.h"
#include "linking/archive_model.h"
#include "linking/link_names.h"
#include "runtime/text.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "process_run.h"

namespace zq::test {
namespace {

namespace fs = std::filesystem;

class GroupTest : public DupTest {
protected:
    void SetUp() override {
        DupTest::SetUp();
        // kForn2024 linked, its rows moved to TARV; the others only registered (their
        // rows local, as during pre-mastering).
        linkArchive(kForn2024, "M", "01");
        execArchive("INSERT INTO [" + std::string(kForn2024) + "] SELECT * FROM [" + LinkNames::sav(kForn2024) + "]");
        registerOnly(kForn2023, "2023", "01");
        registerOnly(kNote2024, "2024", "03");
        session->ConnDitt("001");
    }
    void registerOnly(const std::string& serial, const std::string& year, const std::string& doc) {
        session->CnnTarv->execute("INSERT INTO ar_dbelenco VALUES('001', " + year + ", 'M', " + sqlQuote(doc) + ", " +
                                  sqlQuote(LinkNames::tarv(serial)) + ", 'x')");
    }
    GroupRequest request() {
        GroupRequest r;
        r.companyIndex = 0;
        r.company = Lookups::Ditta{"001", "Rossi Mario & Figli srl", "2024", "01234560355"};
        r.arAttiva = true;
        return r;
    }
    std::vector<GrupRow> ticked(std::initializer_list<long> ids) {
        auto list = GroupRun::LeggList(*session);
        for (auto& e : list)
            for (long id : ids)
                if (e.Id_Area == id) e.Selez = true;
        return list;
    }
    GroupResult run(std::initializer_list<long> ids) {
        return GroupRun(*session, progress).cmdGrup_Click(request(), ticked(ids));
    }
    /// The first value of a query on the company database.
    std::string dittValue(const std::string& sql) { return tarvRows("/usr/tarv/ditt001", sql).at(0).at(0); }
    /// Grouped records: numero_doc|anno|tipo_doc -> sys_record, sys_filename.
    std::map<std::string, std::pair<long, std::string>> grouped(const std::string& g) {
        std::map<std::string, std::pair<long, std::string>> out;
        for (const auto& r : tarvRows("/usr/tarv/ditt001", "SELECT numero_doc, anno, tipo_doc, sys_record, sys_filename FROM " +
                                                               LinkNames::tarv(g)))
            out[r[0] + "|" + r[1] + "|" + r[2]] = {std::stol(r[3]), r[4]};
        return out;
    }
    /// Checks that every record of `serial` (rows read through the archive file) is in
    /// the grouping table once, with its document file copied byte for byte.
    void expectGrouped(const std::string& serial, const std::string& year, const std::string& doctype,
                       const GroupResult& result) {
        SCOPED_TRACE(serial);
        const auto all = grouped(result.table);
        const auto docs = archiveRows("SELECT sys_path_docs FROM DB_ELENCO WHERE SYS_SERIALE = " + sqlQuote(vbUCase(serial)))[0][0];
        for (const auto& r : archiveRows("SELECT numero_doc, sys_record, sys_filename FROM [" + serial + "]")) {
            SCOPED_TRACE(r[0]);
            const auto it = all.find(r[0] + "|" + year + "|" + doctype);
            ASSERT_NE(it, all.end());
            const long m = it->second.first;
            char name[32];
            std::snprintf(name, sizeof name, "%08ld.pdf", m);
            EXPECT_EQ(it->second.second, name);
            const std::string source = ArchiveModel::PathDocs(docs, std::stol(r[1])) + r[2];
            const std::string target = ArchiveModel::PathDocs(result.folder, m) + name;
            ASSERT_TRUE(fs::exists(target)) << target;
            EXPECT_EQ(readFile(target), readFile(source));
        }
    }
    CountingProgress progress;
};

TEST_F(GroupTest, GroupsTwoAreasIntoANewLinkedGroupingArchive) {
    const Value large(*Currency::parse("99999999999999,99"));  // one digit more than a double holds
    ArchiveDatabase::open(session->cfg.PathArch)
        ->connection()
        .execute("UPDATE [" + std::string(kForn2023) + "] SET importo = ? WHERE sys_record = 1", {large});
    const auto result = run({2, 5});
    ASSERT_TRUE(result.completed) << ::testing::PrintToString(dialogs.texts());
    EXPECT_TRUE(result.created);
    EXPECT_EQ(result.archives, 3);
    EXPECT_EQ(result.records, 10);
    EXPECT_EQ(result.files, 10);
    EXPECT_EQ(result.fileErrors, 0);
    EXPECT_EQ(dialogs.messages().back().text, "Raggruppamento AREE terminata.");
    EXPECT_EQ(dialogs.messages().back().title, "Duplicazione AREE");
    EXPECT_EQ(progress.begun, 1);
    EXPECT_GE(progress.ended, 1);
    EXPECT_EQ(progress.last, 10);

    // The grouping archive: in the grouping area, with the company's tax code, linked.
    const std::string folder = (home() / "documenti" / "Raggruppamenti" / "001_Rossi_Mari").string() + "/";
    EXPECT_EQ(result.folder, folder);
    const auto row = archiveRows("SELECT ID_AREA, ARCHIVIO, sys_path_docs, anno, CODFIS FROM DB_ELENCO WHERE SYS_SERIALE = " +
                                 sqlQuote(vbUCase(result.table)));
    ASSERT_EQ(row.size(), 1u);
    EXPECT_EQ(row[0], (std::vector<std::string>{"8", "DAV-Rossi Mario & Figli srl", folder, "9999", "01234560355"}));
    EXPECT_TRUE(fs::exists(fs::path(folder) / "DURuv.id"));
    const auto def = archiveDef(result.table);
    ASSERT_TRUE(def && def->isLink());
    const auto local = archiveDef(LinkNames::sav(result.table));
    ASSERT_TRUE(local);
    EXPECT_EQ(local->fields[0].name, "anno");
    EXPECT_EQ(local->fields[0].type, dbInteger);
    EXPECT_EQ(local->fields[1].name, "tipo_doc");
    EXPECT_EQ(local->fields[1].type, dbDouble);
    EXPECT_EQ(local->fields[2].name, "sys_record");
    const auto pk = std::find_if(local->indexes.begin(), local->indexes.end(),
                                 [](const IndexDef& ix) { return vbLCase(ix.name) == "primario"; });
    ASSERT_NE(pk, local->indexes.end());
    EXPECT_EQ(pk->fields, (std::vector<std::string>{"anno", "cod_tipo_doc_f", "sys_record"}));
    const auto reg = tarvRows("/usr/tarv/comune", "SELECT ditt, anno, tipo_ass, tipo_doc, sys_path_docs FROM ar_dbelenco "
                                                  "WHERE sys_seriale = " + sqlQuote(LinkNames::tarv(result.table)));
    ASSERT_EQ(reg.size(), 1u);
    EXPECT_EQ(reg[0], (std::vector<std::string>{"001", "9999", "M", "Z", ArchiveModel::PathServ(folder, session->cfg)}));

    // Every record once, numbered 1..10, with its file.
    expectGrouped(kForn2023, "2023", "1", result);
    expectGrouped(kForn2024, "2024", "1", result);
    expectGrouped(kNote2024, "2024", "3", result);
    EXPECT_EQ(tarvRows("/usr/tarv/ditt001", "SELECT MIN(sys_record), MAX(sys_record), COUNT(*) FROM " +
                                                LinkNames::tarv(result.table))[0],
              (std::vector<std::string>{"1", "10", "10"}));
    // A quote and every digit of an amount survive; Null fields stay Null.
    const auto amounts = tarvRows("/usr/tarv/ditt001", "SELECT importo FROM " + LinkNames::tarv(result.table) +
                                                           " WHERE anno = 2023");
    EXPECT_EQ(std::count(amounts.begin(), amounts.end(), std::vector<std::string>{large.toText()}), 1);
    const std::string count = "SELECT COUNT(*) FROM " + LinkNames::tarv(result.table);
    EXPECT_EQ(dittValue(count + " WHERE note = 'Pagamento a 60 gg d.f. - l''IVA è in scissione dei pagamenti'"), "3");
    EXPECT_EQ(dittValue(count + " WHERE note IS NULL"), "7");
    // Nothing is removed from the sources.
    EXPECT_EQ(archiveRows("SELECT COUNT(*) FROM [" + std::string(kForn2023) + "]")[0][0], "4");
}

TEST_F(GroupTest, ModelIndexOnTheRecordNumberAloneIsNotMadeTwice) {
    // Informix refuses a second index over the same column list (-350).
    for (const std::string& t : {std::string(kForn2023), LinkNames::sav(kForn2024), std::string(kNote2024)})
        execArchive("CREATE UNIQUE INDEX [nrec_" + t + "] ON [" + t + "] (sys_record)");
    const auto result = run({2, 5});
    ASSERT_TRUE(result.completed) << ::testing::PrintToString(dialogs.texts());
    // primario, numero_doc and the model's own index on sys_record: nothing more.
    EXPECT_EQ(tarvRows("/usr/tarv/ditt001", "SELECT sysindexes.idxname FROM sysindexes, systables WHERE sysindexes.tabid = "
                                            "systables.tabid AND systables.tabname = " + sqlQuote(LinkNames::tarv(result.table)))
                  .size(),
              3u);
}

TEST_F(GroupTest, SecondRunRefusesEveryArchiveAlreadyGrouped) {
    const auto first = run({2, 5});
    ASSERT_TRUE(first.completed);
    dialogs.clear();
    const auto second = run({2, 5});
    ASSERT_TRUE(second.completed);
    EXPECT_FALSE(second.created);
    EXPECT_EQ(second.table, first.table);
    EXPECT_EQ(second.records, 0);
    EXPECT_EQ(second.refused, 3);
    EXPECT_EQ(count("La tabella di raggruppamento (" + first.table + ")\r\ncontiene già dei record con lo stesso anno e lo "
                    "stesso\r\ntipo documento della tabella "),
              3);
    EXPECT_EQ(dittValue("SELECT COUNT(*) FROM " + LinkNames::tarv(first.table)), "10");
}

TEST_F(GroupTest, RecordFromSubfolderTwoBecomes1500InSubfolderThree) {
    const auto first = run({2});
    ASSERT_TRUE(first.completed);
    // The grouping table has reached 1499; the Clienti 2023 archive holds record 1000,
    // whose file lies in subfolder 00000002.
    const std::string tarv = LinkNames::tarv(first.table);
    session->CnnDitt->execute("INSERT INTO " + tarv + " (anno, tipo_doc, sys_record, cod_tipo_doc_f) VALUES (1900, 99, 1499, 0)");
    const std::string clie = "2215032010161B2C";
    execArchive("DELETE FROM [" + clie + "]");
    execArchive("INSERT INTO [" + clie + "] (sys_record, sys_filename, numero_doc, cod_tipo_doc_f) VALUES (1000, '00001000.pdf', '1000/V', 2)");
    const std::string docs = archiveRows("SELECT sys_path_docs FROM DB_ELENCO WHERE SYS_SERIALE = '" + clie + "'")[0][0];
    fs::create_directories(docs + "00000002");
    std::ofstream(docs + "00000002/00001000.pdf", std::ios::binary) << "%PDF-1.4 record 1000";
    registerOnly(kClie2023, "2023", "02");
    dialogs.clear();
    const auto result = run({3});
    ASSERT_TRUE(result.completed);
    EXPECT_EQ(result.records, 1);
    const fs::path target = fs::path(first.folder) / "00000003" / "00001500.pdf";
    ASSERT_TRUE(fs::exists(target));
    EXPECT_EQ(readFile(target), "%PDF-1.4 record 1000");
    EXPECT_EQ(dittValue("SELECT sys_filename FROM " + tarv + " WHERE sys_record = 1500"), "00001500.pdf");
}

TEST_F(GroupTest, ArchiveWithoutRegistryRowIsWarnedAndNotGrouped) {
    session->CnnTarv->execute("DELETE FROM ar_dbelenco WHERE sys_seriale = " + sqlQuote(LinkNames::tarv(kNote2024)));
    const auto result = run({2, 5});
    ASSERT_TRUE(result.completed);
    EXPECT_EQ(result.archives, 2);
    EXPECT_EQ(result.records, 8);
    EXPECT_EQ(result.refused, 1);
    EXPECT_EQ(count("Attenzione! La tabella 2408010930133D4E\r\nnon risulta collegata\r\nné in fase di pre-masterizzazione."), 1);
    EXPECT_EQ(count("Attenzione! La tabella " + std::string(kNote2024) +
                    "\r\nnon risulta collegata\r\nné in fase di pre-masterizzazione.\r\n\r\nLa tabella non sarà raggruppata."),
              1);
}

TEST_F(GroupTest, RunStoppedHalfWayAndRunAgainLosesNothingAndDoublesNothing) {
    // A first run makes the grouping archive from area 3 and leaves the table at 495.
    registerOnly(kClie2023, "2023", "02");
    const auto first = run({3});
    ASSERT_TRUE(first.completed);
    const std::string tarv = LinkNames::tarv(first.table);
    session->CnnDitt->execute("INSERT INTO " + tarv + " (anno, tipo_doc, sys_record, cod_tipo_doc_f) VALUES (1900, 99, 495, 0)");
    // Records 496-499 of the 2023 purchases fit subfolder 00000000; the first record of
    // the next archive needs 00000001, which a file stands in the way of.
    const fs::path blocker = fs::path(first.folder) / "00000001";
    std::ofstream(blocker) << "in the way";
    dialogs.clear();
    const auto stopped = run({2, 5});
    EXPECT_FALSE(stopped.completed);
    EXPECT_TRUE(stopped.folderFailure);
    EXPECT_EQ(stopped.archives, 1);
    EXPECT_EQ(dialogs.messages().back().text,
              "Errore durante la creazione della cartella " + first.folder + "00000001/\r\n\r\nImpossibile continuare.");
    EXPECT_GE(progress.ended, 2);  // the wait window closed on the folder failure too
    // The half-grouped archive left nothing behind.
    EXPECT_EQ(dittValue("SELECT COUNT(*) FROM " + tarv + " WHERE anno = 2024"), "0");

    fs::remove(blocker);
    dialogs.clear();
    const auto again = run({2, 5});
    ASSERT_TRUE(again.completed);
    EXPECT_EQ(again.refused, 1);  // the 2023 purchases, grouped before the stop
    EXPECT_EQ(again.archives, 2);
    expectGrouped(kForn2023, "2023", "1", again);
    expectGrouped(kForn2024, "2024", "1", again);
    expectGrouped(kNote2024, "2024", "3", again);
    expectGrouped(kClie2023, "2023", "2", again);
    // 3 + 4 + 4 + 2 grouped records and the marker row, none twice.
    EXPECT_EQ(tarvRows("/usr/tarv/ditt001", "SELECT COUNT(*), COUNT(DISTINCT numero_doc || anno || tipo_doc) FROM " + tarv +
                                                " WHERE anno <> 1900")[0],
              (std::vector<std::string>{"13", "13"}));
}

TEST_F(GroupTest, ChecksStopBeforeAnythingIsWritten) {
    struct Case {
        const char* what;
        void (*change)(GroupRequest&, std::vector<GrupRow>&);
        const char* message;  ///< nullptr: no message at all
    } cases[] = {
        {"no company", [](GroupRequest& r, std::vector<GrupRow>&) { r.companyIndex = -1; }, "Devi selezionare una Ditta!"},
        {"company may not link", [](GroupRequest& r, std::vector<GrupRow>&) { r.arAttiva = false; }, nullptr},
        {"no tax code", [](GroupRequest& r, std::vector<GrupRow>&) { r.company.CodFisc.clear(); },
         "Codice fiscale ditta mancante.\r\n\r\nImpossibile continuare."},
        {"other tax code", [](GroupRequest& r, std::vector<GrupRow>&) { r.company.CodFisc = "99999999999"; },
         "Il codice fiscale nella tabella DB_ELENCO è\r\ndiverso da quello della ditta selezionata.\r\n\r\nImpossibile continuare."},
        {"other company", [](GroupRequest& r, std::vector<GrupRow>&) { r.company.Codice = "002"; },
         "Il codice ditta  nella tabella AR_DBELENCO è\r\ndiverso da quello della ditta selezionata.\r\n\r\nImpossibile continuare."},
        {"nothing ticked", [](GroupRequest&, std::vector<GrupRow>& e) { for (auto& x : e) x.Selez = false; },
         "Devi selezionare almeno un'area!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        dialogs.clear();
        auto r = request();
        auto entries = ticked({2, 5});
        c.change(r, entries);
        const auto result = GroupRun(*session, progress).cmdGrup_Click(r, entries);
        EXPECT_FALSE(result.completed);
        if (c.message) {
            ASSERT_FALSE(dialogs.messages().empty());
            EXPECT_EQ(dialogs.messages().back().text, c.message);
        } else {
            EXPECT_TRUE(dialogs.messages().empty());
        }
        EXPECT_EQ(archiveRows("SELECT COUNT(*) FROM DB_ELENCO WHERE ID_AREA = 8")[0][0], "0");
    }
    EXPECT_EQ(progress.begun, 0);
}

TEST_F(GroupTest, MissingYearInTheRegistryStops) {
    session->CnnTarv->execute("UPDATE ar_dbelenco SET anno = 0 WHERE sys_seriale = " + sqlQuote(LinkNames::tarv(kForn2023)));
    const auto result = run({2});
    EXPECT_FALSE(result.completed);
    EXPECT_EQ(dialogs.messages().back().text, "Anno mancante nella tabella AR_DBELENCO.\r\n\r\nImpossibile continuare.");
}

TEST_F(GroupTest, GroupingParametersZeroOrNoFolderRefuse) {
    for (auto [p1, p2] : {std::pair<std::string, std::string>{"0", "/x/"}, {"8", ""}, {"", "/x/"}, {"8; DROP", "/x/"}}) {
        SCOPED_TRACE(p1 + "|" + p2);
        dialogs.clear();
        session->cfg.GrpParm1 = p1;
        session->cfg.GrpParm2 = p2;
        EXPECT_FALSE(GroupParams::ready(session->cfg));
        const auto result = run({2});
        EXPECT_FALSE(result.completed);
        EXPECT_EQ(dialogs.texts(), (std::vector<std::string>{"Indicare l'area di raggruppamento e il relativo percorso."}));
    }
}

TEST_F(GroupTest, ExistingGroupingArchiveNotLinkedRefuses) {
    const auto first = run({2});
    ASSERT_TRUE(first.completed);
    {
        auto db = ArchiveDatabase::open(session->cfg.PathArch);
        db->deleteTable(first.table);
        db->close();
    }
    dialogs.clear();
    const auto result = run({5});
    EXPECT_FALSE(result.completed);
    EXPECT_EQ(dialogs.messages().back().text,
              "Attenzione! La tabella per il raggruppamento\r\nnon è collegata al TARV.\r\n\r\nImpossibile continuare.");
}

TEST_F(GroupTest, SecondGroupingArchiveForTheCompanyIsRefused) {
    session->CnnTarv->execute("INSERT INTO ar_dbelenco VALUES('001', 9999, 'M', 'Z', 'aother', 'x')");
    const auto result = run({2});
    EXPECT_FALSE(result.completed);
    EXPECT_EQ(dialogs.messages().back().text,
              "ATTENZIONE!\r\nNon è possibile collegare al TARV l'archivio\r\nDAV-Rossi Mario & Figli srl\r\n"
              "Esiste già un'altra tabella collegata\r\ncon gli stessi parametri.");
    EXPECT_EQ(archiveRows("SELECT COUNT(*) FROM DB_ELENCO WHERE ID_AREA = 8")[0][0], "0");
}

TEST_F(GroupTest, GroupingTableThatDoesNotNumberItsRecordsIsReportedAndLeftAsItWas) {
    // A grouping archive whose TARV table takes sys_record as given: every record would
    // come back as 0 and every file would be written as 00000000.pdf over the last.
    session->CnnDitt->execute(
        "CREATE TABLE agrp (anno SMALLINT, tipo_doc DECIMAL, sys_record INTEGER, sys_filename CHAR(100), "
        "sys_data_ins DATE, sys_utente CHAR(20), sys_pagine INTEGER, numero_doc CHAR(20), data_doc DATE, "
        "ragione_sociale CHAR(60), partita_iva CHAR(11), imponibile MONEY, importo MONEY, pagata SMALLINT, "
        "cod_tipo_doc_f SMALLINT, note CHAR(255))");
    const std::string folder = (home() / "documenti" / "Raggruppamenti" / "grp").string() + "/";
    {
        auto db = ArchiveDatabase::open(session->cfg.PathArch);
        db->createLink("grp", ArchiveModel::linkConnectString(session->cfg, session->DbDitt), "agrp");
        db->execute("ALTER TABLE grp ADD CONSTRAINT primario PRIMARY KEY (anno, cod_tipo_doc_f, sys_record)");
        db->execute("INSERT INTO DB_ELENCO (SYS_SERIALE, ID_AREA, ARCHIVIO, sys_path_docs, CODFIS) VALUES "
                    "('grp', 8, 'DAV-Rossi', " + sqlQuote(folder) + ", '01234560355')");
        db->close();
    }
    dialogs.then(Answer::Ignore);
    const auto result = run({2});
    ASSERT_TRUE(result.completed);
    EXPECT_EQ(result.table, "grp");
    EXPECT_EQ(result.archives, 0);
    EXPECT_TRUE(dialogs.saw("non numera i record inseriti")) << ::testing::PrintToString(dialogs.texts());
    EXPECT_EQ(dittValue("SELECT COUNT(*) FROM agrp"), "0");
    EXPECT_FALSE(fs::exists(folder + "00000000/00000000.pdf"));
}

TEST(GroupRunRules, FileNames) {
    EXPECT_EQ(GroupRun::groupedFileName(1500, "/d/00000002/00001000.pdf"), "00001500.pdf");
    EXPECT_EQ(GroupRun::groupedFileName(7, " /d/x.tiff "), "00000007tiff");
}

TEST(GroupParamsTest, ConfirmStoresTheFolderWithASeparatorAndKeepsTheOtherLines) {
    TempDir dir;
    const auto file = dir.path() / "zel_QUIRNOVA.CFG";
    Config cfg;
    cfg.PathTarv = "/usr/tarv/";
    cfg.PathArch = "/a/Vizidore.mdb";
    cfg.Utente = "tarv";
    cfg.Password = "pw";
    cfg.Server = "srv";
    cfg.GrpParm1 = "0";
    ConfigFile::write(file, cfg);
    ScriptedDialogs dialogs;
    Config loaded = GroupParams::load(file, Config{});
    EXPECT_EQ(GroupParams::preselected(loaded), 0);
    struct Case {
        const char* typed;
        const char* stored;
    } cases[] = {{"D:\\Ragg", "D:\\Ragg\\"}, {"D:\\Ragg   ", "D:\\Ragg\\"}, {"D:\\Ragg \\", "D:\\Ragg \\"},
                 {"/dati/ragg", "/dati/ragg/"}, {"/dati/ragg/", "/dati/ragg/"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        ASSERT_TRUE(GroupParams::confirm(dialogs, loaded, 8, c.typed, file));
        Config back = GroupParams::load(file, Config{});
        EXPECT_EQ(back.GrpParm1, "8");
        EXPECT_EQ(back.GrpParm2, c.stored);
        EXPECT_EQ(back.Password, "pw");
        EXPECT_EQ(back.PathArch, "/a/Vizidore.mdb");
        EXPECT_EQ(GroupParams::preselected(back), 8);
    }
    EXPECT_FALSE(GroupParams::confirm(dialogs, loaded, std::nullopt, "/x/", file));
    EXPECT_FALSE(GroupParams::confirm(dialogs, loaded, 8, "", file));
    EXPECT_EQ(dialogs.texts(), (std::vector<std::string>{"Indicare l'area e il relativo percorso.",
                                                         "Indicare l'area e il relativo percorso."}));
    EXPECT_EQ(dialogs.messages()[0].icon, Icon::Exclamation);
    EXPECT_EQ(dialogs.messages()[0].title, "Parametri Raggruppamento Aree");
    EXPECT_EQ(GroupParams::load(file, Config{}).GrpParm2, "/dati/ragg/");
}

TEST(GroupParamsTest, CancelledBrowseKeepsTheField) {
    ScriptedDialogs dialogs;
    dialogs.thenPick(std::nullopt);
    EXPECT_EQ(GroupParams::browse(dialogs, "/dati/ragg/"), "/dati/ragg/");
    dialogs.thenPick(std::string("/nuova"));
    EXPECT_EQ(GroupParams::browse(dialogs, "/dati/ragg/"), "/nuova");
}

TEST(GroupParamsTest, NoFileKeepsDefaultsAndGroupingOff) {
    TempDir dir;
    Config d;
    d.PathTarv = "/usr/tarv/";
    d.Password = "x";
    d.GrpParm1 = "5";
    const Config c = GroupParams::load(dir.path() / "none.CFG", d);
    EXPECT_EQ(c.PathTarv, "/usr/tarv/");
    EXPECT_EQ(c.Password, "");
    EXPECT_EQ(c.GrpParm1, "0");
    EXPECT_FALSE(GroupParams::ready(c));
}

// The first thing a user tries after linking: the four 2024 archives of company 001
// linked, records put in them through their links, and both areas grouped at once. The
// model, the receipts archive examined last, has no document-type field and fields
// the invoices lack, and the other way round.
TEST_F(DupTest, GroupingBothAreasOf2024GroupsEveryRecordAndDocument) {
    const std::pair<const char*, const char*> archives[] = {
        {kForn2024, "1"}, {kNote2024, "3"}, {kClie2024, "2"}, {kCorr2024, "4"}};
    for (const auto& [serial, doc] : archives) {
        linkArchive(serial, "M", std::string("0") + doc);
        execArchive("INSERT INTO [" + std::string(serial) + "] SELECT * FROM [" + LinkNames::sav(serial) + "]");
    }
    session->ConnDitt("001");
    auto entries = GroupRun::LeggList(*session);
    for (auto& e : entries) e.Selez = e.Id_Area == 5 || e.Id_Area == 6;
    CountingProgress progress;
    const auto result = GroupRun(*session, progress)
                            .cmdGrup_Click(GroupRequest{0, {"001", "Rossi Mario & Figli srl", "2024", "01234560355"}, true},
                                           entries);
    ASSERT_TRUE(result.completed) << ::testing::PrintToString(dialogs.texts());
    EXPECT_EQ(result.archives, 4);
    EXPECT_EQ(result.records, 11);
    EXPECT_EQ(result.files, 11);

    const auto local = archiveDef(LinkNames::sav(result.table));
    ASSERT_TRUE(local);
    const auto pk = std::find_if(local->indexes.begin(), local->indexes.end(),
                                 [](const IndexDef& ix) { return vbLCase(ix.name) == "primario"; });
    ASSERT_NE(pk, local->indexes.end());
    EXPECT_EQ(pk->fields, (std::vector<std::string>{"anno", "sys_record"}));
    const std::string g = LinkNames::tarv(result.table);
    EXPECT_EQ(tarvRows("/usr/tarv/ditt001", "SELECT COUNT(*) FROM sysindexes, systables WHERE sysindexes.tabid = systables.tabid"
                                            " AND systables.tabname = " + sqlQuote(g) + " AND sysindexes.idxname = " +
                                            sqlQuote("r" + vbLCase(result.table)))[0][0],
              "1");

    // Every archive's documents, byte for byte, under its year and document type, and
    // each kind's own values beside the other's.
    for (const auto& [serial, doc] : archives) {
        SCOPED_TRACE(serial);
        const auto docs = archiveRows("SELECT sys_path_docs FROM DB_ELENCO WHERE SYS_SERIALE = " + sqlQuote(vbUCase(serial)))[0][0];
        std::multiset<std::string> source, grouped;
        for (const auto& r : archiveRows("SELECT sys_record, sys_filename FROM [" + std::string(serial) + "]"))
            source.insert(readFile(ArchiveModel::PathDocs(docs, std::stol(r[0])) + r[1]));
        for (const auto& r : tarvRows("/usr/tarv/ditt001", "SELECT sys_record, sys_filename FROM " + g +
                                                               " WHERE anno = 2024 AND tipo_doc = " + doc))
            grouped.insert(readFile(ArchiveModel::PathDocs(result.folder, std::stol(r[0])) + r[1]));
        EXPECT_EQ(grouped, source);
    }
    EXPECT_EQ(tarvRows("/usr/tarv/ditt001", "SELECT COUNT(totale), COUNT(numero_doc) FROM " + g)[0],
              (std::vector<std::string>{"2", "9"}));
}

}  // namespace
}  // namespace zq::test
