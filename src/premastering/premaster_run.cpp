#include "premastering/premaster_run.h"

#include "common/error.h"
#include "common/gesterr.h"
#include "linking/link_names.h"
#include "linking/message_lines.h"
#include "linking/run_summary.h"
#include "premastering/copy_table.h"
#include "runtime/text.h"
#include "journal/run_log.h"
#include "journal/writer_lock.h"

#include <optional>

namespace zq {
namespace {

constexpr long kErrItemNotFound = 3265;

}  // namespace

PremasterRun::PremasterRun(Session& session, ArchiveOpener opener) : session_(session), opener_(std::move(opener)) {
    if (!opener_) opener_ = [](const std::string& path) { return ArchiveDatabase::open(path); };
}

const char* PremasterRun::caption() { return "Pre-Masterizzazione Archivi"; }

bool PremasterRun::guard(const std::function<void()>& statement) {
    // Retry and Ignore both end this archive's steps without repeating anything.
    try {
        statement();
        return true;
    } catch (const AbortProgram&) {
        throw;
    } catch (const std::exception& ex) {
        if (GestErr(session_.dialogs(), toError(ex), "frmMast", "Elabora", "") == 0) throw AbortProgram();
        return false;
    }
}

PremasterRunResult PremasterRun::cmdMast_Click(const std::vector<FreeRow>& entries) {
    PremasterRunResult result;
    const auto lock = WriterLock::acquire(session_.cfg.PathArch, session_.cfg.Utente, session_.dialogs(), caption());
    if (!lock) return result;
    RunLog log(session_.cfg.PathArch, "premaster", session_.cfg.Utente);
    std::unique_ptr<ArchiveDatabase> db;
    for (const auto& e : entries) {
        if (!e.selected) continue;
        if (!db) db = opener_(session_.cfg.PathArch);
        const Answer a = session_.dialogs().message(
            Message{messageLines({"vuoi pre-masterizzare la tabella ", e.description, "area " + e.area, "(" + e.serial + ")?"}),
                    caption(), Buttons::YesNo, Icon::Question});
        if (a != Answer::Yes) continue;
        ++result.asked;
        const long rowsBefore = result.rowsCopied;
        switch (Elabora(*db, e.serial, &result.rowsCopied)) {
            case Outcome::Premastered:
                ++result.premastered;
                log.archive(e.serial);
                break;
            case Outcome::Skipped: ++result.skipped; break;
            case Outcome::Stopped: ++result.stopped; break;
        }
        log.add(result.rowsCopied - rowsBefore);
    }
    if (!db) {
        session_.dialogs().message(Message{"Devi selezionare un archivio!", caption(), Buttons::Ok, Icon::Exclamation});
        return result;
    }
    db->close();
    log.end(RunLog::outcomeOf(result.premastered, result.skipped + result.stopped));
    session_.dialogs().yield();
    static constexpr RunWords kWords{"Copia dei dati per la Pre-Masterizzazione eseguita con successo.",
                                     "Nessun archivio pre-masterizzato.", "Pre-Masterizzazione non completata.",
                                     "Archivi pre-masterizzati: ", "Archivi non pre-masterizzati: ", nullptr};
    session_.dialogs().message(closingMessage(RunTally{result.asked, result.premastered, 0}, kWords, caption()));
    result.completed = true;
    return result;
}

PremasterRun::Outcome PremasterRun::Elabora(ArchiveDatabase& db, const std::string& serial, long* rowsCopied) {
    const std::string s = vbLCase(vbTrim(serial));
    const std::string savName = s + "_SAV";
    const std::string colName = s + "_COL";
    if (!LinkNames::safeSerial(s)) {
        session_.dialogs().message(Message{messageLines({"ATTENZIONE!", "Nome di tabella non valido:", s, "",
                                                         "Impossibile continuare"}),
                                           caption(), Buttons::Ok, Icon::Exclamation});
        return Outcome::Skipped;
    }

    std::optional<TableDef> t, saved, col;
    if (!guard([&] {
            t = db.tableDef(s);
            saved = db.tableDef(savName);
            col = db.tableDef(colName);
        }))
        return Outcome::Stopped;

    // A run stopped between the two renames left the link under its new name and no
    // table s: giving the set-aside table its name back completes it.
    if (!t && col && col->isLink() && saved) {
        if (!guard([&] { db.renameTable(saved->name, s); })) return Outcome::Stopped;
        return Outcome::Premastered;
    }
    if (!guard([&] {
            if (!t) throw Error(kErrItemNotFound, "tabella " + s + " non trovata nell'archivio", "frmMast");
        }))
        return Outcome::Stopped;
    if (vbTrim(t->sourceTableName).empty()) {
        session_.dialogs().message(Message{"Attenzione. La tabella non è collegata al TARV.", caption(), Buttons::Ok,
                                           Icon::Exclamation});
        return Outcome::Skipped;
    }
    if (!guard([&] {
            if (!saved) throw Error(kErrItemNotFound, "tabella " + savName + " non trovata nell'archivio", "frmMast");
            if (!session_.CnnArch || session_.CnnArch->state() == 0)
                throw Error(kErrProviderFailure, "database archivio non connesso", "frmMast");
        }))
        return Outcome::Stopped;

    const auto counts = CopyTable(session_.dialogs(), "frmMast").run(s, saved->name, *session_.CnnArch);
    if (rowsCopied) *rowsCopied += counts.copied;
    if (counts.stopped) return Outcome::Stopped;

    // The link's new name and the local table's old one are one change of the file.
    std::optional<ArchiveTransaction> tx;
    if (!guard([&] { tx.emplace(db); })) return Outcome::Stopped;
    if (!guard([&] { db.renameTable(t->name, t->name + "_COL"); })) return Outcome::Stopped;
    if (!guard([&] { db.renameTable(saved->name, s); })) return Outcome::Stopped;
    if (!guard([&] { tx->commit(); })) return Outcome::Stopped;
    return Outcome::Premastered;
}

}  // namespace zq
