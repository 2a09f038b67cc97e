// Pre-mastering on a demo installation: the TARV rows copied into the set-aside table,
// the link renamed s + "_COL", the local table back under s; refusals and recovery.

#include "link_fixture.h"

#include "common/error.h"
#include "linking/link_list.h"
#include "linking/link_run.h"
#include "premastering/copy_table.h"
#include "premastering/premaster_run.h"
#include "runtime/text.h"

namespace zq::test {
namespace {

using Rows = std::vector<std::vector<std::string>>;

class PremasterTest : public LinkTest {
protected:
    void SetUp() override {
        LinkTest::SetUp();
        if (HasFatalFailure()) return;
        link({entry(kFornitori2023, "M", "01"), entry(kClienti2023, "A")});
        // Two rows in TARV, the second with Nulls; an amount a double would not hold.
        tarv(kDitt001)->execute(
            "INSERT INTO a2215032010150a1f (sys_record, sys_filename, sys_utente, numero_doc, imponibile, pagata, note)"
            " VALUES (0, '00000001.pdf', 'tarv', '1/A', ?, 1, 'prima')",
            {Value(*Currency::parse("99999999999999,99"))});
        tarv(kDitt001)->execute("INSERT INTO a2215032010150a1f (sys_record, sys_filename) VALUES (0, '00000002.pdf')");
    }
    void link(const std::vector<ArchRow>& entries) {
        pickCompany("001");
        dialogs.answerAlways(Answer::Yes);
        ASSERT_EQ(LinkRun(*session, lookups->aDocs).cmdColl_Click(LinkRequest{0, "001", 0, "2023", true}, entries).linked,
                  int(entries.size()));
        dialogs = ScriptedDialogs();
    }
    std::vector<FreeRow> list() { return LinkList::premastering(*session, model, FreeFilter{}, lookups->aDocs); }
    std::vector<FreeRow> ticked(const std::string& serial) {
        auto rows = list();
        const int i = LinkList::find(rows, serial);
        EXPECT_GE(i, 0);
        if (i >= 0) rows[static_cast<std::size_t>(i)].selected = true;
        return rows;
    }
    /// Outcome of the run's step for one archive, on a fresh archive connection.
    PremasterRun::Outcome elabora(const std::string& serial) {
        auto db = ArchiveDatabase::open(session->cfg.PathArch);
        const auto outcome = PremasterRun(*session).Elabora(*db, serial);
        db->close();
        return outcome;
    }
    /// `columns` of a local table by sys_filename, values trimmed, Null as "<Null>".
    Rows localRows(const std::string& table,
                   const std::string& columns = "sys_filename, numero_doc, imponibile, pagata, note") {
        auto db = ArchiveDatabase::open(session->cfg.PathArch);
        auto rs = db->connection().openRecordset("SELECT " + columns + " FROM [" + table + "] ORDER BY sys_filename",
                                                 CursorType::Static, LockType::ReadOnly);
        Rows out;
        for (; !rs->eof(); rs->moveNext()) {
            std::vector<std::string> row;
            for (int f = 0; f < rs->fieldCount(); ++f) row.push_back(rs->field(f).isNull() ? "<Null>" : vbTrim(rs->field(f).toText()));
            out.push_back(row);
        }
        rs->close();
        db->close();
        return out;
    }
};

TEST_P(PremasterTest, CopiesTheTarvRowsAndKeepsTheLinkUnderItsNewName) {
    const auto entries = ticked(kFornitori2023);
    ASSERT_EQ(entries.size(), 2u);
    dialogs.then(Answer::Yes);
    const auto result = PremasterRun(*session).cmdMast_Click(entries);
    EXPECT_TRUE(result.completed);
    EXPECT_EQ(result.premastered, 1);
    EXPECT_EQ(result.rowsCopied, 2);
    const auto& e = entries[static_cast<std::size_t>(LinkList::find(entries, kFornitori2023))];
    EXPECT_EQ(dialogs.texts(), (std::vector<std::string>{
                                   lines({"vuoi pre-masterizzare la tabella ", e.description, "area " + e.area, "(" + e.serial + ")?"}),
                                   "Copia dei dati per la Pre-Masterizzazione eseguita con successo."}));
    for (const auto& m : dialogs.messages()) EXPECT_EQ(m.title, "Pre-Masterizzazione Archivi");

    ASSERT_TRUE(archiveDef(kFornitori2023));
    EXPECT_FALSE(archiveDef(kFornitori2023)->isLink());
    const auto col = archiveDef(std::string(kFornitori2023) + "_COL");
    ASSERT_TRUE(col);
    EXPECT_TRUE(col->isLink());
    EXPECT_EQ(col->sourceTableName, "a2215032010150a1f");
    EXPECT_FALSE(archiveDef(std::string(kFornitori2023) + "_sav"));
    // Exactly the TARV rows; Nulls left at the column's default (none: Null).
    EXPECT_EQ(localRows(kFornitori2023), (Rows{{"00000001.pdf", "1/A", "99999999999999,99", "Vero", "prima"},
                                               {"00000002.pdf", "<Null>", "<Null>", "<Null>", "<Null>"}}));
    // TARV and the registry are untouched; the archive leaves the list.
    EXPECT_EQ(rows(kDitt001, "SELECT COUNT(*) FROM a2215032010150a1f")[0][0], "2");
    EXPECT_EQ(rows(kComune, "SELECT * FROM ar_dbelenco").size(), 2u);
    const auto left = list();
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(LinkList::find(left, kFornitori2023), -1);
}

TEST_P(PremasterTest, ALinkWithoutRowsLeavesAnEmptyLocalTable) {
    dialogs.then(Answer::Yes);
    EXPECT_EQ(PremasterRun(*session).cmdMast_Click(ticked(kClienti2023)).premastered, 1);
    EXPECT_EQ(archiveCount(kClienti2023), 0);
    EXPECT_FALSE(archiveDef(kClienti2023)->isLink());
}

TEST_P(PremasterTest, ARunStoppedBetweenTheTwoRenamesIsCompletedByRunningItAgain) {
    ArchiveOpener failing = [](const std::string& path) {
        auto db = std::make_unique<FailingArchive>(ArchiveDatabase::open(path));
        db->failRenameNumber = 2;
        return db;
    };
    dialogs.then(Answer::Yes).then(Answer::Abort);
    EXPECT_THROW(PremasterRun(*session, failing).cmdMast_Click(ticked(kFornitori2023)), AbortProgram);
    EXPECT_NE(dialogs.texts().back().find("nel modulo: frmMast,\r\nalla routine: Elabora,"), std::string::npos);
    // Both renames are one change: the archive is still linked, its rows already copied.
    EXPECT_TRUE(archiveDef(kFornitori2023)->isLink());
    EXPECT_FALSE(archiveDef(std::string(kFornitori2023) + "_COL"));
    EXPECT_EQ(localRows(std::string(kFornitori2023) + "_sav").size(), 2u);

    dialogs = ScriptedDialogs();
    dialogs.then(Answer::Yes);
    EXPECT_EQ(PremasterRun(*session).cmdMast_Click(ticked(kFornitori2023)).premastered, 1);
    EXPECT_FALSE(archiveDef(kFornitori2023)->isLink());
    EXPECT_EQ(localRows(kFornitori2023).size(), 2u);
}

TEST_P(PremasterTest, AHalfRenamedArchiveTakesItsNameBack) {
    // What an interruption between the renames leaves: the link renamed, no table s.
    auto db = ArchiveDatabase::open(session->cfg.PathArch);
    db->renameTable(kFornitori2023, std::string(kFornitori2023) + "_COL");
    db->close();
    EXPECT_EQ(elabora(kFornitori2023), PremasterRun::Outcome::Premastered);
    EXPECT_FALSE(archiveDef(kFornitori2023)->isLink());
    EXPECT_TRUE(archiveDef(std::string(kFornitori2023) + "_COL")->isLink());
    EXPECT_TRUE(dialogs.messages().empty());
}

TEST_P(PremasterTest, ALocalTableIsNotPremastered) {
    EXPECT_EQ(elabora(kVerbali), PremasterRun::Outcome::Skipped);
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"Attenzione. La tabella non è collegata al TARV."});
    EXPECT_EQ(dialogs.messages()[0].icon, Icon::Exclamation);
    EXPECT_EQ(archiveCount(kVerbali), 2);
}

TEST_P(PremasterTest, CopyEmptiesTheTargetAndMatchesFieldsByName) {
    // Verbali's set-aside table keeps firma_digitale, which the TARV table lacks: values
    // must not slide one column over.
    link({entry(kVerbali, "M", "02")});
    tarv(kDitt001)->execute("INSERT INTO a2106051045116a71 (sys_record, sys_filename, oggetto, note)"
                            " VALUES (0, '00000007.pdf', 'Bilancio', 'nota')");
    const auto counts = CopyTable(dialogs, "frmMast").run(kVerbali, std::string(kVerbali) + "_sav", *session->CnnArch);
    EXPECT_EQ(counts.deleted, 2);
    EXPECT_EQ(counts.copied, 1);
    EXPECT_EQ(localRows(std::string(kVerbali) + "_sav", "oggetto, note, firma_digitale"),
              (Rows{{"Bilancio", "nota", "<Null>"}}));
}

TEST_P(PremasterTest, CopyFoldsAccentedNamesAsLinkingDoesAndStopsOnAColumnWithoutAField) {
    // The link step names the TARV column of "CITTÀ" "città"; a TARV column with no
    // local field at all would be lost in every row, so nothing is removed.
    auto table = [&](const std::string& name, std::vector<FieldDef> fields) {
        TableDef t;
        t.name = name;
        t.fields = std::move(fields);
        addArchiveTable(t);
    };
    table("tarvrows", {text("sys_filename", 20), text("città", 20), text("nota", 20)});
    table("tarvcitta", {text("sys_filename", 20), text("città", 20)});
    table("locale", {text("sys_filename", 20), text("CITTÀ", 20)});
    session->CnnArch->execute("INSERT INTO tarvrows VALUES ('1.pdf', 'Forlì', 'x')");
    session->CnnArch->execute("INSERT INTO tarvcitta VALUES ('1.pdf', 'Forlì')");
    session->CnnArch->execute("INSERT INTO locale VALUES ('0.pdf', 'vecchia')");
    dialogs.then(Answer::Ignore);
    const auto stopped = CopyTable(dialogs, "frmMast").run("tarvrows", "locale", *session->CnnArch);
    EXPECT_TRUE(stopped.stopped);
    EXPECT_EQ(stopped.deleted, 0);
    ASSERT_EQ(dialogs.texts().size(), 1u);
    EXPECT_NE(dialogs.texts()[0].find("il campo nota della tabella tarvrows non ha un campo corrispondente"),
              std::string::npos);
    EXPECT_EQ(localRows("locale", "CITTÀ"), (Rows{{"vecchia"}}));

    const auto copied = CopyTable(dialogs, "frmMast").run("tarvcitta", "locale", *session->CnnArch);
    EXPECT_FALSE(copied.stopped);
    EXPECT_EQ(localRows("locale", "CITTÀ"), (Rows{{"Forlì"}}));
}

INSTANTIATE_TEST_SUITE_P(Engines, PremasterTest, ZQ_LINK_ENGINES,
                         [](const auto& info) { return PrintToString(info.param); });

}  // namespace
}  // namespace zq::test
