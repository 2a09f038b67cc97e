#include "duplication/group_run.h"

#include "common/error.h"
#include "common/gesterr.h"
#include "common/textroutines.h"
#include "dataaccess/fault_hook.h"
#include "dataaccess/sql_text.h"
#include "duplication/folder_names.h"
#include "duplication/group_params.h"
#include "duplication/half_copy.h"
#include "linking/link_names.h"
#include "linking/link_sql.h"
#include "linking/message_lines.h"
#include "runtime/datetime_parse.h"
#include "runtime/format.h"
#include "runtime/text.h"
#include "journal/journal.h"
#include "journal/run_log.h"
#include "journal/writer_lock.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <system_error>

namespace zq {
namespace fs = std::filesystem;
namespace {

const char* kModule = "frmGrup";
const char* kRoutine = "cmdGrup_Click";

std::optional<std::string> trimmedText(const Value& v) {
    if (v.isNullish()) return std::nullopt;
    return vbTrim(v.toText());
}

// Characters, not bytes, as the original's Right counts them.
std::string rightChars(const std::string& s, std::size_t n) {
    std::size_t chars = 0;
    for (unsigned char c : s)
        if ((c & 0xC0) != 0x80) ++chars;
    return chars <= n ? s : vbMid(s, chars - n + 1);
}

}  // namespace

GroupRun::GroupRun(Session& session, Progress& progress, ArchiveSerial::Random random, CreaCopy::Clock clock,
                   ArchiveOpener opener)
    : session_(session), progress_(progress), random_(std::move(random)), clock_(std::move(clock)),
      opener_(std::move(opener)) {
    if (!opener_) opener_ = [](const std::string& path) { return ArchiveDatabase::open(path); };
}

const char* GroupRun::caption() { return "Duplicazione AREE"; }

std::vector<GrupRow> GroupRun::LeggList(Session& session) {
    std::vector<GrupRow> out;
    auto rs = session.CnnArch->openRecordset("SELECT * FROM AREE ORDER BY AREA", CursorType::ForwardOnly,
                                             LockType::ReadOnly);
    for (; !rs->eof(); rs->moveNext()) {
        GrupRow r;
        r.Id_Area = static_cast<long>(rs->field("Id_Area").toInteger());
        r.area = rs->field("AREA").toText();
        out.push_back(r);
    }
    rs->close();
    return out;
}

std::string GroupRun::groupedFileName(long m, const std::string& src) {
    return formatValue(Value(static_cast<std::int64_t>(m)), "00000000") + rightChars(vbTrim(src), 4);
}

bool GroupRun::guard(const std::string& query, const std::function<void()>& statement) {
    return runGuarded(session_.dialogs(), kModule, kRoutine, query, statement);
}

void GroupRun::message(const std::string& text, Icon icon) {
    session_.dialogs().message(Message{text, caption(), Buttons::Ok, icon});
}

// Run step 2: the company, tax codes and registry rows of every archive of the ticked
// areas. `models` lists the tables of the archives with a registry row, in the order
// examined: the last one is the model of a new grouping table.
bool GroupRun::checks(const GroupRequest& request, const std::vector<GrupRow>& entries,
                      std::vector<std::string>& models) {
    const std::string cannot = "Impossibile continuare.";
    bool first = true;
    for (const auto& entry : entries) {
        if (!entry.Selez) continue;
        if (first) {
            first = false;
            if (request.companyIndex < 0) {
                message("Devi selezionare una Ditta!", Icon::Information);
                return false;
            }
            if (!request.arAttiva) return false;
            if (request.company.CodFisc.empty()) {
                message(messageLines({"Codice fiscale ditta mancante.", "", cannot}), Icon::Information);
                return false;
            }
        }
        const std::string q = "SELECT * FROM DB_ELENCO " + std::string("WHERE ID_AREA = ") + std::to_string(entry.Id_Area);
        std::vector<std::pair<std::string, std::optional<std::string>>> rows;  // serial, CODFIS
        if (!guard(q, [&] {
                rows.clear();
                auto rs = session_.CnnArch->openRecordset(q, CursorType::Static, LockType::ReadOnly);
                for (; !rs->eof(); rs->moveNext()) {
                    const Value serial = rs->field("SYS_SERIALE");
                    if (serial.isNullish()) continue;
                    rows.emplace_back(serial.toText(), trimmedText(rs->field("CODFIS")));
                }
                rs->close();
            }))
            return false;
        for (const auto& [serial, codfis] : rows) {
            if (codfis && !codfis->empty() && *codfis != vbTrim(request.company.CodFisc)) {
                message(messageLines({"Il codice fiscale nella tabella DB_ELENCO è",
                                      "diverso da quello della ditta selezionata.", "", cannot}),
                        Icon::Information);
                return false;
            }
            const std::string reg = LinkSql::registryQuery(vbLCase("a" + vbTrim(serial)));
            std::optional<RegistryRow> row;
            if (!guard(reg, [&] {
                    row.reset();
                    auto rs = session_.CnnTarv->openRecordset(reg, CursorType::ForwardOnly, LockType::ReadOnly);
                    if (!rs->eof()) {
                        RegistryRow r;
                        r.ditt = trimmedText(rs->field("ditt"));
                        const Value anno = rs->field("anno");
                        if (!anno.isNullish()) r.anno = static_cast<long>(anno.toInteger());
                        row = r;
                    }
                    rs->close();
                }))
                return false;
            if (!row) {
                message(messageLines({"Attenzione! La tabella " + serial, "non risulta collegata",
                                      "né in fase di pre-masterizzazione."}),
                        Icon::Information);
                continue;
            }
            if (!row->ditt) {
                message(messageLines({"Manca il codice ditta nella tabella AR_DBELENCO è", "", cannot}), Icon::Exclamation);
                return false;
            }
            if (*row->ditt != vbTrim(request.company.Codice)) {
                message(messageLines({"Il codice ditta  nella tabella AR_DBELENCO è",
                                      "diverso da quello della ditta selezionata.", "", cannot}),
                        Icon::Exclamation);
                return false;
            }
            if (!row->anno || *row->anno == 0) {
                message(messageLines({"Anno mancante nella tabella AR_DBELENCO.", "", cannot}), Icon::Exclamation);
                return false;
            }
            // Only an archive with a registry row has a table to model the grouping table on.
            const std::string t = vbLCase(serial);
            std::erase(models, t);
            models.push_back(t);
        }
    }
    if (first) {
        message("Devi selezionare almeno un'area!", Icon::Exclamation);
        return false;
    }
    return true;
}

bool GroupRun::removeHalfMadeGrouping() {
    std::vector<Journal::Entry> open;
    if (!guard("", [&] { open = Journal(session_.cfg.PathArch).unfinished(kCreateOperation); })) return false;
    for (const auto& entry : open) {
        std::unique_ptr<ArchiveDatabase> db;
        if (!guard("", [&] { db = opener_(session_.cfg.PathArch); })) return false;
        CreaCopy core(session_, *db, CopyNames{kModule, "CreaGrup", caption()}, random_, clock_);
        // An empty grouping archive, by construction: it is made again whole.
        const bool removed =
            removeHalfMadeCopy(session_, *db, core, entry.archive, entry.param("ditta"), entry.param("cartella"));
        db->close();
        if (!removed || !guard("", [&] { Journal(session_.cfg.PathArch).finish(entry.id); })) return false;
    }
    return true;
}

bool GroupRun::findOrCreate(const GroupRequest& request, const std::vector<std::string>& models, GroupResult& result) {
    if (!removeHalfMadeGrouping()) return false;
    const std::string q = "SELECT * FROM DB_ELENCO " + ("WHERE ID_AREA = " + std::to_string(std::stol(vbTrim(session_.cfg.GrpParm1)))) +
                          " AND CODFIS = " + sqlText(vbTrim(request.company.CodFisc));
    std::optional<std::pair<std::string, std::string>> found;
    if (!guard(q, [&] {
            found.reset();
            auto rs = session_.CnnArch->openRecordset(q, CursorType::ForwardOnly, LockType::ReadOnly);
            if (!rs->eof()) found.emplace(vbLCase(rs->field("SYS_SERIALE").toText()), rs->field("sys_path_docs").toText());
            rs->close();
            model_.LeggLink(session_.cfg.PathArch);
        }))
        return false;
    if (!found) return CreaGrup(request, models, result);
    g_ = found->first;
    folder_ = found->second;
    if (!model_.CercLink(g_) || !LinkNames::safeSerial(g_)) {
        message(messageLines({"Attenzione! La tabella per il raggruppamento", "non è collegata al TARV.", "",
                              "Impossibile continuare."}),
                Icon::Exclamation);
        g_.clear();
        return false;
    }
    return true;
}

// The grouping table holds the records of archives of every kind (invoices beside
// receipts): it has the model's fields, then those of the other archives of the run
// that the model lacks, so that no record loses a value. An index the model holds
// unique over its own records (one receipt a day) would refuse the same value in
// another archive, so only indexes over sys_record stay unique.
TableDef GroupRun::groupingShape(ArchiveDatabase& db, const TableDef& model, const std::vector<std::string>& models) {
    TableDef shape = model;
    for (const std::string& t : models) {
        const auto def = db.tableDef(model_.CercLink(t) ? LinkNames::sav(t) : t);
        if (!def) continue;
        for (FieldDef f : def->fields) {
            if (shape.findField(f.name)) continue;
            f.required = false;  // the other archives' records have no value for it
            shape.fields.push_back(f);
        }
    }
    for (IndexDef& ix : shape.indexes) {
        const bool onRecord = std::any_of(ix.fields.begin(), ix.fields.end(),
                                          [](const std::string& f) { return vbLCase(f) == "sys_record"; });
        if (!ix.primary && !onRecord) ix.unique = false;
    }
    return shape;
}

bool GroupRun::CreaGrup(const GroupRequest& request, const std::vector<std::string>& models, GroupResult& result) {
    const std::string model = models.empty() ? std::string() : models.back();
    const Lookups::Ditta& d = request.company;
    const std::string ditt = d.Codice;
    const std::string name = "DAV-" + d.RagSoc;
    auto guardHere = [&](const std::string& query, const std::function<void()>& f) {
        return runGuarded(session_.dialogs(), kModule, "CreaGrup", query, f);
    };
    const std::string sel = LinkSql::davParameterQuery(ditt);
    bool taken = false;
    if (!guardHere(sel, [&] {
            auto rs = session_.CnnTarv->openRecordset(sel, CursorType::ForwardOnly, LockType::ReadOnly);
            taken = !rs->eof();
            rs->close();
        }))
        return false;
    if (taken) {
        message(messageLines({"ATTENZIONE!", "Non è possibile collegare al TARV l'archivio", name,
                              "Esiste già un'altra tabella collegata", "con gli stessi parametri."}),
                Icon::Information);
        return false;
    }

    std::unique_ptr<ArchiveDatabase> db;
    RecordsetPtr elenco;
    if (!guardHere("", [&] {
            db = opener_(session_.cfg.PathArch);
            elenco = db->openTable("DB_ELENCO");
            model_.LeggLink(*db);
        }))
        return false;
    struct Close {
        std::unique_ptr<ArchiveDatabase>& db;
        RecordsetPtr& rs;
        ~Close() {
            try {
                if (rs) rs->close();
                if (db) db->close();
            } catch (...) {
            }
        }
    } close{db, elenco};

    CreaCopy core(session_, *db, CopyNames{kModule, "CreaGrup", caption()}, random_, clock_);
    CopyRow e;
    e.Archivio = name;
    core.newSerial(e);

    bool stopped = false;
    const auto source = core.sourceTable(model, model_.CercLink(model), name, stopped);
    if (!source) return false;

    // A company name such as "Rossi S/N" would reach into another folder; a folder
    // already there may be another archive's, so the new archive gets a numbered one.
    std::string folder = FolderNames::groupingFolder(session_.cfg.GrpParm2, d.Codice, d.RagSoc);
    const std::string ownFolder =
        FolderNames::usableComponent(FolderNames::lastComponent(folder)) ? FolderNames::makeOwnFolder(folder) : std::string();
    if (ownFolder.empty()) {
        message(messageLines({"Errore durante la creazione della cartella per l'archivio", name,
                              "(" + vbTrim(folder) + ")", "La tabella non è stata duplicata."}),
                Icon::Information);
        return false;
    }
    folder = ownFolder;
    // Until its link and index are made the archive is half-made: a killed run's next
    // run removes it and makes it again.
    std::optional<Journal> journal;
    long id = 0;
    if (!guardHere("", [&] {
            journal.emplace(session_.cfg.PathArch);
            id = journal->begin(kCreateOperation, e.Seriale, journalParams({{"ditta", ditt}, {"cartella", folder}}),
                                session_.cfg.Utente);
        }))
        return false;
    e.Cartella = folder;
    if (!core.writeIdentity(e, name)) return false;

    FieldDef anno{"anno", dbInteger, 2, dbFixedField, false, 1};
    FieldDef tipoDoc{"tipo_doc", dbDouble, 8, dbFixedField, false, 2};
    {
        TableDef shape;
        std::optional<ArchiveTransaction> tx;
        if (!core.guard("", [&] { tx.emplace(*db); })) return false;
        if (!guardHere("", [&] { shape = groupingShape(*db, *source, models); })) return false;
        // The document type leads the key only when the model has it: the other archives'
        // fields may bring it along, but the model's records have no value there.
        std::vector<std::string> primaryLeading{"anno"};
        if (source->findField("cod_tipo_doc_f")) primaryLeading.push_back("cod_tipo_doc_f");
        if (!core.copyStructure(shape, e.Seriale, {anno, tipoDoc}, primaryLeading)) return false;
        ElencoRow row{e.Seriale, std::stol(vbTrim(session_.cfg.GrpParm1)), e.DataCrea, name, folder, 9999, d.CodFisc};
        if (!core.addElencoRow(*elenco, row)) return false;
        if (!core.guard("", [&] { tx->commit(); })) return false;
    }
    if (core.link(e.Seriale, LinkParams{ditt, 9999, "M", "Z"}, folder) != CreaCopy::Outcome::Linked) return false;

    // The run finds each new record as the highest record number: an index on it lets
    // the company database answer that without reading the whole grouping table. A
    // second index over the same column would be refused by Informix (-350) and leave
    // the creation half done, so it is made only when the table has none (the link
    // step made the server's indexes from those of the set-aside table).
    std::optional<TableDef> made;
    if (!guardHere("", [&] { made = db->tableDef(LinkNames::sav(e.Seriale)); })) return false;
    const bool recordIndexed = made && std::any_of(made->indexes.begin(), made->indexes.end(), [](const IndexDef& ix) {
        return ix.fields.size() == 1 && vbLCase(ix.fields[0]) == "sys_record";
    });
    if (made && made->findField("sys_record") && !recordIndexed) {
        const std::string tarv = LinkNames::tarv(e.Seriale);
        const std::string ddl = "CREATE UNIQUE INDEX r" + tarv.substr(1) + " ON " + tarv + "(sys_record)";
        if (!guardHere(ddl, [&] { core.companyConnection().execute(ddl); })) return false;
    }
    if (!guardHere("", [&] { journal->finish(id); })) return false;
    g_ = vbLCase(e.Seriale);
    folder_ = folder;
    result.created = true;
    return true;
}

long GroupRun::newestRecord() {
    const std::string q = "SELECT * FROM " + g_ + " ORDER BY sys_record DESC";
    // Read forward: only the first row is wanted, and the link hands the order to the
    // company database, so no other row is fetched.
    auto rs = session_.CnnArch->openRecordset(q, CursorType::ForwardOnly, LockType::ReadOnly);
    const long m = rs->eof() ? 0 : static_cast<long>(rs->field("sys_record").toInteger());
    rs->close();
    return m;
}

void GroupRun::undo(const Archive& a, const std::vector<std::string>& copied) {
    const std::string del = "DELETE FROM " + g_ + " WHERE anno = " + std::to_string(a.year) +
                            " AND tipo_doc = " + std::to_string(a.doctype);
    guard(del, [&] { session_.CnnArch->execute(del); });
    for (const auto& f : copied) {
        std::error_code ec;
        fs::remove(f, ec);
    }
}

bool GroupRun::groupRecord(const Archive& a, const Recordset& rs, std::vector<std::string>& copied, long& kept,
                           GroupResult& result, bool& endRun) {
    const long n = static_cast<long>(rs.field("sys_record").toInteger());
    const std::string src = ArchiveModel::PathDocs(a.docs, n) + rs.field("sys_filename").toText();

    // Every value goes as a parameter of its own type: through the link a date reaches
    // the server as a date, never as text the server would read by its date settings.
    std::string cols = "anno, tipo_doc";
    std::string marks = "?,?";
    std::vector<Value> values{Value(static_cast<std::int64_t>(a.year)), Value(static_cast<std::int64_t>(a.doctype))};
    for (int i = 0; i < rs.fieldCount(); ++i) {
        const Value v = rs.field(i);
        if (v.isNullish()) continue;
        const std::string name = rs.fieldName(i);
        if (!LinkNames::safeName(name) || name.find(' ') != std::string::npos)
            throw Error(3075, "nome di campo non valido nella tabella " + a.t + ": " + name, kModule);
        cols = vbTrim(cols) + "," + name;
        marks += ",?";
        values.push_back(vbLCase(name) == "sys_record" ? Value(std::int64_t{0}) : v);
    }
    const std::string ins = "INSERT INTO " + g_ + " (" + vbTrim(cols) + ") VALUES(" + marks + ")";
    if (!guard(ins, [&] { session_.CnnArch->execute(ins, values); })) return false;
    ++kept;

    long m = 0;
    if (!guard("SELECT * FROM " + g_ + " ORDER BY sys_record DESC", [&] {
            m = newestRecord();
            // A table that does not number its records would give every file the same
            // name, each copy overwriting the one before.
            if (m <= top_)
                throw Error(3022, "la tabella " + g_ + " non numera i record inseriti (sys_record " + std::to_string(m) + ")",
                            kModule);
        }))
        return false;
    top_ = m;
    const std::string newName = groupedFileName(m, src);

    const std::string target = ArchiveModel::PathDocs(folder_, m);
    if (!FolderNames::makeFolder(target)) {
        message(messageLines({"Errore durante la creazione della cartella " + vbTrim(target), "", "Impossibile continuare."}),
                Icon::Exclamation);
        endRun = true;
        result.folderFailure = true;
        return false;
    }
    progress_.setLabel(newName);
    std::error_code ec;
    FaultHook::point("file");
    fs::copy_file(vbTrim(src), target + newName, fs::copy_options::overwrite_existing, ec);
    if (ec) {
        message("Errore durante la copia del file " + vbTrim(src), Icon::Information);
        ++result.fileErrors;
    } else {
        copied.push_back(target + newName);
    }
    const std::string upd = "UPDATE " + g_ + " SET sys_filename = " + sqlText(newName) + " WHERE sys_record = " +
                            std::to_string(m);
    return guard(upd, [&] { session_.CnnArch->execute(upd); });
}

bool GroupRun::removePartial(const Archive& a) {
    std::optional<Journal> journal;
    std::optional<Journal::Entry> entry;
    if (!guard("", [&] {
            journal.emplace(session_.cfg.PathArch);
            entry = journal->unfinishedFor(kJournalOperation, a.t);
        }))
        return false;
    if (!entry || entry->param("gruppo") != g_) return true;
    return removeGrouped(session_, *entry, folder_);
}

bool GroupRun::removeGrouped(Session& session, const Journal::Entry& entry, const std::string& folder) {
    const std::string g = entry.param("gruppo");
    if (!LinkNames::safeSerial(g)) return false;
    const std::string where = " WHERE anno = " + std::to_string(std::stol("0" + entry.param("anno"))) +
                              " AND tipo_doc = " + std::to_string(std::stol("0" + entry.param("tipo_doc")));
    auto guardHere = [&](const std::string& q, const std::function<void()>& f) {
        return runGuarded(session.dialogs(), kModule, kRoutine, q, f);
    };
    // Records of an archive interrupted half-way: their files are named by their new
    // record number, whether or not the record was told its file's name yet.
    const std::string q = "SELECT sys_record FROM " + g + where;
    std::vector<long> records;
    if (!guardHere(q, [&] {
            records.clear();
            auto rs = session.CnnArch->openRecordset(q, CursorType::ForwardOnly, LockType::ReadOnly);
            for (; !rs->eof(); rs->moveNext()) records.push_back(static_cast<long>(rs->field("sys_record").toInteger()));
            rs->close();
        }))
        return false;
    for (long m : records) {
        const std::string prefix = formatValue(Value(static_cast<std::int64_t>(m)), "00000000");
        std::error_code ec;
        for (const auto& f : fs::directory_iterator(ArchiveModel::PathDocs(folder, m), ec))
            if (f.path().filename().string().rfind(prefix, 0) == 0) {
                FaultHook::point("file");
                fs::remove(f.path(), ec);
            }
    }
    const std::string del = "DELETE FROM " + g + where;
    if (!guardHere(del, [&] { session.CnnArch->execute(del); })) return false;
    return guardHere("", [&] { Journal(session.cfg.PathArch).finish(entry.id); });
}

bool GroupRun::groupArchive(const Archive& a, GroupResult& result) {
    // A run killed in the middle of this archive left part of it: that part goes, and
    // the archive is grouped whole below.
    if (!removePartial(a)) return true;
    const std::string q = "SELECT * FROM " + g_ + " WHERE anno = " + std::to_string(a.year) +
                          " AND tipo_doc = " + std::to_string(a.doctype);
    bool present = false;
    std::set<std::string> columns;  // of the grouping table, lower case
    if (!guard(q, [&] {
            auto rs = session_.CnnArch->openRecordset(q, CursorType::ForwardOnly, LockType::ReadOnly);
            present = !rs->eof();
            for (int i = 0; i < rs->fieldCount(); ++i) columns.insert(vbLCase(rs->fieldName(i)));
            rs->close();
        }))
        return true;
    if (present) {
        message(messageLines({"La tabella di raggruppamento (" + g_ + ")",
                              "contiene già dei record con lo stesso anno e lo stesso",
                              "tipo documento della tabella " + a.t + ".", "", "La tabella non sarà raggruppata."}),
                Icon::Information);
        ++result.refused;
        return true;
    }
    const std::string sel = "SELECT * FROM " + a.t;
    RecordsetPtr rs;
    if (!guard(sel, [&] { rs = session_.CnnArch->openRecordset(sel, CursorType::Static, LockType::ReadOnly); }))
        return true;
    // A field the grouping table lacks would fail the insert of the archive's first
    // record: such an archive is refused whole, naming the fields, before any record.
    std::string missing;
    for (int i = 0; i < rs->fieldCount(); ++i)
        if (!columns.count(vbLCase(rs->fieldName(i)))) missing += (missing.empty() ? "" : ", ") + rs->fieldName(i);
    if (!missing.empty()) {
        rs->close();
        message(messageLines({"La tabella di raggruppamento (" + g_ + ")", "non ha i campi " + missing,
                              "della tabella " + a.t + ".", "", "La tabella non sarà raggruppata."}),
                Icon::Information);
        ++result.refused;
        return true;
    }

    std::optional<Journal> journal;
    long id = 0;
    if (!guard("", [&] {
            journal.emplace(session_.cfg.PathArch);
            id = journal->begin(kJournalOperation, a.t,
                                journalParams({{"gruppo", g_}, {"anno", std::to_string(a.year)},
                                               {"tipo_doc", std::to_string(a.doctype)}}),
                                session_.cfg.Utente);
        })) {
        rs->close();
        return true;
    }
    std::vector<std::string> copied;
    long kept = 0;
    bool endRun = false;
    try {
        for (; !rs->eof(); rs->moveNext()) {
            if (!groupRecord(a, *rs, copied, kept, result, endRun)) {
                // Part of an archive would be refused by every later run: it goes whole or not at all.
                undo(a, copied);
                guard("", [&] { journal->finish(id); });
                rs->close();
                return !endRun;
            }
            progress_.setValue(result.records + kept);
        }
    } catch (...) {
        undo(a, copied);
        try {
            journal->finish(id);
        } catch (...) {
            // left unfinished, the next run removes the part again: nothing is doubled
        }
        throw;
    }
    rs->close();
    if (!guard("", [&] { journal->finish(id); })) return true;
    result.records += kept;
    result.files += static_cast<long>(copied.size());
    ++result.archives;
    return true;
}

GroupResult GroupRun::cmdGrup_Click(const GroupRequest& request, const std::vector<GrupRow>& entries) {
    GroupResult result;
    g_.clear();
    const auto lock = WriterLock::acquire(session_.cfg.PathArch, session_.cfg.Utente, session_.dialogs(), caption());
    if (!lock) return result;
    RunLog log(session_.cfg.PathArch, "group", session_.cfg.Utente);
    log.company(request.company.Codice);

    if (entries.empty()) return result;
    if (!GroupParams::ready(session_.dialogs(), session_.cfg, caption())) return result;

    std::vector<std::string> models;
    if (!checks(request, entries, models)) return result;
    if (!findOrCreate(request, models, result) || g_.empty()) return result;
    result.table = g_;
    result.folder = folder_;

    struct EndProgress {
        Progress& p;
        ~EndProgress() { p.end(); }
    } endProgress{progress_};
    progress_.begin();
    session_.dialogs().yield();
    top_ = 0;
    if (!guard("", [&] { top_ = newestRecord(); })) return result;

    for (const auto& entry : entries) {
        if (!entry.Selez) continue;
        const std::string q = "SELECT * FROM DB_ELENCO " + std::string("WHERE ID_AREA = ") + std::to_string(entry.Id_Area);
        std::vector<Archive> archives;
        if (!guard(q, [&] {
                archives.clear();
                auto rs = session_.CnnArch->openRecordset(q, CursorType::Static, LockType::ReadOnly);
                for (; !rs->eof(); rs->moveNext()) {
                    const Value serial = rs->field("SYS_SERIALE"), docs = rs->field("sys_path_docs");
                    if (serial.isNullish() || docs.isNullish()) continue;
                    archives.push_back(Archive{vbLCase(serial.toText()), docs.toText()});
                }
                rs->close();
            }))
            continue;
        for (auto& a : archives) {
            // The grouping archive itself is never grouped into itself.
            if (a.t == g_) continue;
            std::optional<RegistryRow> reg;
            const std::string r = LinkSql::registryQuery(LinkNames::tarv(a.t));
            bool numeric = true;
            if (!guard(r, [&] {
                    reg.reset();
                    auto rs = session_.CnnTarv->openRecordset(r, CursorType::ForwardOnly, LockType::ReadOnly);
                    if (!rs->eof()) {
                        RegistryRow row;
                        const Value anno = rs->field("anno");
                        if (!anno.isNullish()) row.anno = static_cast<long>(anno.toInteger());
                        row.tipoDoc = trimmedText(rs->field("tipo_doc"));
                        reg = row;
                    }
                    rs->close();
                    numeric = !reg || !reg->tipoDoc || isNumeric(*reg->tipoDoc);
                    if (!numeric) throw Error(13, "Type mismatch: tipo_doc '" + *reg->tipoDoc + "' di " + a.t, kModule);
                }))
                continue;
            if (!reg) {
                // Without its own year and document type the records could only be filed
                // under another archive's: such an archive is not grouped.
                message(messageLines({"Attenzione! La tabella " + a.t, "non risulta collegata",
                                      "né in fase di pre-masterizzazione.", "", "La tabella non sarà raggruppata."}),
                        Icon::Information);
                ++result.refused;
                continue;
            }
            if (!LinkNames::safeSerial(a.t)) continue;
            a.year = static_cast<int>(reg->anno.value_or(0));
            a.doctype = reg->tipoDoc ? ClngText(*reg->tipoDoc) : 0;
            const GroupResult before = result;
            const bool goOn = groupArchive(a, result);
            log.add(result.records - before.records, result.files - before.files);
            if (result.archives > before.archives) log.archive(a.t);
            if (!goOn) return result;
        }
    }
    progress_.end();
    log.end(RunLog::outcomeOf(result.archives, result.refused + result.fileErrors));
    message("Raggruppamento AREE terminata.", Icon::Information);
    result.completed = true;
    return result;
}

}  // namespace zq
