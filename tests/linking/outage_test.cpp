// The server stops in the middle of a run and comes back: what the run leaves behind,
// what it says, and how Retry and Ignore go on. Each test has a server of its own.

#include "link_fixture.h"

#include "common/error.h"
#include "dataaccess/fault_hook.h"
#include "linking/link_list.h"
#include "linking/link_run.h"
#include "premastering/premaster_run.h"
#include "runtime/text.h"

#include <functional>

namespace zq::test {
namespace {

using Rows = std::vector<std::vector<std::string>>;

class OutageTest : public LinkTest {
protected:
    OutageTest() { ownServer = true; }
    void TearDown() override {
        FaultHook::observe({});
        LinkTest::TearDown();
    }
    void link(const ArchRow& e) {
        pickCompany("001");
        dialogs.answerAlways(Answer::Yes);
        ASSERT_EQ(LinkRun(*session, lookups->aDocs).cmdColl_Click(LinkRequest{0, "001", 0, "2023", true}, {e}).linked, 1);
        dialogs = ScriptedDialogs();
    }
    /// The server stops when the run reaches its n-th change from now.
    void pauseAtChange(long n) {
        const long at = FaultHook::passed() + n;
        FaultHook::observe([this, at](long point) {
            if (point == at) pauseServer();
        });
    }
    /// Answers every error report with `a`, starting the server again first.
    void onErrorReport(Answer a) {
        dialogs.onMessage = [this, a](const Message& m) {
            if (m.buttons != Buttons::AbortRetryIgnore) return;
            ++reports;
            resumeServer();
            dialogs.then(a);
        };
    }
    int reports = 0;
};

TEST_P(OutageTest, PremasteringCutByTheServerCopiesEverythingOnRetryAndNothingOnIgnore) {
    link(entry(kFornitori2023, "M", "01"));
    tarv(kDitt001)->execute("INSERT INTO a2215032010150a1f (sys_record, sys_filename)"
                            " SELECT g, 'f' || g FROM generate_series(1, 20000) g");
    const std::string s = kFornitori2023, sav = s + "_sav";
    const long savedBefore = archiveCount(sav);
    auto entries = LinkList::premastering(*session, model, FreeFilter{}, lookups->aDocs);
    entries[static_cast<std::size_t>(LinkList::find(entries, s))].selected = true;

    // Ignore: the archive stays exactly as it was, and the run does not say success.
    pauseAtChange(6000);
    onErrorReport(Answer::Ignore);
    dialogs.then(Answer::Yes);
    auto result = PremasterRun(*session).cmdMast_Click(entries);
    EXPECT_EQ(reports, 1);
    EXPECT_EQ(result.stopped, 1);
    EXPECT_TRUE(archiveDef(s)->isLink());
    EXPECT_FALSE(archiveDef(s + "_COL"));
    EXPECT_EQ(archiveCount(sav), savedBefore);
    EXPECT_NE(dialogs.texts().back().find("Pre-Masterizzazione non completata"), std::string::npos);

    // Retry: the copy starts again from the first row on a clean target.
    dialogs = ScriptedDialogs();
    reports = 0;
    pauseAtChange(6000);
    onErrorReport(Answer::Retry);
    dialogs.then(Answer::Yes);
    result = PremasterRun(*session).cmdMast_Click(entries);
    EXPECT_GE(reports, 1);
    EXPECT_EQ(result.premastered, 1);
    EXPECT_EQ(archiveCount(s), 20000);
    EXPECT_TRUE(archiveDef(s + "_COL")->isLink());
    EXPECT_EQ(dialogs.texts().back(), "Copia dei dati per la Pre-Masterizzazione eseguita con successo.");
}

TEST_P(OutageTest, WritesThroughALinkFollowTheArchiveTransaction) {
    link(entry(kFornitori2023, "M", "01"));
    const std::string insert = "INSERT INTO [" + std::string(kFornitori2023) + "] (sys_record, sys_filename) VALUES ";
    const auto onServer = [&] {
        return rows(kDitt001, "SELECT sys_record FROM a2215032010150a1f WHERE sys_record > 1000 ORDER BY 1");
    };
    auto& arch = *session->CnnArch;

    arch.beginTrans();
    arch.execute(insert + "(1001, 'annullata')");
    arch.rollbackTrans();
    arch.beginTrans();
    arch.execute(insert + "(1002, 'tenuta')");
    arch.execute("SAVEPOINT parziale");
    arch.execute(insert + "(1003, 'annullata')");
    arch.execute("ROLLBACK TO parziale");
    arch.commitTrans();
    EXPECT_EQ(onServer(), (Rows{{"1002"}}));

    // A grouped change cut by the server: its earlier write goes with it, and the commit
    // says so instead of keeping half of it.
    arch.beginTrans();
    arch.execute(insert + "(1004, 'persa')");
    pauseServer();
    EXPECT_THROW(arch.execute(insert + "(1005, 'persa')"), Error);
    resumeServer();
    EXPECT_THROW(arch.commitTrans(), Error);  // which ends the transaction
    arch.execute(insert + "(1006, 'dopo')");
    EXPECT_EQ(onServer(), (Rows{{"1002"}, {"1006"}}));
}

// The text of what `statement` throws; empty when it works.
std::string failureOf(const std::function<void()>& statement) {
    try {
        statement();
        return {};
    } catch (const Error& e) {
        return e.sqlState() + " " + e.description();
    }
}

TEST_P(OutageTest, ConnectionsOpenedBeforeAnOutageWorkAtOnceAfterIt) {
    link(entry(kFornitori2023, "M", "01"));
    const auto readLink = [&] {
        session->CnnArch->openRecordset("SELECT * FROM [" + std::string(kFornitori2023) + "]", CursorType::ForwardOnly,
                                        LockType::ReadOnly);
    };
    readLink();
    pauseServer();
    resumeServer();
    EXPECT_EQ(failureOf([&] { session->CnnTarv->openRecordset("SELECT * FROM utenti", CursorType::Static, LockType::ReadOnly); }), "");
    EXPECT_EQ(failureOf(readLink), "");

    // The logout marks the user as gone on a live connection.
    const std::string porta = "SELECT porta FROM utenti WHERE nome = '" + vbTrim(session->cfg.Utente) + "'";
    ASSERT_EQ(rows(kComune, porta), (Rows{{"WIN"}}));
    pauseServer();
    resumeServer();
    EXPECT_EQ(failureOf([&] { session->CloseConn(); }), "");
    EXPECT_EQ(rows(kComune, porta), (Rows{{""}}));
}

TEST_P(OutageTest, ALinkStoppedAtItsIndexesIsCompletedByTheRerun) {
    pickCompany("001");
    const ArchRow e = entry(kFornitori2023, "M", "01");
    const std::string tarvTable = "a2215032010150a1f";  // its indexes: primario and numero_doc
    auto& ditt = recordDitt();
    int indexes = 0;
    ditt.before = [&](const std::string& sql) {
        if (sql.rfind("CREATE INDEX", 0) == 0 || sql.rfind("CREATE UNIQUE INDEX", 0) == 0)
            if (++indexes == 2) pauseServer();
    };
    onErrorReport(Answer::Ignore);
    dialogs.answerAlways(Answer::Yes);
    const LinkRequest request{0, "001", 0, "2023", true};
    EXPECT_EQ(LinkRun(*session, lookups->aDocs, {}, {}, companyOpener()).cmdColl_Click(request, {e}).stopped, 1);
    ASSERT_EQ(reports, 1);
    ASSERT_EQ(tarvIndexes(kDitt001, tarvTable).size(), 1u);

    dialogs.clear();
    EXPECT_EQ(LinkRun(*session, lookups->aDocs, {}, {}, companyOpener()).cmdColl_Click(request, {e}).linked, 1);
    EXPECT_FALSE(dialogs.saw("esiste già nel database ditta"));
    EXPECT_EQ(tarvIndexes(kDitt001, tarvTable).size(), 2u);
    EXPECT_TRUE(archiveDef(kFornitori2023)->isLink());
}

TEST_P(OutageTest, AFailureThroughALinkSaysWhichOperationFailedOnWhichTable) {
    link(entry(kFornitori2023, "M", "01"));
    const std::string s = "[" + std::string(kFornitori2023) + "]";
    pg_->execute(kDitt001, "INSERT INTO a2215032010150a1f (sys_record, sys_filename) VALUES (1, 'uno'), (2, 'due');"
                           "REVOKE DELETE ON a2215032010150a1f FROM CURRENT_USER");
    struct Case {
        std::string sql, head, driver;
        bool outage;
    };
    const std::string table = std::string(kFornitori2023) + " (tabella a2215032010150a1f del database " + kDitt001 + ")";
    const std::vector<Case> cases = {
        {"INSERT INTO " + s + " (sys_record, sys_filename) VALUES (1, 'doppio')",
         "Inserimento nella tabella collegata " + table + " non riuscito:\r\n", "duplicate key", false},
        {"UPDATE " + s + " SET sys_record = 2 WHERE sys_record = 1",
         "Aggiornamento della tabella collegata " + table + " non riuscito:\r\n", "duplicate key", false},
        {"DELETE FROM " + s + " WHERE sys_record = 1",
         "Eliminazione dalla tabella collegata " + table + " non riuscita:\r\n", "permission denied", false},
        {"SELECT * FROM " + s, "Lettura della tabella collegata " + table + " non riuscita:\r\n", "", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sql);
        if (c.outage) pauseServer();
        const std::string text = failureOf([&] {
            if (c.sql.rfind("SELECT", 0) == 0)
                session->CnnArch->openRecordset(c.sql, CursorType::Static, LockType::ReadOnly);
            else
                session->CnnArch->execute(c.sql);
        });
        if (c.outage) resumeServer();
        EXPECT_EQ(text.find(" " + c.head), 0u) << text;
        EXPECT_NE(text.find(c.driver, c.head.size()), std::string::npos) << text;
    }
}

INSTANTIATE_TEST_SUITE_P(Server, OutageTest, ::testing::Values(TarvKind::Odbc),
                         [](const auto& info) { return PrintToString(info.param); });

}  // namespace
}  // namespace zq::test
