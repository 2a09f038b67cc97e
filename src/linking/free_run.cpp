#include "linking/free_run.h"

#include "common/error.h"
#include "common/gesterr.h"
#include "linking/link_names.h"
#include "linking/link_sql.h"
#include "linking/message_lines.h"
#include "runtime/text.h"

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
    std::unique_ptr<ArchiveDatabase> db;
    for (const auto& e : entries) {
        if (!e.selected) continue;
        if (!db) {
            if (session_.CnnArch && session_.CnnArch->state() != 0) session_.CnnArch->close();
            db = opener_(session_.cfg.PathArch);
            result.delTarv = ask(kDeleteTarvQuestion) == Answer::Yes;
        }
        const Answer a = ask(messageLines({"vuoi scollegare la tabella ", e.description, "area " + e.area, "(" + e.serial + ")?"}));
        if (a != Answer::Yes) continue;
        switch (FreeTable(*db, e, result.delTarv, allCompanies)) {
            case Outcome::Unlinked: ++result.unlinked; break;
            case Outcome::Skipped: ++result.skipped; break;
            case Outcome::Stopped: ++result.stopped; break;
        }
    }
    if (!db) {
        session_.dialogs().message(Message{"Devi selezionare un archivio!", caption(), Buttons::Ok, Icon::Exclamation});
        return result;
    }
    db->close();
    session_.ConnArch();
    session_.dialogs().yield();
    session_.dialogs().message(
        Message{"Scollegamento tabelle effettuato con successo.", caption(), Buttons::Ok, Icon::Information});
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

    {
        // Link gone and local table back are one change of the archive file.
        std::optional<ArchiveTransaction> tx;
        if (!guard("", [&] { tx.emplace(db); })) return Outcome::Stopped;
        if (current && !guard("", [&] { db.deleteTable(current->name); })) return Outcome::Stopped;
        for (const auto& d : defs)
            if (d.name == sav && !guard("", [&] { db.renameTable(d.name, s); })) return Outcome::Stopped;
        if (!guard("", [&] { tx->commit(); })) return Outcome::Stopped;
    }

    if (!delTarv) return Outcome::Unlinked;
    // The table is dropped in the database of the company the registry names, on the
    // run's own connection: whatever company a picker shows, no other company's table
    // of that name is touched, and the pickers' connection stays where it was.
    if ((!company_ || company_->code != e.company) &&
        !guard("", [&] { company_ = session_.OpenDitt(e.company); }))
        return Outcome::Stopped;
    const std::string drop = LinkSql::dropTable(tarv);
    if (!guard(drop, [&] { company_->connection().execute(drop); })) return Outcome::Stopped;
    const std::string del = LinkSql::registryDelete(tarv);
    if (!guard(del, [&] { session_.tarv().execute(del); })) return Outcome::Stopped;
    return Outcome::Unlinked;
}

}  // namespace zq
