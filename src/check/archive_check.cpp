#include "check/archive_check.h"

#include "dataaccess/archive_db.h"
#include "common/docs_folder.h"
#include "common/textroutines.h"
#include "duplication/area_copy_run.h"
#include "duplication/area_journal.h"
#include "duplication/crea_copy.h"
#include "duplication/group_run.h"
#include "duplication/half_copy.h"
#include "duplication/identity_file.h"
#include "journal/journal.h"
#include "linking/archive_model.h"
#include "linking/coll_table.h"
#include "linking/free_run.h"
#include "linking/link_names.h"
#include "linking/link_sql.h"
#include "linking/message_lines.h"
#include "runtime/text.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace zq {
namespace {

namespace fs = std::filesystem;

std::string textOf(const Value& v) { return v.isNullish() ? std::string() : vbTrim(v.toText()); }

struct ElencoRow {
    std::string serial, name, docs;
};

std::vector<ElencoRow> elencoRows(Connection& cnn) {
    std::vector<ElencoRow> out;
    auto rs = cnn.openRecordset("SELECT * FROM DB_ELENCO", CursorType::ForwardOnly, LockType::ReadOnly);
    for (; !rs->eof(); rs->moveNext()) {
        const std::string serial = vbLCase(textOf(rs->field("SYS_SERIALE")));
        if (!serial.empty()) out.push_back({serial, textOf(rs->field("ARCHIVIO")), textOf(rs->field("sys_path_docs"))});
    }
    rs->close();
    return out;
}

// sys_seriale ("a" + serial) -> ditt
std::map<std::string, std::string> registryRows(Connection& cnn) {
    std::map<std::string, std::string> out;
    auto rs = cnn.openRecordset(LinkSql::registryListQuery(), CursorType::ForwardOnly, LockType::ReadOnly);
    for (; !rs->eof(); rs->moveNext()) out[vbLCase(textOf(rs->field("sys_seriale")))] = textOf(rs->field("ditt"));
    rs->close();
    return out;
}

std::string fileText(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string docsOf(Connection& cnn, const std::string& serial) {
    auto rs = cnn.openRecordset("SELECT sys_path_docs FROM DB_ELENCO WHERE SYS_SERIALE = " + sqlText(serial),
                                CursorType::ForwardOnly, LockType::ReadOnly);
    const std::string docs = rs->eof() ? std::string() : textOf(rs->field(0));
    rs->close();
    return docs;
}

// Every record names its document by sys_filename inside its record folder. A record
// whose file is gone has lost its document, which no repair can bring back: one line
// per archive, with the count and the first path missing.
void missingDocuments(Connection& cnn, const std::string& serial, const std::string& docs, std::vector<Finding>& out) {
    RecordsetPtr rs;
    try {
        rs = cnn.openRecordset("SELECT sys_record, sys_filename FROM [" + serial + "]", CursorType::ForwardOnly,
                               LockType::ReadOnly);
    } catch (const std::exception&) {
        return;  // no record fields, or its company out of reach: the other findings say so
    }
    long missing = 0;
    std::string first;
    for (; !rs->eof(); rs->moveNext()) {
        const std::string name = textOf(rs->field(1));
        const Value record = rs->field(0);
        if (record.isNullish() || name.empty() || !entryNameProblem(name).empty()) continue;
        const std::string path = recordFolder(docs, static_cast<long>(record.toInteger())) + name;
        std::error_code ec;
        if (fs::exists(path, ec)) continue;
        if (missing++ == 0) first = path;
    }
    rs->close();
    if (missing == 0) return;
    out.push_back(Finding{"documento", serial,
                          std::to_string(missing) + (missing == 1 ? " documento manca" : " documenti mancano") +
                              " (il primo: " + first + ")",
                          "", false, {}});
}

}  // namespace

std::string Finding::tsv() const { return kind + "\t" + archive + "\t" + problem + "\t" + repair; }

const char* ArchiveCheck::caption() { return "Verifica archivi"; }

namespace {

// A TARV table's entry is the link's own note for its rerun (which completes the
// table's indexes); what an interrupted link leaves is found by the archive checks.
bool checked(const Journal::Entry& e) { return e.operation != CollTable::kTableOperation; }

}  // namespace

bool ArchiveCheck::interrupted(const std::string& archivePath) {
    if (!Journal::exists(archivePath)) return false;
    const auto open = Journal(archivePath).unfinished();
    return std::any_of(open.begin(), open.end(), checked);
}

void ArchiveCheck::journalFindings(std::vector<Finding>& out) {
    if (!Journal::exists(session_.cfg.PathArch)) return;
    bool unlinkListed = false;
    for (const auto& e : Journal(session_.cfg.PathArch).unfinished()) {
        if (!checked(e)) continue;
        Finding f{"giornale", e.archive, "operazione " + e.operation + " interrotta (iniziata il " + e.started +
                                             (e.who.empty() ? "" : " da " + e.who) + ")",
                  "", false, {}};
        if (e.operation == FreeRun::kJournalOperation) {
            f.repair = e.param("tarv") == "1" ? "completa lo scollegamento: cancella la tabella TARV e la riga di ar_dbelenco"
                                              : "completa lo scollegamento";
            f.deletes = e.param("tarv") == "1";
            // One pass completes every interrupted unlink.
            if (!unlinkListed) f.fix = [this] {
                FreeRun(session_).resumeInterrupted();
                return true;
            };
            unlinkListed = true;
        } else if (e.operation == GroupRun::kJournalOperation) {
            f.repair = "cancella i record e i documenti copiati in parte nel raggruppamento " + e.param("gruppo") +
                       " (il prossimo raggruppamento copia l'archivio intero)";
            f.deletes = true;
            f.fix = [this, e] {
                return GroupRun::removeGrouped(session_, e, docsOf(*session_.CnnArch, e.param("gruppo")));
            };
        } else if (e.operation == GroupRun::kCreateOperation) {
            f.repair = "cancella l'archivio di raggruppamento rimasto a metà (il prossimo raggruppamento lo crea di nuovo)";
            f.deletes = true;
            f.fix = [this, e] {
                auto db = ArchiveDatabase::open(session_.cfg.PathArch);
                CreaCopy core(session_, *db, CopyNames{"frmGrup", "CreaGrup", caption()});
                const bool removed =
                    removeHalfMadeCopy(session_, *db, core, e.archive, e.param("ditta"), e.param("cartella"));
                db->close();
                if (removed) Journal(session_.cfg.PathArch).finish(e.id);
                return removed;
            };
        } else if (e.operation == AreaJournal::kOperation || e.operation == AreaJournal::kYearOperation) {
            f.repair = "cancella la copia rimasta a metà e chiude la duplicazione (l'area tiene le copie finite)";
            f.deletes = true;
            f.fix = [this, e] {
                auto db = ArchiveDatabase::open(session_.cfg.PathArch);
                AreaJournal journal(*db, e.operation, e.archive, std::stol("0" + e.param("parent")), e.param("cartella"),
                                    e.param("ditta"), session_.cfg.Utente);
                CreaCopy core(session_, *db, CopyNames{"frmCopy", "CreaCopy", caption()});
                bool all = true;
                for (const auto& t : journal.halfMade()) all = journal.undoBegun(t, session_, core) && all;
                if (all) journal.finish();
                db->close();
                return all;
            };
        }
        out.push_back(std::move(f));
    }
}

void ArchiveCheck::archiveFindings(std::vector<Finding>& out) {
    std::vector<TableDef> defs;
    {
        auto db = ArchiveDatabase::open(session_.cfg.PathArch);
        defs = db->tableDefs();
        db->close();
    }
    std::set<std::string> names;
    for (const auto& d : defs) names.insert(vbLCase(d.name));
    const auto registry = registryRows(*session_.CnnTarv);
    std::set<std::string> serials;

    for (const auto& row : elencoRows(*session_.CnnArch)) {
        const std::string& s = row.serial;
        serials.insert(s);
        const ArchiveState state = ArchiveModel::classify(s, defs);
        const bool registered = registry.count(LinkNames::tarv(s)) > 0;
        const bool saved = names.count(LinkNames::sav(s)) > 0;
        if (state == ArchiveState::Missing) {
            Finding f{"archivio", s, "la tabella dell'archivio manca", "", false, {}};
            if (saved) {
                f.problem += "; c'è la tabella messa da parte " + LinkNames::sav(s);
                f.repair = "rinomina " + LinkNames::sav(s) + " in " + s;
                f.fix = [this, s] {
                    auto db = ArchiveDatabase::open(session_.cfg.PathArch);
                    db->renameTable(LinkNames::sav(s), s);
                    db->close();
                    return true;
                };
            }
            out.push_back(std::move(f));
        } else if (state == ArchiveState::Local && registered) {
            const std::string tarv = LinkNames::tarv(s);
            out.push_back(Finding{"registro", s, "l'archivio è locale ma ar_dbelenco ha ancora la riga " + tarv,
                                  "cancella la riga di ar_dbelenco (la tabella TARV resta)", true, [this, tarv] {
                                      session_.CnnTarv->execute(LinkSql::registryDelete(tarv));
                                      return true;
                                  }});
        } else if (state == ArchiveState::Linked && !registered && saved) {
            // A link run killed before its registry row: the row's values (year, types)
            // are known to nobody, so the link is taken back; linking again finds the
            // TARV table and uses it.
            out.push_back(Finding{"registro", s, "l'archivio è collegato ma ar_dbelenco non ha la sua riga",
                                  "annulla il collegamento: cancella il collegamento e rinomina " + LinkNames::sav(s) +
                                      " in " + s + " (la tabella TARV resta)",
                                  true, [this, s] {
                                      auto db = ArchiveDatabase::open(session_.cfg.PathArch);
                                      {
                                          ArchiveTransaction tx(*db);
                                          db->deleteTable(s);
                                          db->renameTable(LinkNames::sav(s), s);
                                          tx.commit();
                                      }
                                      db->close();
                                      return true;
                                  }});
        } else if (state != ArchiveState::Local && !registered) {
            out.push_back(Finding{"registro", s, "l'archivio è collegato ma ar_dbelenco non ha la sua riga",
                                  "", false, {}});
        }
        if (row.docs.empty()) continue;
        std::error_code ec;
        if (!fs::is_directory(row.docs, ec)) {
            out.push_back(Finding{"cartella", s, "la cartella dei documenti " + row.docs + " non esiste", "", false, {}});
            continue;
        }
        const fs::path id = fs::path(row.docs) / IdentityFile::kFileName;
        if (fs::exists(id, ec) && vbLCase(fileText(id)).find(s) == std::string::npos)
            out.push_back(Finding{"cartella", s, IdentityFile::kFileName + std::string(" di ") + row.docs +
                                                     " appartiene a un altro archivio",
                                  "", false, {}});
        if (state != ArchiveState::Missing) missingDocuments(*session_.CnnArch, s, row.docs, out);
    }
    // A table named like an archive that DB_ELENCO does not know: left by a copy that
    // was never registered.
    for (const auto& d : defs) {
        const std::string n = vbLCase(d.name);
        if (n.size() != 16 || !LinkNames::safeSerial(n) || serials.count(n)) continue;
        out.push_back(Finding{"archivio", n, std::string("tabella ") + (d.isLink() ? "collegata " : "") +
                                                 "senza riga in DB_ELENCO",
                              "", false, {}});
    }
}

std::vector<Finding> ArchiveCheck::run() {
    std::vector<Finding> out;
    journalFindings(out);
    // What an interrupted operation left is its entry's to repair: listed once.
    std::set<std::string> pending;
    for (const auto& f : out) pending.insert(vbLCase(f.archive));
    std::vector<Finding> archives;
    archiveFindings(archives);
    for (auto& f : archives)
        if (!pending.count(f.archive)) out.push_back(std::move(f));
    return out;
}

int ArchiveCheck::repair(const std::vector<Finding>& findings) {
    int repaired = 0;
    for (const auto& f : findings) {
        if (!f.fix) continue;
        if (f.deletes &&
            session_.dialogs().message(Message{messageLines({kDeleteQuestion + f.archive + ":", f.problem, "",
                                                             "Riparazione: " + f.repair, "", "Vuoi procedere?"}),
                                               caption(), Buttons::YesNo, Icon::Question}) != Answer::Yes)
            continue;
        if (f.fix()) ++repaired;
    }
    return repaired;
}

}  // namespace zq
