// The link run on a demo installation: TARV tables, indexes, links, set-aside tables
// and registry rows; its messages, its statements, its refusals and its recovery.

#include "link_fixture.h"

#include "common/error.h"
#include "linking/coll_table.h"
#include "linking/link_list.h"
#include "linking/link_run.h"
#include "app/demo_installation.h"

#include <regex>

namespace zq::test {
namespace {

const std::string kTitle = "Collegamento tabelle al database TARV";
const std::string kDone = "Collegamento tabelle effettuato con successo.";

// A refusal: the reason between the warning and the closing line.
std::string refusal(std::initializer_list<std::string> reason) {
    return lines({"ATTENZIONE!", lines(reason), "", "Impossibile continuare"});
}

// TARV index names are their base and four or five random digits.
void expectIndexBases(const std::vector<std::string>& names, const std::vector<std::string>& bases) {
    ASSERT_EQ(names.size(), bases.size());
    for (std::size_t i = 0; i < names.size(); ++i)
        EXPECT_TRUE(std::regex_match(names[i], std::regex(bases[i] + "[0-9]{4,5}"))) << names[i];
}

class LinkRunTest : public LinkTest {
protected:
    static LinkRequest request(const std::string& year = "2023") { return {0, "001", 0, year, true}; }
    /// A ticked row for an archive table outside the demo's list.
    static ArchRow adHoc(const std::string& serial) { return {"Prova", "Prove", serial, "/x/00000000/", /*selected=*/true}; }
    LinkRunResult run(const std::vector<ArchRow>& entries, const LinkRequest& r) {
        return LinkRun(*session, lookups->aDocs, {}, random, companyOpener()).cmdColl_Click(r, entries);
    }
    LinkRunResult run(const std::vector<ArchRow>& entries) { return run(entries, request()); }

    IndexNamer::Random random;  ///< default: the system's generator
    const std::string fornSav = std::string(kFornitori2023) + "_sav";
};

TEST_P(LinkRunTest, LinksAnMovementAndAnOtherArchive) {
    pickCompany("001");
    const ArchRow m = entry(kFornitori2023, "M", "01");
    const ArchRow a = entry(kClienti2023, "A");
    dialogs.then(Answer::Yes).then(Answer::Yes);
    const auto result = run({m, a});
    EXPECT_TRUE(result.completed);
    EXPECT_EQ(result.linked, 2);

    // One question per archive, then the closing message.
    EXPECT_EQ(dialogs.texts(),
              (std::vector<std::string>{
                  lines({"Vuoi collegare la tabella Fatture Fornitori 2023", "area Fatture Acquisto", "(2215032010150a1f)?"}),
                  lines({"Vuoi collegare la tabella Fatture Clienti 2023", "area Fatture Vendita", "(2215032010161b2c)?"}),
                  kDone}));
    for (const auto& m : dialogs.messages()) EXPECT_EQ(m.title, kTitle);
    EXPECT_EQ(dialogs.messages()[0].buttons, Buttons::YesNo);
    EXPECT_EQ(dialogs.messages()[0].icon, Icon::Question);
    EXPECT_EQ(dialogs.messages().back().icon, Icon::Information);

    // The TARV table with the mapped columns, in the archive's order.
    const std::vector<std::pair<std::string, std::string>> columns = {
        {"sys_record", "SERIAL"},   {"sys_filename", "CHAR(100)"}, {"sys_data_ins", "DATE"},
        {"sys_utente", "CHAR(20)"}, {"sys_pagine", "INTEGER"},     {"numero_doc", "CHAR(20)"},
        {"data_doc", "DATE"},       {"ragione_sociale", "CHAR(60)"}, {"partita_iva", "CHAR(11)"},
        {"imponibile", "MONEY"},    {"importo", "MONEY"},          {"pagata", "SMALLINT"},
        {"cod_tipo_doc_f", "SMALLINT"}, {"note", "CHAR(255)"}};
    auto expected = columns;
    if (GetParam() == TarvKind::Odbc)
        // The fixture's MONEY is numeric(16,2) on PostgreSQL, and is reported so.
        for (auto& [name, type] : expected) type = type == "MONEY" ? "DECIMAL(16,2)" : type;
    EXPECT_EQ(tarvColumns(kDitt001, "a2215032010150a1f"), expected);
    EXPECT_TRUE(tarvTableExists(kDitt001, "a2215032010161b2c"));

    expectIndexBases(tarvIndexes(kDitt001, "a2215032010150a1f"), {"numero_doc", "primario"});

    // The archive file: links in place of the tables, the rows set aside.
    for (const char* s : {kFornitori2023, kClienti2023}) {
        SCOPED_TRACE(s);
        const auto link = archiveDef(s);
        ASSERT_TRUE(link.has_value());
        EXPECT_EQ(link->name, s);
        EXPECT_EQ(link->sourceTableName, "a" + std::string(s));
        EXPECT_EQ(link->connect, ArchiveModel::linkConnectString(session->cfg, "/usr/tarv/ditt001"));
        const auto saved = archiveDef(std::string(s) + "_sav");
        ASSERT_TRUE(saved.has_value());
        EXPECT_EQ(saved->name, std::string(s) + "_sav");
        EXPECT_FALSE(saved->isLink());
        EXPECT_EQ(archiveCount(s), 0);
    }
    EXPECT_EQ(archiveCount(fornSav), 4);
    EXPECT_EQ(archiveCount(std::string(kClienti2023) + "_sav"), 3);
    EXPECT_EQ(archiveDef(kFornitori2023)->linkKey, std::vector<std::string>{"sys_record"});

    // The registry.
    const auto docs = DemoInstallation::archives(dir_->path());
    const std::vector<std::vector<std::string>> registry = {
        {"001", "2023", "M", "01", "a2215032010150a1f", ArchiveModel::PathServ(docs[0].docs, session->cfg)},
        {"001", "9999", "A", "", "a2215032010161b2c", ArchiveModel::PathServ(docs[1].docs, session->cfg)}};
    EXPECT_EQ(rows(kComune, "SELECT * FROM ar_dbelenco ORDER BY sys_seriale"), registry);

    // The list now shows both as linked.
    const auto list = archiveList();
    EXPECT_TRUE(list[static_cast<std::size_t>(LinkList::find(list, kFornitori2023))].linked);
    EXPECT_FALSE(list[static_cast<std::size_t>(LinkList::find(list, kFornitori2024))].linked);

    // Rows written through the link land in TARV.
    session->CnnArch->execute("INSERT INTO [" + std::string(kFornitori2023) +
                              "] (sys_filename, sys_utente, numero_doc, pagata) VALUES ('00000009.pdf', 'tarv', '9/A', 1)");
    const auto got = rows(kDitt001, "SELECT sys_filename, numero_doc, pagata FROM a2215032010150a1f");
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0], (std::vector<std::string>{"00000009.pdf", "9/A", "1"}));
    EXPECT_EQ(archiveCount(kFornitori2023), 1);
    EXPECT_EQ(archiveCount(fornSav), 4);
}

TEST_P(LinkRunTest, SendsTheStatementsOfTheOriginal) {
    pickCompany("001");
    std::vector<double> values = {0.1234, 0.5678};
    std::size_t n = 0;
    random = [&] { return values.at(n++ % values.size()); };
    const ArchRow m = entry(kFornitori2023, "M", "01");
    auto& tarvCnn = recordTarv();
    auto& dittCnn = recordDitt();
    dialogs.then(Answer::Yes);
    ASSERT_EQ(run({m}).linked, 1);

    const std::string path = m.serverPath;
    EXPECT_EQ(tarvCnn.statements,
              (std::vector<std::string>{
                  "SELECT * FROM volumi WHERE cod_ditta = '001'",  // the run's own company connection
                  "SELECT * FROM ar_dbelenco WHERE ditt = '001' AND anno = 2023 AND tipo_ass = 'M' AND tipo_doc = '01'",
                  "SELECT * FROM ar_dbelenco WHERE sys_seriale = 'a2215032010150a1f'",
                  "SELECT * FROM ar_dbelenco WHERE sys_seriale = 'a2215032010150a1f'",
                  "INSERT INTO ar_dbelenco VALUES('001', 2023, 'M', '01', 'a2215032010150a1f', '" + path + "')"}));
    EXPECT_EQ(dittCnn.statements,
              (std::vector<std::string>{
                  "SELECT * FROM systables WHERE tabname = 'a2215032010150a1f'",
                  "CREATE TABLE a2215032010150a1f(sys_record SERIAL,sys_filename CHAR(100),sys_data_ins DATE,"
                  "sys_utente CHAR(20),sys_pagine INTEGER,numero_doc CHAR(20),data_doc DATE,ragione_sociale CHAR(60),"
                  "partita_iva CHAR(11),imponibile MONEY,importo MONEY,pagata SMALLINT,cod_tipo_doc_f SMALLINT,"
                  "note CHAR(255))",
                  "SELECT * FROM sysindexes ORDER BY idxname",
                  "CREATE UNIQUE INDEX primario1234 ON a2215032010150A1F(sys_record)",
                  "CREATE INDEX numero_doc5678 ON a2215032010150A1F(numero_doc,data_doc)"}));
}

TEST_P(LinkRunTest, FieldsAndIndexesWithoutACounterpartAreLeftOutWithAMessage) {
    pickCompany("001");
    dialogs.answerAlways(Answer::Yes);
    ASSERT_EQ(run({entry(kVerbali, "A")}).linked, 1);
    EXPECT_TRUE(dialogs.saw(lines({"ATTENZIONE!", "Tipo campo non riconosciuto:", "firma_digitale (11)"})));
    const auto verbali = tarvColumns(kDitt001, "a2106051045116a71");
    ASSERT_EQ(verbali.size(), 8u);
    EXPECT_EQ(verbali[6].first, "oggetto");
    EXPECT_EQ(verbali[7].first, "note");

    dialogs.clear();
    // Contratti: a blank in a field name, and an index over 60 + 100 characters.
    ASSERT_EQ(run({entry(kContratti, "M", "02")}).linked, 1);
    EXPECT_EQ(dialogs.texts(),
              (std::vector<std::string>{
                  lines({"Vuoi collegare la tabella Contratti", "area Documenti Societari", "(2106051045127b82)?"}),
                  lines({"ATTENZIONE!", "Nome di campo non valido:", "data firma"}),
                  lines({"ATTENZIONE!", "non posso creare l'indice 'Descrizione estesa':", "Indice troppo esteso."}),
                  kDone}));
    for (const auto& [name, type] : tarvColumns(kDitt001, "a2106051045127b82")) EXPECT_NE(name, "data firma");
    EXPECT_TRUE(archiveDef(kContratti)->isLink());
}

TEST_P(LinkRunTest, IndexOf120CharactersIsMadeOf121Refused) {
    pickCompany("001");
    TableDef t;
    t.name = "LimiteIndici";
    t.fields = {text("a", 60), text("b", 60), text("c", 61)};
    t.indexes = {index("cliente/data", {"a", "b"}), index("UnIndiceDalNomeLungo", {"c", "b"}),
                 index("c_sola", {"c"})};
    addArchiveTable(t);
    dialogs.answerAlways(Answer::Yes);
    ASSERT_EQ(run({adHoc("limiteindici")}).linked, 1);
    EXPECT_TRUE(dialogs.saw(lines({"ATTENZIONE!", "non posso creare l'indice 'UnIndiceDalNomeLungo':", "Indice troppo esteso."})));
    expectIndexBases(tarvIndexes(kDitt001, "alimiteindici"), {"c_sola", "cliente_data"});
}

TEST_P(LinkRunTest, ChecksRefuseBeforeAnyQuestion) {
    pickCompany("001");
    const std::vector<ArchRow> twoOthers = {entry(kFornitori2023, "A"), entry(kClienti2023, "A")};
    const struct {
        const char* what;
        LinkRequest request;
        std::vector<ArchRow> entries;
        std::string message;
    } cases[] = {
        {"no company", {-1, "001", 0, "2023", true}, {}, "Devi selezionare una Ditta!"},
        {"no year", {0, "001", -1, "2023", true}, {}, "Devi selezionare un Esercizio!"},
        {"company may not link", {0, "001", 0, "2023", false}, {},
         lines({"La Ditta selezionata non prevede", "il collegamento ad QUIRNOVA!"})},
        {"nothing ticked", request(), {}, "Devi selezionare un archivio!"},
        {"two other archives", request(), twoOthers,
         lines({"ATTENZIONE!", "Non si possono collegare più tabelle", "con gli stessi parametri."})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        dialogs.clear();
        const auto result = run(c.entries, c.request);
        EXPECT_FALSE(result.completed);
        EXPECT_EQ(result.asked, 0);
        EXPECT_EQ(dialogs.texts(), std::vector<std::string>{c.message});
    }
    EXPECT_EQ(dialogs.messages()[0].icon, Icon::Exclamation);
    EXPECT_FALSE(archiveDef(kFornitori2023)->isLink());
    EXPECT_FALSE(tarvTableExists(kDitt001, "a2215032010150a1f"));
}

TEST_P(LinkRunTest, NoToEveryQuestionSaysNothingWasLinked) {
    pickCompany("001");
    dialogs.then(Answer::No).then(Answer::No);
    const auto result = run({entry(kFornitori2023, "M", "01"), entry(kClienti2023, "A")});
    EXPECT_TRUE(result.completed);
    EXPECT_EQ(result.linked, 0);
    EXPECT_EQ(dialogs.texts().back(), "Nessuna tabella collegata.");
    EXPECT_FALSE(archiveDef(kFornitori2023)->isLink());
    EXPECT_TRUE(rows(kComune, "SELECT * FROM ar_dbelenco").empty());
}

TEST_P(LinkRunTest, TakenParametersAreRefusedAndTheSameOnesUpdateThePath) {
    pickCompany("001");
    dialogs.answerAlways(Answer::Yes);
    ASSERT_EQ(run({entry(kFornitori2023, "M", "01"), entry(kClienti2023, "A")}).linked, 2);
    // A second other archive of the company.
    dialogs.clear();
    const auto result = run({entry(kFornitori2024, "A")});
    EXPECT_EQ(result.refused, 1);
    EXPECT_TRUE(result.completed);
    EXPECT_EQ(dialogs.texts().at(1), refusal({"Esiste già un'altra tabella collegata", "con gli stessi parametri."}));
    EXPECT_EQ(dialogs.texts().at(2), lines({"ATTENZIONE! Collegamento tabelle non completato.", "Tabelle collegate: 0 di 1.",
                                            "Tabelle non collegate: 1 (vedere i messaggi precedenti)."}));
    EXPECT_FALSE(archiveDef(kFornitori2024)->isLink());
    EXPECT_FALSE(tarvTableExists(kDitt001, "a2408010930122c3d"));
    // A linked archive again with other parameters.
    dialogs.clear();
    EXPECT_EQ(run({entry(kFornitori2023, "M", "02")}).refused, 1);
    EXPECT_TRUE(dialogs.saw(refusal({"La tabella è già collegata", "con parametri diversi."})));

    // Same parameters, documents moved: the registry row follows.
    session->cfg.ConvBksl = "N";
    dialogs.clear();
    const ArchRow again = entry(kFornitori2023, "M", "01");
    EXPECT_EQ(run({again}).linked, 1);
    EXPECT_EQ(dialogs.texts(), (std::vector<std::string>{
                                   dialogs.texts()[0], "La tabella a2215032010150a1f esiste già nel database ditta.",
                                   "La tabella 2215032010150a1f è già una tabella collegata.", kDone}));
    EXPECT_EQ(rows(kComune, "SELECT sys_seriale, sys_path_docs FROM ar_dbelenco WHERE tipo_ass = 'M'"),
              (std::vector<std::vector<std::string>>{{"a2215032010150a1f", again.serverPath}}));
    EXPECT_EQ(rows(kComune, "SELECT * FROM ar_dbelenco").size(), 2u);
}

TEST_P(LinkRunTest, AnArchiveInPremasteringIsRefused) {
    pickCompany("001");
    tarv(kDitt001)->execute("CREATE TABLE a2215032010150a1f (sys_record INTEGER)");
    {
        auto db = ArchiveDatabase::open(session->cfg.PathArch);
        db->createLink(std::string(kFornitori2023) + "_COL", ArchiveModel::linkConnectString(session->cfg, kDitt001),
                       "a2215032010150a1f");
        db->close();
    }
    dialogs.answerAlways(Answer::Yes);
    EXPECT_EQ(run({entry(kFornitori2023, "M", "01")}).refused, 1);
    EXPECT_TRUE(dialogs.saw(refusal({"La tabella è già in fase", "di pre-masterizzazione."})));
    EXPECT_FALSE(archiveDef(kFornitori2023)->isLink());
}

TEST_P(LinkRunTest, ARunStoppedBeforeTheRegistryRowIsCompletedByRunningItAgain) {
    pickCompany("001");
    auto& tarvCnn = recordTarv();
    tarvCnn.failOn("INSERT INTO ar_dbelenco");
    dialogs.then(Answer::Yes).then(Answer::Abort);
    EXPECT_THROW(run({entry(kFornitori2023, "M", "01")}), AbortProgram);
    const Message& report = dialogs.messages().back();
    EXPECT_EQ(report.buttons, Buttons::AbortRetryIgnore);
    EXPECT_NE(report.text.find("nel modulo: frmColl,\r\nalla routine: CollTable,"), std::string::npos) << report.text;
    EXPECT_NE(report.text.find("Query: INSERT INTO ar_dbelenco VALUES('001', 2023"), std::string::npos);
    EXPECT_TRUE(tarvTableExists(kDitt001, "a2215032010150a1f"));
    EXPECT_TRUE(archiveDef(kFornitori2023)->isLink());
    EXPECT_TRUE(rows(kComune, "SELECT * FROM ar_dbelenco").empty());

    dialogs.clear();
    dialogs.answerAlways(Answer::Yes);
    EXPECT_EQ(run({entry(kFornitori2023, "M", "01")}).linked, 1);
    EXPECT_EQ(rows(kComune, "SELECT sys_seriale FROM ar_dbelenco"), (std::vector<std::vector<std::string>>{{"a2215032010150a1f"}}));
    EXPECT_TRUE(archiveDef(kFornitori2023)->isLink());
    EXPECT_EQ(archiveCount(fornSav), 4);
}

TEST_P(LinkRunTest, RetryRepeatsTheFailingStatementAndIgnoreGoesOnWithTheNextArchive) {
    pickCompany("001");
    auto& dittCnn = recordDitt();
    dittCnn.failOn("CREATE TABLE a2215032010150a1f", 1);
    dialogs.then(Answer::Yes).then(Answer::Retry).then(Answer::Yes);
    auto result = run({entry(kFornitori2023, "M", "01"), entry(kClienti2023, "A")});
    EXPECT_EQ(result.linked, 2);

    // Ignore: the archive's steps end; the archive file is as it was.
    dittCnn.failOn("CREATE UNIQUE INDEX", 1);
    dialogs.clear();
    dialogs.then(Answer::Yes).then(Answer::Ignore);
    result = run({entry(kFornitori2024, "M", "01")}, request("2024"));
    EXPECT_EQ(result.stopped, 1);
    EXPECT_TRUE(result.completed);
    EXPECT_FALSE(archiveDef(kFornitori2024)->isLink());
    EXPECT_EQ(rows(kComune, "SELECT * FROM ar_dbelenco").size(), 2u);
}

TEST_P(LinkRunTest, AStepOnTheArchiveFileThatFailsRollsBackTheSetAside) {
    pickCompany("001");
    FailingArchive* failing = nullptr;
    ArchiveOpener opener = [&](const std::string& path) {
        auto db = std::make_unique<FailingArchive>(ArchiveDatabase::open(path));
        db->failCreateLink = true;
        failing = db.get();
        return db;
    };
    dialogs.then(Answer::Yes).then(Answer::Ignore);
    const auto result = LinkRun(*session, lookups->aDocs, opener).cmdColl_Click(request(), {entry(kFornitori2023, "M", "01")});
    ASSERT_NE(failing, nullptr);
    EXPECT_EQ(failing->renames, 1);
    EXPECT_EQ(result.stopped, 1);
    // The set-aside rename went back with the link that failed after it.
    EXPECT_FALSE(archiveDef(kFornitori2023)->isLink());
    EXPECT_FALSE(archiveDef(fornSav).has_value());
    EXPECT_EQ(archiveCount(kFornitori2023), 4);
    EXPECT_TRUE(rows(kComune, "SELECT * FROM ar_dbelenco").empty());

    // Running it again finishes the link on the TARV table already there.
    dialogs.clear();
    dialogs.answerAlways(Answer::Yes);
    EXPECT_EQ(run({entry(kFornitori2023, "M", "01")}).linked, 1);
    EXPECT_TRUE(dialogs.saw("La tabella a2215032010150a1f esiste già nel database ditta."));
    EXPECT_TRUE(archiveDef(kFornitori2023)->isLink());
}

TEST_P(LinkRunTest, BadInputIsRefusedOrStoppedWithNothingChanged) {
    pickCompany("001");
    // A table missing from the archive file goes through the error report.
    dialogs.then(Answer::Yes).then(Answer::Ignore);
    const auto result = run({adHoc("nonesiste")});
    EXPECT_EQ(result.stopped, 1);
    EXPECT_TRUE(result.completed);
    EXPECT_TRUE(dialogs.saw("tabella nonesiste non trovata nell'archivio"));
    EXPECT_FALSE(tarvTableExists(kDitt001, "anonesiste"));

    dialogs.clear();
    dialogs.answerAlways(Answer::Yes);
    const std::string quoted = "x';drop table ar_dbelenco;--";
    EXPECT_EQ(run({adHoc(quoted)}).refused, 1);
    EXPECT_TRUE(dialogs.saw(refusal({"Nome di tabella non valido:", quoted})));

    // Only a name that would enter a statement as it is refuses the archive: the key's.
    TableDef t;
    t.name = "chiavestrana";
    t.fields = {text("codice", 10)};
    t.indexes = {index("pk';--", {"codice"}, /*primary=*/true)};
    addArchiveTable(t);
    dialogs.clear();
    EXPECT_EQ(run({adHoc("chiavestrana")}).refused, 1);
    EXPECT_TRUE(dialogs.saw(refusal({"Nome di indice non valido:", "pk';--"})));
    EXPECT_FALSE(tarvTableExists(kDitt001, "achiavestrana"));
    EXPECT_FALSE(archiveDef("chiavestrana")->isLink());
    EXPECT_EQ(rows(kComune, "SELECT * FROM ar_dbelenco").size(), 0u);
}

TEST_P(LinkRunTest, FieldsWhoseNamesCannotBeColumnsAreLeftOutAndTheRestLinked) {
    pickCompany("001");
    TableDef t;
    t.name = "fatturepuntate";
    t.fields = {text("codice", 10), text("N. Fattura", 10), text("Cod.cliente", 10), text("a;b", 10),
                text("città", 20)};
    t.indexes = {index("Chiave primaria", {"codice"}, /*primary=*/true), index("Cod.Cliente", {"Cod.cliente"}),
                 index("Per città", {"città"})};
    addArchiveTable(t);
    dialogs.answerAlways(Answer::Yes);
    EXPECT_EQ(run({adHoc("fatturepuntate")}).linked, 1);
    for (const char* left : {"N. Fattura", "Cod.cliente", "a;b"})
        EXPECT_TRUE(dialogs.saw(lines({"ATTENZIONE!", "Nome di campo non valido:", left}))) << left;
    EXPECT_TRUE(dialogs.saw(lines({"ATTENZIONE!", "non posso creare l'indice 'Cod.Cliente':", "Campo non collegato."})));
    const auto columns = tarvColumns(kDitt001, "afatturepuntate");
    ASSERT_EQ(columns.size(), 2u);
    EXPECT_EQ(columns[1].first, "città");
    expectIndexBases(tarvIndexes(kDitt001, "afatturepuntate"), {"chiave_primari", "per_citt__"});
    const auto link = archiveDef("fatturepuntate");
    ASSERT_TRUE(link && link->isLink());
    EXPECT_EQ(link->linkKey, std::vector<std::string>{"codice"});
    EXPECT_EQ(rows(kComune, "SELECT sys_seriale FROM ar_dbelenco"), (std::vector<std::vector<std::string>>{{"afatturepuntate"}}));
}

TEST_P(LinkRunTest, TheRunWorksOnTheCompanyItRegistersWhateverThePickersShow) {
    // Another window picked company 002 after this form's company 001.
    pickCompany("002");
    dialogs.answerAlways(Answer::Yes);
    EXPECT_EQ(run({entry(kFornitori2023, "M", "01")}).linked, 1);
    EXPECT_TRUE(tarvTableExists(kDitt001, "a2215032010150a1f"));
    EXPECT_FALSE(tarvTableExists("/usr/tarv/ditt002", "a2215032010150a1f"));
    EXPECT_NE(archiveDef(kFornitori2023)->connect.find(";DATABASE=/usr/tarv/ditt001;"), std::string::npos);
    EXPECT_EQ(rows(kComune, "SELECT ditt FROM ar_dbelenco"), (std::vector<std::vector<std::string>>{{"001"}}));
    EXPECT_EQ(session->CodDitt, "002");  // the pickers' connection is left where it was

    // A company whose database cannot be opened stops the run before any question.
    dialogs.clear();
    dialogs.then(Answer::Ignore);
    const auto result = run({entry(kClienti2023, "A")}, {0, "005", 0, "2023", true});
    EXPECT_EQ(result.stopped, 1);
    EXPECT_FALSE(result.completed);
    EXPECT_EQ(dialogs.messages().size(), 1u);
    EXPECT_FALSE(archiveDef(kClienti2023)->isLink());
}

TEST_P(LinkRunTest, TheSetAsideTableOfAnInterruptedRunTakesItsNameBack) {
    pickCompany("001");
    {
        auto db = ArchiveDatabase::open(session->cfg.PathArch);
        db->renameTable("2215032010150A1F", "2215032010150a1f_sav");
        db->close();
    }
    dialogs.answerAlways(Answer::Yes);
    ArchRow e = entry(kClienti2023, "A");
    e.serial = kFornitori2023;
    e.description = "Fatture Fornitori 2023";
    EXPECT_EQ(run({e}).linked, 1);
    EXPECT_TRUE(archiveDef(kFornitori2023)->isLink());
    EXPECT_EQ(archiveCount(fornSav), 4);
}

INSTANTIATE_TEST_SUITE_P(Engines, LinkRunTest, ZQ_LINK_ENGINES,
                         [](const auto& info) { return PrintToString(info.param); });

}  // namespace
}  // namespace zq::test
