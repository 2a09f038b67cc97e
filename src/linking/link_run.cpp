#include "linking/link_run.h"

#include "common/gesterr.h"
#include "common/textroutines.h"
#include "linking/coll_table.h"
#include "linking/message_lines.h"
#include "journal/run_log.h"
#include "linking/run_summary.h"
#include "journal/writer_lock.h"

#include <optional>

namespace zq {

LinkRun::LinkRun(Session& session, const std::vector<Lookups::TipoDoc>& aDocs, ArchiveOpener opener,
                 IndexNamer::Random random, CompanyOpener companyOpener)
    : session_(session), aDocs_(aDocs), opener_(std::move(opener)), random_(std::move(random)),
      companyOpener_(std::move(companyOpener)) {
    if (!opener_) opener_ = [](const std::string& path) { return ArchiveDatabase::open(path); };
    if (!companyOpener_) companyOpener_ = [s = &session](const std::string& code) { return s->OpenDitt(code); };
}

const char* LinkRun::caption() { return CollTable::caption(CollTable::Variant::Coll); }

void LinkRun::message(const std::string& text, Icon icon) {
    session_.dialogs().message(Message{text, caption(), Buttons::Ok, icon});
}

bool LinkRun::CtrlParm(const std::vector<ArchRow>& entries, Dialogs& dialogs) {
    for (std::size_t i = 0; i + 1 < entries.size(); ++i) {
        if (!entries[i].selected) continue;
        for (std::size_t j = i + 1; j < entries.size(); ++j) {
            if (!entries[j].selected) continue;
            if (entries[i].associationType != entries[j].associationType) continue;
            if (entries[i].docTypeIndex != entries[j].docTypeIndex) continue;
            dialogs.message(Message{messageLines({"ATTENZIONE!", "Non si possono collegare più tabelle",
                                                  "con gli stessi parametri."}),
                                    caption(), Buttons::Ok, Icon::Exclamation});
            return false;
        }
    }
    return true;
}

LinkParams LinkRun::paramsOf(const LinkRequest& request, const ArchRow& e) {
    LinkParams p;
    p.ditt = request.companyCode;
    p.tipoAss = e.associationType;
    if (p.tipoAss == "M" && e.docTypeIndex >= 0 && e.docTypeIndex < static_cast<int>(aDocs_.size()))
        p.tipoDoc = aDocs_[static_cast<std::size_t>(e.docTypeIndex)].TipoDoc;
    p.anno = p.tipoAss == "M" ? ClngText(session_.dialogs(), request.yearText) : 9999;
    return p;
}

bool LinkRun::openCompany(const std::string& code, std::optional<CompanyDb>& company) {
    return runGuarded(session_.dialogs(), CollTable::module(CollTable::Variant::Coll), "CollTable", "",
                      [&] { company = companyOpener_(code); });
}

LinkRunResult LinkRun::cmdColl_Click(const LinkRequest& request, const std::vector<ArchRow>& entries) {
    LinkRunResult result;
    const auto lock = WriterLock::acquire(session_.cfg.PathArch, session_.cfg.Utente, session_.dialogs(), caption());
    if (!lock) return result;
    RunLog log(session_.cfg.PathArch, "link", session_.cfg.Utente);
    log.company(request.companyCode, request.yearText);
    if (request.companyIndex < 0) {
        message("Devi selezionare una Ditta!", Icon::Information);
        return result;
    }
    if (request.yearIndex < 0) {
        message("Devi selezionare un Esercizio!", Icon::Information);
        return result;
    }
    if (!request.arAttiva) {
        message(messageLines({"La Ditta selezionata non prevede", "il collegamento ad QUIRNOVA!"}), Icon::Exclamation);
        return result;
    }
    if (!CtrlParm(entries, session_.dialogs())) return result;

    std::unique_ptr<ArchiveDatabase> db;
    std::optional<CompanyDb> company;
    IndexNamer namer(random_);
    for (const auto& e : entries) {
        if (!e.selected) continue;
        if (!db) db = opener_(session_.cfg.PathArch);
        // The run's own connection to the company of its form: another window picking
        // another company cannot move it.
        if (!company && !openCompany(request.companyCode, company)) {
            ++result.stopped;
            db->close();
            return result;
        }
        ++result.asked;
        const Answer a = session_.dialogs().message(
            Message{messageLines({"Vuoi collegare la tabella " + e.description, "area " + e.area, "(" + e.serial + ")?"}),
                    caption(), Buttons::YesNo, Icon::Question});
        if (a != Answer::Yes) continue;
        switch (CollTable(session_, *db, namer, CollTable::Variant::Coll, *company).run(e, paramsOf(request, e))) {
            case CollTable::Outcome::Linked:
                ++result.linked;
                log.archive(e.serial);
                break;
            case CollTable::Outcome::Refused: ++result.refused; break;
            case CollTable::Outcome::Stopped: ++result.stopped; break;
        }
    }
    if (!db) {
        message("Devi selezionare un archivio!", Icon::Exclamation);
        return result;
    }
    db->close();
    session_.dialogs().yield();
    log.end(RunLog::outcomeOf(result.linked, result.refused + result.stopped));
    static constexpr RunWords kWords{"Collegamento tabelle effettuato con successo.", "Nessuna tabella collegata.",
                                     "Collegamento tabelle non completato.", "Tabelle collegate: ",
                                     "Tabelle non collegate: ", nullptr};
    session_.dialogs().message(closingMessage(
        RunTally{result.linked + result.refused + result.stopped, result.linked, 0}, kWords, caption()));
    result.completed = true;
    return result;
}

}  // namespace zq
