#include "linking/free_run.h"

#include "app/company_connection.h"
#include "common/error.h"
#include "common/gesterr.h"
#include "linking/link_names.h"
#include "linking/link_sql.h"
#include "linking/message_lines.h"
#include "linking/run_summary.h"
#include "runtime/text.h"
#include "journal/journal.h"
#include "journal/run_log.h"
#include "journal/writer_lock.h"

#include <algorithm>
#include <optional>

namespace zq {

FreeRun::FreeRun(Session& session, ArchiveOpener opener) : session_(session), opener_(std::move(opener)) {
    if (!opener_) opener_ = [](const std::string& path) { return ArchiveDatabase::open(path); };
}

const char* FreeRun::caption() { return "Scollegamento tabelle al database TARV"; }

bool FreeRun::guard(const std::string& query, const std::function<void()>& statement) {
    return runGuarded(session_.dialogs(), "frmFree", "FreeTable", query, statement);
}

Answer FreeRun::ask(const std::string& text) {
    return session_.dialogs().message(Message{text, caption(), Buttons::YesNo, Icon::Question});
}

FreeRunResult FreeRun::cmdFree_Click(const std::vector<FreeRow>& entries, bool allCompanies) {
    FreeRunResult result;
    const auto lock = WriterLock::acquire(session_.cfg.PathArch, session_.cfg.Utente, session_.dialogs(), caption());
    if (!lock) return result;
    RunLog log(session_.cfg.PathArch, "unlink", session_.cfg.Utente);
    const std::vector<std::string> resumed = resumeInterrupted();
    result.resumed = static_cast<int>(resumed.size());
    for (const auto& s : resumed) log.archive(s);
    std::unique_ptr<ArchiveDatabase> db;
    for (const auto& e : entries) {
        if (!e.selected) continue;
        if (std::find(resumed.begin(), resumed.end(), vbLCase(e.serial)) != resumed.end()) continue;
        if (!db) {
            if (session_.CnnArch && session_.CnnArch->state() != 0) session_.CnnArch->close();
            db = opener_(session_.cfg.PathArch);
            result.delTarv = ask(kDeleteTarvQuestion) == Answer::Yes;
        }
        const Answer a = ask(messageLines({"vuoi scollegare la tabella ", e.description, "area " + e.area, "(" + e.serial + ")?"}));
        if (a != Answer::Yes) continue;
        ++result.asked;
        switch (FreeTable(*db, e, result.delTarv, allCompanies)) {
            case Outcome::Unlinked:
                ++result.unlinked;
                log.archive(e.serial);
                break;
            case Outcome::Skipped: ++result.skipped; break;
            case Outcome::Stopped: ++result.stopped; break;
            case Outcome::Partial:
                ++result.partial;
                log.archive(e.serial);
                break;
        }
    }
    if (!db) {
        // A rerun that only had to finish what was interrupted has said so already.
        result.completed = result.resumed > 0;
        log.end(RunLog::outcomeOf(result.resumed, 0));
        if (!result.completed)
            session_.dialogs().message(Message{"Devi selezionare un archivio!", caption(), Buttons::Ok, Icon::Exclamation});
        return result;
    }
    db->close();
    // A partial unlink is done in the archive and left undone on the server: both.
    log.end(RunLog::outcomeOf(result.unlinked + result.resumed + result.partial,
                              result.partial + result.skipped + result.stopped));
    session_.ConnArch();
    session_.dialogs().yield();
    static constexpr RunWords kWords{"Scollegamento tabelle effettuato con successo.", "Nessuna tabella scollegata.",
                                     "Scollegamento tabelle non completato.", "Tabelle scollegate: ",
                                     "Tabelle non scollegate: ",
                                     "di cui con la tabella del TARV o la riga del registro ancora presenti "
                                     "(il prossimo scollegamento le cancella): "};
    session_.dialogs().message(closingMessage(RunTally{result.asked, result.unlinked, result.partial}, kWords, caption()));
    result.completed = true;
    return result;
}

FreeRun::Outcome FreeRun::FreeTable(ArchiveDatabase& db, const FreeRow& e, bool delTarv, bool /*allCompanies*/) {
    const std::string& s = e.serial;
    const std::string sav = LinkNames::sav(s);
    const std::string tarv = LinkNames::tarv(s);
    if (!LinkNames::safeSerial(s)) {
        session_.dialogs().message(Message{messageLines({"ATTENZIONE!", "Nome di tabella non valido:", s, "",
                                                         "Impossibile continuare"}),
                                           caption(), Buttons::Ok, Icon::Exclamation});
        return Outcome::Skipped;
    }

    std::vector<TableDef> defs;
    if (!guard("", [&] { defs = db.tableDefs(); })) return Outcome::Stopped;
    bool saved = false;
    std::optional<TableDef> current;
    for (const auto& d : defs) {
        if (d.name == sav) saved = true;
        if (vbLCase(d.name) == vbLCase(s)) current = d;
    }
    // Only a link may go: deleting a local table of that name would lose its rows.
    if (current && !current->isLink()) {
        session_.dialogs().message(Message{"Attenzione. La tabella non è collegata al TARV.", caption(), Buttons::Ok,
                                           Icon::Exclamation});
        return Outcome::Skipped;
    }
    if (!saved && ask(messageLines({"Attenzione! Non ho trovato la tabella per il ripristino", "", "Vuoi continuare?"})) !=
                      Answer::Yes)
        return Outcome::Skipped;

    // The three places share no transaction: the journal says how far this got, so that
    // the next unlink run (or the check) finishes what a kill or a lost server left.
    std::optional<Journal> journal;
    long id = 0;
    if (!guard("", [&] {
            journal.emplace(db.path());
            id = journal->begin(kJournalOperation, s,
                                journalParams({{"tarv", delTarv ? "1" : "0"}, {"ditta", e.company}}),
                                session_.cfg.Utente);
        }))
        return Outcome::Stopped;
    {
        // Link gone and local table back are one change of the archive file.
        bool committed = false;
        {
            std::optional<ArchiveTransaction> tx;
            if (guard("", [&] { tx.emplace(db); }) &&
                (!current || guard("", [&] { db.deleteTable(current->name); }))) {
                bool renamed = true;
                for (const auto& d : defs)
                    if (renamed && d.name == sav) renamed = guard("", [&] { db.renameTable(d.name, s); });
                committed = renamed && guard("", [&] { tx->commit(); });
            }
        }
        if (!committed) {
            // Rolled back: nothing of this archive changed, nothing is left to finish.
            guard("", [&] { journal->finish(id); });
            return Outcome::Stopped;
        }
    }
    guard("", [&] { journal->mark(id, "archivio"); });

    if (!delTarv) {
        guard("", [&] { journal->finish(id); });
        return Outcome::Unlinked;
    }
    // The table is dropped in the database of the company the registry names, on the
    // run's own connection: whatever company a picker shows, no other company's table
    // of that name is touched, and the pickers' connection stays where it was.
    if ((!company_ || company_->code != e.company) &&
        !guard("", [&] { company_ = session_.OpenDitt(e.company); }))
        return Outcome::Partial;
    const std::string drop = LinkSql::dropTable(tarv);
    if (!guard(drop, [&] { company_->connection().execute(drop); })) return Outcome::Partial;
    guard("", [&] { journal->mark(id, "tarv"); });
    const std::string del = LinkSql::registryDelete(tarv);
    if (!guard(del, [&] { session_.tarv().execute(del); })) return Outcome::Partial;
    guard("", [&] { journal->finish(id); });
    return Outcome::Unlinked;
}

std::vector<std::string> FreeRun::resumeInterrupted() {
    std::vector<Journal::Entry> open;
    std::vector<std::string> done;
    if (!Journal::exists(session_.cfg.PathArch)) return done;
    if (!guard("", [&] { open = Journal(session_.cfg.PathArch).unfinished(kJournalOperation); })) return done;
    for (const auto& entry : open)
        if (complete(entry)) done.push_back(vbLCase(entry.archive));
    return done;
}

bool FreeRun::complete(const Journal::Entry& entry) {
    const std::string& s = entry.archive;
    if (!LinkNames::safeSerial(s)) return false;
    const std::string tarv = LinkNames::tarv(s);
    std::unique_ptr<ArchiveDatabase> db;
    std::optional<Journal> journal;
    if (!guard("", [&] {
            db = opener_(session_.cfg.PathArch);
            journal.emplace(session_.cfg.PathArch);
        }))
        return false;
    if (!entry.did("archivio")) {
        // Killed inside the archive step: its transaction either happened or not.
        std::optional<TableDef> current;
        bool saved = false;
        if (!guard("", [&] {
                current = db->tableDef(s);
                saved = db->hasTable(LinkNames::sav(s));
            }))
            return false;
        if (current && current->isLink()) {
            std::optional<ArchiveTransaction> tx;
            if (!guard("", [&] { tx.emplace(*db); })) return false;
            if (!guard("", [&] { db->deleteTable(current->name); })) return false;
            if (saved && !guard("", [&] { db->renameTable(LinkNames::sav(s), s); })) return false;
            if (!guard("", [&] { tx->commit(); })) return false;
        }
        if (!guard("", [&] { journal->mark(entry.id, "archivio"); })) return false;
    }
    if (entry.param("tarv") == "1") {
        ConnectionPtr company;
        if (!entry.did("tarv")) {
            const std::string drop = LinkSql::dropTable(tarv);
            if (!guard(drop, [&] {
                    company = openCompanyConnection(session_, entry.param("ditta"));
                    auto rs = company->openRecordset(LinkSql::systablesQuery(tarv), CursorType::ForwardOnly,
                                                     LockType::ReadOnly);
                    const bool present = !rs->eof();
                    rs->close();
                    if (present) company->execute(drop);
                    company->close();
                }))
                return false;
            if (!guard("", [&] { journal->mark(entry.id, "tarv"); })) return false;
        }
        const std::string del = LinkSql::registryDelete(tarv);
        if (!guard(del, [&] { session_.CnnTarv->execute(del); })) return false;
    }
    if (!guard("", [&] { journal->finish(entry.id); })) return false;
    db->close();
    session_.dialogs().message(Message{messageLines({"Lo scollegamento interrotto della tabella", s,
                                                     "è stato completato."}),
                                       caption(), Buttons::Ok, Icon::Information});
    return true;
}

}  // namespace zq
