#include "linking/dav_run.h"

#include "common/gesterr.h"
#include "linking/coll_table.h"
#include "linking/message_lines.h"
#include "journal/run_log.h"
#include "journal/writer_lock.h"

#include <optional>

namespace zq {

DavRun::DavRun(Session& session, ArchiveOpener opener, IndexNamer::Random random)
    : session_(session), opener_(std::move(opener)), random_(std::move(random)) {
    if (!opener_) opener_ = [](const std::string& path) { return ArchiveDatabase::open(path); };
}

const char* DavRun::caption() { return CollTable::caption(CollTable::Variant::Dav); }

void DavRun::message(const std::string& text, Icon icon) {
    session_.dialogs().message(Message{text, caption(), Buttons::Ok, icon});
}

bool DavRun::CollDav(ArchiveDatabase& db, const DavRequest& request, const ArchRow& e) {
    LinkParams p;
    p.ditt = request.companyCode;
    p.anno = 9999;
    p.tipoAss = "M";
    p.tipoDoc = "Z";
    std::optional<CompanyDb> company;
    if (!runGuarded(session_.dialogs(), CollTable::module(CollTable::Variant::Dav), "CollDav", "",
                    [&] { company = session_.OpenDitt(request.companyCode); }))
        return false;
    IndexNamer namer(random_);
    return CollTable(session_, db, namer, CollTable::Variant::Dav, *company).run(e, p) == CollTable::Outcome::Linked;
}

DavRunResult DavRun::cmdColl_Click(const DavRequest& request, const std::vector<ArchRow>& entries, int chosen) {
    DavRunResult result;
    const auto lock = WriterLock::acquire(session_.cfg.PathArch, session_.cfg.Utente, session_.dialogs(), caption());
    if (!lock) return result;
    RunLog log(session_.cfg.PathArch, "dav", session_.cfg.Utente);
    log.company(request.companyCode);
    if (request.companyIndex < 0) {
        message("Devi selezionare una Ditta!", Icon::Information);
        return result;
    }
    if (!request.arAttiva) {
        message(messageLines({"La Ditta selezionata non prevede", "il collegamento ad QUIRNOVA!"}), Icon::Exclamation);
        return result;
    }
    if (chosen < 0 || chosen >= static_cast<int>(entries.size())) {
        message("Devi selezionare un archivio!", Icon::Exclamation);
        return result;
    }
    const ArchRow& e = entries[static_cast<std::size_t>(chosen)];
    result.asked = true;
    const Answer a = session_.dialogs().message(
        Message{messageLines({"Vuoi collegare la tabella " + e.description, "area " + e.area, "(" + e.serial + ")?"}),
                caption(), Buttons::YesNo, Icon::Question});
    if (a != Answer::Yes) return result;

    auto db = opener_(session_.cfg.PathArch);
    result.linked = CollDav(*db, request, e);
    db->close();
    if (result.linked) log.archive(e.serial);
    log.end(RunLog::outcomeOf(result.linked, !result.linked));
    session_.dialogs().yield();
    if (result.linked)
        message("Collegamento tabella effettuato con successo.", Icon::Information);
    else
        message(messageLines({"ATTENZIONE! Collegamento tabella non effettuato", "(vedere i messaggi precedenti)."}),
                Icon::Exclamation);
    return result;
}

}  // namespace zq
