#include "duplication/year_copy_run.h"

#include "common/error.h"
#include "common/gesterr.h"
#include "common/product.h"
#include "dataaccess/sql_text.h"
#include "duplication/area_copy_run.h"
#include "duplication/area_journal.h"
#include "duplication/folder_names.h"
#include "linking/message_lines.h"
#include "lookups/lookups.h"
#include "runtime/text.h"
#include "journal/run_log.h"
#include "journal/writer_lock.h"

namespace zq {

YearCopyRun::YearCopyRun(Session& session, Progress& progress, ArchiveSerial::Random random, CreaCopy::Clock clock,
                         ArchiveOpener opener)
    : session_(session), progress_(progress), random_(std::move(random)), clock_(std::move(clock)),
      opener_(std::move(opener)) {
    if (!opener_) opener_ = [](const std::string& path) { return ArchiveDatabase::open(path); };
}

const char* YearCopyRun::caption() { return "Duplicazione ANNUALITA'"; }

std::optional<int> YearCopyRun::wholeYear(const std::string& text) {
    const std::string t = vbTrim(text);
    if (t.empty() || t.size() > 4) return std::nullopt;
    for (char c : t)
        if (c < '0' || c > '9') return std::nullopt;
    return std::stoi(t);
}

void YearCopyRun::childAreasOf(Session& session, long sourceYearAreaId, Picker& childAreas) {
    Lookups lookups(session);
    lookups.LeggAree(childAreas, sourceYearAreaId, /*showParent=*/false, /*all=*/false);
}

void YearCopyRun::message(const std::string& text, Icon icon) {
    session_.dialogs().message(Message{text, caption(), Buttons::Ok, icon});
}

// Run steps 1 to 3, and the year: nothing is written before they pass.
bool YearCopyRun::checks(const YearCopyRequest& request, YearCopyResult& result) {
    if (request.childAreas.listCount() == 0) {
        session_.dialogs().message(Message{"Non ci sono aree da duplicare.",
                                           std::string(kProductName) + ": Duplicazione Anno.", Buttons::Ok,
                                           Icon::Information});
        return false;
    }
    if (vbTrim(request.newYearName).empty()) {
        message("Il nome del nuovo ANNO è obbligatorio.", Icon::Information);
        return false;
    }
    if (vbTrim(request.parentFolder).empty()) {
        message("Il percorso dell'area PARENT è obbligatorio.", Icon::Information);
        return false;
    }
    if (!FolderNames::usableName(request.newYearName)) {
        message(FolderNames::unusableName("Il nome del nuovo ANNO", vbTrim(request.newYearName)), Icon::Exclamation);
        return false;
    }
    const Answer a = session_.dialogs().message(
        Message{"Vuoi collegare le tabelle al TARV?", caption(), Buttons::YesNoCancel, Icon::Question});
    if (a == Answer::Cancel) return false;
    result.linkTarv = linkTarv_ = a == Answer::Yes;
    // Every archive reads its year, linked or not: a year that is no whole number is
    // refused here, before any folder or row exists.
    const auto year = wholeYear(request.yearText);
    if ((linkTarv_ && vbTrim(request.yearText).empty()) || !year) {
        message("Devi selezionare un Esercizio!", Icon::Information);
        return false;
    }
    year_ = *year;
    return true;
}

YearCopyResult YearCopyRun::cmdCopy_Click(const YearCopyRequest& request) {
    YearCopyResult result;
    const auto lock = WriterLock::acquire(session_.cfg.PathArch, session_.cfg.Utente, session_.dialogs(), caption());
    if (!lock) return result;
    RunLog log(session_.cfg.PathArch, "duplicate-year", session_.cfg.Utente);
    log.company("", request.yearText);
    if (!checks(request, result)) {
        result.enableButton = true;
        return result;
    }
    struct EndProgress {
        Progress& p;
        ~EndProgress() { p.end(); }
    } endProgress{progress_};
    progress_.begin("Duplicazione anno in corso...");
    session_.dialogs().yield();

    const std::string newYear = vbTrim(request.newYearName);
    auto guard = [&](const std::function<void()>& f) {
        return runGuarded(session_.dialogs(), "frmAnno", "cmdCopy_Click", "", f);
    };
    // A killed run's rerun (same name, parent and folder) takes up its journal entry:
    // its folders, its AREE rows and the copies it finished.
    if (!guard([&] {
            if (!db_) db_ = opener_(session_.cfg.PathArch);
            journal_.emplace(*db_, AreaJournal::kYearOperation, newYear, request.parentAreaId,
                             vbTrim(request.parentFolder), "", session_.cfg.Utente);
        })) {
        db_.reset();
        return result;
    }
    auto abandon = [&] {
        guard([&] { journal_->finish(); });
        journal_.reset();
        db_->close();
        db_.reset();
    };
    yearFolder_ = journal_->areaFolder();
    if (yearFolder_.empty()) {
        yearFolder_ = FolderNames::NomeCart(session_.dialogs(), "ANNO", vbTrim(request.parentFolder), newYear);
        if (yearFolder_.empty()) {
            abandon();
            return result;
        }
        yearFolder_ = FolderNames::makeOwnFolder(yearFolder_);
        if (yearFolder_.empty()) {
            abandon();
            message(messageLines({"Errore durante la creazione della cartella del nuovo ANNO.", "impossibile continuare."}),
                    Icon::Critical);
            result.enableButton = true;
            return result;
        }
        guard([&] { journal_->areaFolderMade(yearFolder_); });
    }
    result.yearFolder = yearFolder_ = FolderNames::withSeparator(yearFolder_);

    // Retry repeats only what did not happen: the year's AREE row is written once; and a
    // killed run's rerun (same name, parent and folder) takes up its journal entry.
    yearAreaId_ = 0;
    const bool opened = guard([&] {
        model_.LeggLink(session_.cfg.PathArch);
        if (yearAreaId_ == 0) yearAreaId_ = journal_->areaId();
        if (yearAreaId_ == 0) {
            yearAreaId_ = addArea(newYear, request.parentAreaId);
            journal_->areaMade(yearAreaId_);
        }
        elenco_ = db_->openTable("DB_ELENCO");
    });
    if (opened) {
        result.yearAreaId = yearAreaId_;
        core_.emplace(session_, *db_, CopyNames{"frmAnno", "CreaArch", caption()}, random_, clock_);
        for (int i = 0; i < request.childAreas.listCount(); ++i) CreaArea(request.childAreas, i, result);
        guard([&] { journal_->finish(); });
        log.archive(newYear);
        log.end(RunLog::outcomeOf(result.copied, result.skipped + result.stopped));
    }
    core_.reset();
    journal_.reset();
    if (elenco_) elenco_->close();
    if (db_) db_->close();
    session_.dialogs().yield();
    progress_.end();
    session_.dialogs().yield();
    message("Duplicazione ANNO terminata.", Icon::Information);
    result.completed = opened;
    return result;
}

long YearCopyRun::addArea(const std::string& name, long parent) {
    auto aree = db_->openTable("AREE");
    aree->addNew();
    aree->setField("area", name);
    aree->setField("ID_PARENT", Value(static_cast<std::int64_t>(parent)));
    aree->update();
    const long id = static_cast<long>(aree->field("Id_Area").toInteger());
    aree->close();
    return id;
}

void YearCopyRun::CreaArea(const Picker& areas, int i, YearCopyResult& result) {
    const std::string name = areas.list(i);
    // An area name read from the archive can hold what no folder name may: that area
    // is left out, as one whose folder cannot be made.
    if (!FolderNames::usableName(name)) {
        message(messageLines({FolderNames::unusableName("Il nome dell'area", name), "L'area non è stata duplicata."}),
                Icon::Exclamation);
        return;
    }
    areaFolder_ = journal_->subFolder(areas.itemData(i));
    if (areaFolder_.empty()) {
        areaFolder_ = FolderNames::NomeCart(session_.dialogs(), "AREA", yearFolder_, name);
        if (areaFolder_.empty()) return;
        areaFolder_ = FolderNames::makeOwnFolder(areaFolder_);
        if (areaFolder_.empty()) {
            message(messageLines({"Errore durante la creazione della cartella della nuova AREA.", "impossibile continuare."}),
                    Icon::Critical);
            return;
        }
        if (!core_->guard("", [&] { journal_->subFolderMade(areas.itemData(i), areaFolder_); })) return;
    }
    areaFolder_ = FolderNames::withSeparator(areaFolder_);
    progress_.setLabel("Creazione area " + vbTrim(name) + " in corso...");
    session_.dialogs().yield();

    std::vector<CopyRow> entries;
    areaId_ = 0;
    if (!runGuarded(session_.dialogs(), "frmAnno", "CreaArea", "", [&] {
            if (areaId_ == 0) areaId_ = journal_->subArea(areas.itemData(i), name);
            if (areaId_ == 0) {
                areaId_ = addArea(name, yearAreaId_);
                journal_->subAreaMade(areas.itemData(i), areaId_);
            }
            entries = AreaCopyRun::LeggList(session_, model_, areas.itemData(i));
        }))
        return;
    ++result.areas;
    for (auto& e : entries) {
        bool leftOut = false;
        if (journal_->copied(e.Tabella)) {
            ++result.copied;
            continue;
        }
        if (!journal_->undoBegun(e.Tabella, session_, *core_)) {
            ++result.stopped;
            continue;
        }
        const auto outcome = CreaArch(e, leftOut);
        core_->guard("", [&] { journal_->copyEnded(e.Tabella); });
        switch (outcome) {
            case CreaCopy::Outcome::Copied: ++result.copied; break;
            case CreaCopy::Outcome::Linked: ++result.copied, ++result.linked; break;
            case CreaCopy::Outcome::Skipped: ++(leftOut ? result.leftOut : result.skipped); break;
            case CreaCopy::Outcome::Stopped: ++result.stopped; break;
        }
    }
}

bool YearCopyRun::useCompany(const std::string& ditt) { return core_->useCompany(ditt); }

bool YearCopyRun::companyMayLink() {
    const std::string q = "SELECT * FROM regditta WHERE anno = " + std::to_string(year_);
    bool active = false;
    core_->guard(q, [&] {
        auto rs = core_->companyConnection().openRecordset(q, CursorType::Static, LockType::ReadOnly);
        if (!rs->eof()) {
            const Value v = rs->field("ar_attiva");
            const std::string a = v.isNullish() ? std::string() : vbTrim(v.toText());
            active = a == "S" || a == "U";
        }
        rs->close();
    });
    return active;
}

CreaCopy::Outcome YearCopyRun::CreaArch(CopyRow& e, bool& leftOut) {
    progress_.setLabel("Creazione area " + vbTrim(e.Archivio) + " in corso...");
    session_.dialogs().yield();

    const bool listedLinked = e.Collegata;
    std::string ditt;
    if (e.Collegata) {
        e.TipoAss = "A";
        e.TipoDocu.clear();
        std::optional<RegistryRow> reg;
        if (!core_->registryOf(e.Tabella, reg)) return CreaCopy::Outcome::Stopped;
        if (reg && reg->ditt) ditt = *reg->ditt;
        if (reg && reg->tipoAss) e.TipoAss = *reg->tipoAss;
        if (reg && reg->tipoDoc) e.TipoDocu = *reg->tipoDoc;
        if (e.TipoAss == "A") {
            leftOut = true;
            return CreaCopy::Outcome::Skipped;
        }
        if (!useCompany(ditt)) return CreaCopy::Outcome::Stopped;
        e.Collegata = companyMayLink();
        bool stopped = false;
        if (!core_->parametersFree(LinkParams{ditt, year_, e.TipoAss, e.TipoDocu}, e.Archivio, stopped)) {
            if (stopped) return CreaCopy::Outcome::Stopped;
            e.Collegata = false;
        }
    }

    core_->newSerial(e);
    bool stopped = false;
    const auto source = core_->sourceTable(e.Tabella, listedLinked, e.Archivio, stopped);
    if (stopped) return CreaCopy::Outcome::Stopped;
    if (!source) return CreaCopy::Outcome::Skipped;

    if (!FolderNames::usableName(e.Archivio)) {
        core_->inform(messageLines({FolderNames::unusableName("Il nome dell'archivio", vbTrim(e.Archivio)),
                                    "La tabella non è stata duplicata."}));
        return CreaCopy::Outcome::Skipped;
    }
    e.Cartella = FolderNames::NomeCart(session_.dialogs(), "DOCUMENTI", areaFolder_, vbTrim(e.Archivio));
    if (e.Cartella.empty()) return CreaCopy::Outcome::Skipped;
    e.Cartella = FolderNames::makeOwnFolder(e.Cartella);
    if (e.Cartella.empty()) {
        core_->inform(messageLines({"Errore durante la creazione della cartella per l'archivio", e.Archivio,
                                    "La tabella non è stata duplicata."}));
        return CreaCopy::Outcome::Skipped;
    }
    if (!core_->guard("", [&] { journal_->copyBegun(e, ditt); })) return CreaCopy::Outcome::Stopped;
    e.Cartella = FolderNames::withSeparator(e.Cartella);
    if (!core_->writeIdentity(e, e.Archivio)) return CreaCopy::Outcome::Stopped;
    {
        std::optional<ArchiveTransaction> tx;
        if (!core_->guard("", [&] { tx.emplace(*db_); })) return CreaCopy::Outcome::Stopped;
        if (!core_->copyStructure(*source, e.Seriale)) return CreaCopy::Outcome::Stopped;
        if (!core_->addElencoRow(*elenco_, ElencoRow{e.Seriale, areaId_, e.DataCrea, e.Archivio, e.Cartella, 0, std::nullopt}))
            return CreaCopy::Outcome::Stopped;
        if (!core_->guard("", [&] { tx->commit(); })) return CreaCopy::Outcome::Stopped;
    }
    if (!linkTarv_ || !e.Collegata) return CreaCopy::Outcome::Copied;
    return core_->link(e.Seriale, LinkParams{ditt, year_, e.TipoAss, e.TipoDocu}, e.Cartella);
}

}  // namespace zq
