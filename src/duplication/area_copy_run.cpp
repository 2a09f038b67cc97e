#include "duplication/area_copy_run.h"

#include "common/error.h"
#include "common/gesterr.h"
#include "duplication/area_journal.h"
#include "duplication/folder_names.h"
#include "linking/message_lines.h"
#include "runtime/text.h"
#include "journal/run_log.h"
#include "journal/writer_lock.h"

#include <filesystem>

namespace zq {

AreaCopyRun::AreaCopyRun(Session& session, ArchiveSerial::Random random, CreaCopy::Clock clock, ArchiveOpener opener)
    : session_(session), random_(std::move(random)), clock_(std::move(clock)), opener_(std::move(opener)) {
    if (!opener_) opener_ = [](const std::string& path) { return ArchiveDatabase::open(path); };
}

const char* AreaCopyRun::caption() { return "Duplicazione AREE"; }

std::string AreaCopyRun::listQuery(long areaId) {
    return "SELECT * " + std::string(" FROM DB_ELENCO ") + "WHERE ID_AREA = " + std::to_string(areaId) +
           " ORDER BY ARCHIVIO";
}

std::vector<CopyRow> AreaCopyRun::LeggList(Session& session, ArchiveModel& model, long areaId) {
    std::vector<CopyRow> out;
    model.LeggLink(session.cfg.PathArch);
    auto rs = session.CnnArch->openRecordset(listQuery(areaId), CursorType::ForwardOnly, LockType::ReadOnly);
    for (; !rs->eof(); rs->moveNext()) {
        const Value name = rs->field("ARCHIVIO"), serial = rs->field("SYS_SERIALE");
        if (name.isNullish() || serial.isNullish()) continue;
        CopyRow e;
        e.Archivio = name.toText();
        e.Tabella = vbLCase(serial.toText());
        e.Selez = true;
        e.Collegata = model.CercLink(e.Tabella);
        out.push_back(std::move(e));
    }
    rs->close();
    return out;
}

void AreaCopyRun::message(const std::string& text, Icon icon) {
    session_.dialogs().message(Message{text, caption(), Buttons::Ok, icon});
}

// Run steps 1 to 3: every stop leaves the databases and folders as they were.
bool AreaCopyRun::checks(const AreaCopyRequest& request, const std::vector<CopyRow>& entries, AreaCopyResult& result) {
    if (entries.empty()) return false;
    bool anySelected = false, askLink = false;
    for (const auto& e : entries) {
        if (!e.Selez) continue;
        if (!anySelected) {
            anySelected = true;
            if (vbTrim(request.newAreaName).empty()) {
                message("Il nome dell'AREA nuova è obbligatorio.", Icon::Information);
                return false;
            }
            const std::string path = vbTrim(request.parentFolder);
            if (path.empty()) {
                message("Il percorso dell'area PARENT è obbligatorio.", Icon::Information);
                return false;
            }
            std::error_code ec;
            if (!std::filesystem::is_directory(path, ec)) {
                message("Percorso dell'area PARENT inesistente", Icon::Information);
                return false;
            }
            if (!FolderNames::usableName(request.newAreaName)) {
                message(FolderNames::unusableName("Il nome dell'AREA nuova", request.newAreaName), Icon::Exclamation);
                return false;
            }
            // The names, edited or not, become folders: one that would leave the area's
            // folder is refused while nothing has been made.
            for (const auto& x : entries)
                if (x.Selez && !FolderNames::usableName(x.Archivio)) {
                    message(FolderNames::unusableName("Il nome dell'archivio", x.Archivio), Icon::Exclamation);
                    return false;
                }
        }
        if (e.Collegata) {
            askLink = true;
            break;
        }
    }
    if (!anySelected) {
        message("Devi selezionare un archivio!", Icon::Exclamation);
        return false;
    }
    if (!askLink) return true;

    const Answer a = session_.dialogs().message(
        Message{"Vuoi collegare le tabelle al TARV?", caption(), Buttons::YesNoCancel, Icon::Question});
    if (a == Answer::Cancel) return false;
    result.linkTarv = a == Answer::Yes;
    if (!result.linkTarv) return true;
    if (request.companyIndex < 0) {
        message("Devi selezionare una Ditta!", Icon::Information);
        return false;
    }
    if (request.yearIndex < 0) {
        message("Devi selezionare un Esercizio!", Icon::Information);
        return false;
    }
    if (!request.arAttiva) {
        message(messageLines({"La Ditta selezionata non prevede", "il collegamento ad QUIRNOVA!"}), Icon::Exclamation);
        return false;
    }
    return true;
}

AreaCopyResult AreaCopyRun::cmdCopy_Click(const AreaCopyRequest& request, std::vector<CopyRow>& entries) {
    AreaCopyResult result;
    const auto lock = WriterLock::acquire(session_.cfg.PathArch, session_.cfg.Utente, session_.dialogs(), caption());
    if (!lock) return result;
    RunLog log(session_.cfg.PathArch, "duplicate-area", session_.cfg.Utente);
    log.company(request.companyCode, request.yearText);
    if (!checks(request, entries, result)) {
        result.enableButton = true;
        return result;
    }

    std::string pathArea;
    const std::string nuovaArea = request.newAreaName;

    auto guard = [&](const std::string& q, const std::function<void()>& f) {
        return runGuarded(session_.dialogs(), "frmCopy", "cmdCopy_Click", q, f);
    };
    std::unique_ptr<ArchiveDatabase> db;
    RecordsetPtr elenco;
    std::optional<CreaCopy> core;
    std::optional<AreaJournal> journal;
    for (auto& e : entries) {
        if (!e.Selez) continue;
        if (!db) {
            if (!guard("", [&] { db = opener_(session_.cfg.PathArch); })) break;
            // A killed run of this same area is taken up, never made a second time.
            if (!guard("", [&] { journal.emplace(*db, request, session_.cfg.Utente); })) break;
            // The area's folder: the one a killed run made, or a new one of its own.
            pathArea = journal->areaFolder();
            if (pathArea.empty()) {
                pathArea = FolderNames::makeOwnFolder(
                    FolderNames::areaFolder(FolderNames::withSeparator(vbTrim(request.parentFolder)), vbTrim(nuovaArea)));
                if (pathArea.empty()) {
                    guard("", [&] { journal->finish(); });
                    message(messageLines({"Errore durante la creazione della cartella della nuova AREA.",
                                          "impossibile continuare."}),
                            Icon::Critical);
                    return result;
                }
                if (!guard("", [&] { journal->areaFolderMade(pathArea); })) break;
            }
            result.areaFolder = pathArea = FolderNames::withSeparator(pathArea);
            result.newAreaId = journal->areaId();
            // Retry repeats only what did not happen: the area's AREE row is written once.
            const bool opened = guard("", [&] {
                if (result.newAreaId == 0) {
                    auto aree = db->openTable("AREE");
                    aree->addNew();
                    aree->setField("area", nuovaArea);
                    aree->setField("ID_PARENT", Value(static_cast<std::int64_t>(request.parentAreaId)));
                    aree->update();
                    result.newAreaId = static_cast<long>(aree->field("Id_Area").toInteger());
                    aree->close();
                    journal->areaMade(result.newAreaId);
                }
                elenco = db->openTable("DB_ELENCO");
            });
            if (!opened) break;
            core.emplace(session_, *db, CopyNames{"frmCopy", "CreaCopy", caption()}, random_, clock_);
            core->beforeChanges = [&](const CopyRow& c) { core->guard("", [&] { journal->copyBegun(c); }); };
        }
        if (journal->copied(e.Tabella)) {
            ++result.copied;
            log.archive(e.Tabella);
            continue;
        }
        if (!journal->undoBegun(e.Tabella, session_, *core)) {
            ++result.stopped;
            continue;
        }
        switch (core->run(e, pathArea, result.newAreaId, *elenco, result.linkTarv, request.companyCode,
                          request.yearText)) {
            case CreaCopy::Outcome::Copied:
                ++result.copied;
                log.archive(e.Tabella);
                break;
            case CreaCopy::Outcome::Linked:
                ++result.copied, ++result.linked;
                log.archive(e.Tabella);
                break;
            case CreaCopy::Outcome::Skipped: ++result.skipped; break;
            case CreaCopy::Outcome::Stopped: ++result.stopped; break;
        }
        core->guard("", [&] { journal->copyEnded(e.Tabella); });
    }
    if (journal) guard("", [&] { journal->finish(); });
    log.end(RunLog::outcomeOf(result.copied, result.skipped + result.stopped));
    if (db) {
        if (elenco) elenco->close();
        db->close();
        session_.dialogs().yield();
    }
    message("Duplicazione AREA terminata.", Icon::Information);
    result.completed = true;
    return result;
}

}  // namespace zq
