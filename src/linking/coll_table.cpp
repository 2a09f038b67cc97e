#include "linking/coll_table.h"

#include "common/error.h"
#include "common/gesterr.h"
#include "linking/archive_model.h"
#include "linking/column_type.h"
#include "linking/link_names.h"
#include "linking/link_sql.h"
#include "linking/message_lines.h"
#include "runtime/text.h"

#include <algorithm>

namespace zq {
namespace {

std::string textOf(const Value& v) { return v.isNullish() ? std::string() : v.toText(); }

const std::string kCannotGoOn = "Impossibile continuare";

// The Error number DAO raised for an item not in a collection.
constexpr long kErrItemNotFound = 3265;

}  // namespace

CollTable::CollTable(Session& session, ArchiveDatabase& db, IndexNamer& namer, Variant variant,
                     const CompanyDb& company)
    : session_(session), db_(db), namer_(namer), variant_(variant), company_(company) {}

const char* CollTable::caption(Variant v) {
    return v == Variant::Dav ? "Collegamento tabelle DAV" : "Collegamento tabelle al database TARV";
}

const char* CollTable::module(Variant v) { return v == Variant::Dav ? "frmCDAV" : "frmColl"; }

bool CollTable::guard(const std::string& query, const std::function<void()>& statement) {
    if (!reportModule_.empty())
        return runGuarded(session_.dialogs(), reportModule_, reportRoutine_, query, statement);
    return runGuarded(session_.dialogs(), module(variant_), variant_ == Variant::Dav ? "CollDav" : "CollTable", query,
                      statement);
}

void CollTable::warn(const std::string& text) {
    session_.dialogs().message(Message{text, caption(variant_), Buttons::Ok, Icon::Exclamation});
}

void CollTable::inform(const std::string& text) {
    session_.dialogs().message(Message{text, caption(variant_), Buttons::Ok, Icon::Information});
}

CollTable::Outcome CollTable::run(const ArchRow& e, const LinkParams& p) {
    s_ = e.serial;
    sav_ = LinkNames::sav(s_);
    col_ = LinkNames::col(s_);
    tarv_ = LinkNames::tarv(s_);

    if (!LinkNames::safeSerial(s_)) {
        warn(messageLines({"ATTENZIONE!", "Nome di tabella non valido:", s_, "", kCannotGoOn}));
        return Outcome::Refused;
    }

    if (!guard("", [&] { requireCompany(p); })) return Outcome::Stopped;
    bool stopped = false;
    if (refusedByParameters(p, stopped) || refusedByRegistry(p, stopped) || refusedByPremastering(stopped))
        return stopped ? Outcome::Stopped : Outcome::Refused;

    std::optional<TableDef> td;
    if (!locateTable(td)) return Outcome::Stopped;
    if (!td) return Outcome::Refused;

    bool exists = false;
    if (!tarvTableExists(exists)) return Outcome::Stopped;
    std::optional<Journal::Entry> begun;
    if (!guard("", [&] { begun = Journal(db_.path()).unfinishedFor(kTableOperation, s_); })) return Outcome::Stopped;
    // A table this program began for this company is its own, not someone else's.
    const bool ours = exists && begun && vbTrim(begun->param("ditta")) == vbTrim(company_.code);
    if (exists && !ours) {
        inform("La tabella " + tarv_ + " esiste già nel database ditta.");
    } else if (!makeTarvTable(*td, ours ? begun : std::nullopt)) {
        return Outcome::Stopped;
    }

    if (!vbTrim(td->sourceTableName).empty())
        inform("La tabella " + s_ + " è già una tabella collegata.");
    else if (!makeLink(*td))
        return Outcome::Stopped;

    return writeRegistry(e, p) ? Outcome::Linked : Outcome::Stopped;
}

CollTable::Outcome CollTable::runCopy(const std::string& serial, const LinkParams& p, const std::string& serverPath,
                                     const std::string& module, const std::string& routine) {
    s_ = serial;
    sav_ = LinkNames::sav(s_);
    col_ = LinkNames::col(s_);
    tarv_ = LinkNames::tarv(s_);
    reportModule_ = module;
    reportRoutine_ = routine;
    struct Restore {
        CollTable& t;
        ~Restore() { t.reportModule_.clear(), t.reportRoutine_.clear(); }
    } restore{*this};

    if (!LinkNames::safeSerial(s_)) {
        warn(messageLines({"ATTENZIONE!", "Nome di tabella non valido:", s_, "", kCannotGoOn}));
        return Outcome::Refused;
    }
    std::optional<TableDef> td;
    if (!guard("", [&] {
            requireCompany(p);
            td = db_.tableDef(s_);
            if (!td) throw Error(kErrItemNotFound, "tabella " + s_ + " non trovata nell'archivio", module);
        }))
        return Outcome::Stopped;
    if (refusedByNames(*td)) return Outcome::Refused;
    std::set<std::string> columns;
    if (!createTarvTable(*td, columns) || !createIndexes(*td, columns) || !makeLink(*td)) return Outcome::Stopped;
    session_.dialogs().yield();
    const std::string ins = LinkSql::registryInsert(p, tarv_, serverPath);
    return guard(ins, [&] { session_.tarv().execute(ins); }) ? Outcome::Linked : Outcome::Stopped;
}

// The TARV table, the link and the registry row must all name the same company: a
// connection opened for another one would put the table where the registry does not
// look for it.
void CollTable::requireCompany(const LinkParams& p) const {
    if (vbTrim(p.ditt) != vbTrim(company_.code))
        throw Error(kErrProviderFailure,
                    "la ditta " + p.ditt + " da registrare non è quella del database aperto (" + company_.code + ")",
                    module(variant_));
    company_.connection();
}

bool CollTable::refusedByParameters(const LinkParams& p, bool& stopped) {
    const std::string sel = variant_ == Variant::Dav ? LinkSql::davParameterQuery(p.ditt) : LinkSql::parameterQuery(p);
    bool other = false;
    stopped = !guard(sel, [&] {
        auto rs = session_.tarv().openRecordset(sel, CursorType::ForwardOnly, LockType::ReadOnly);
        other = false;
        if (!rs->eof()) {
            const Value serial = rs->field("SYS_SERIALE");
            other = !serial.isNullish() && vbTrim(serial.toText()) != tarv_;
        }
        rs->close();
    });
    if (stopped) return true;
    if (other)
        warn(messageLines({"ATTENZIONE!", "Esiste già un'altra tabella collegata", "con gli stessi parametri.", "",
                        kCannotGoOn}));
    return other;
}

bool CollTable::refusedByRegistry(const LinkParams& p, bool& stopped) {
    const std::string reg = LinkSql::registryQuery(tarv_);
    bool differs = false;
    stopped = !guard(reg, [&] {
        auto rs = session_.tarv().openRecordset(reg, CursorType::ForwardOnly, LockType::ReadOnly);
        differs = false;
        if (!rs->eof()) {
            const Value ditt = rs->field("ditt"), anno = rs->field("anno");
            const Value tipoAss = rs->field("tipo_ass"), tipoDoc = rs->field("tipo_doc");
            // CHAR columns come back blank-padded: codes are compared without the padding,
            // or an archive registered with the same values would count as different.
            if (!ditt.isNullish() && vbTrim(ditt.toText()) != vbTrim(p.ditt)) differs = true;
            if (!anno.isNullish() && anno.toInteger() != p.anno) differs = true;
            if (!tipoAss.isNullish() && vbTrim(tipoAss.toText()) != vbTrim(p.tipoAss)) differs = true;
            if (!tipoDoc.isNullish() && vbTrim(tipoDoc.toText()) != vbTrim(p.tipoDoc)) differs = true;
        }
        rs->close();
    });
    if (stopped) return true;
    if (differs)
        warn(messageLines({"ATTENZIONE!", "La tabella è già collegata", "con parametri diversi.", "", kCannotGoOn}));
    return differs;
}

bool CollTable::refusedByPremastering(bool& stopped) {
    std::vector<TableDef> defs;
    stopped = !guard("", [&] { defs = db_.tableDefs(); });
    if (stopped) return true;
    for (const auto& d : defs) {
        if (vbLCase(vbTrim(d.name)) != col_) continue;
        warn(messageLines({"ATTENZIONE!", "La tabella è già in fase", "di pre-masterizzazione.", "", kCannotGoOn}));
        return true;
    }
    return false;
}

// Field names that cannot be TARV columns are left out one by one (createTarvTable);
// only a primary-key name goes into a statement as it is, so an unsafe one refuses the
// archive, naming it.
bool CollTable::refusedByNames(const TableDef& td) {
    for (const auto& ix : td.indexes) {
        if (!ix.primary || LinkNames::safeName(ix.name)) continue;
        warn(messageLines({"ATTENZIONE!", "Nome di indice non valido:", ix.name, "", kCannotGoOn}));
        return true;
    }
    return false;
}

// Steps 8 and 9: the table named s, or the set-aside table of an interrupted run given
// its name back. Returns false when the person chose Ignore; td stays empty when the
// archive was refused for its names.
bool CollTable::locateTable(std::optional<TableDef>& td) {
    std::optional<TableDef> found;
    bool setAside = false;
    const bool ok = guard("", [&] {
        found.reset();
        setAside = false;
        for (const auto& d : db_.tableDefs()) {
            if (vbLCase(d.name) == vbLCase(s_)) {
                found = d;
                setAside = false;
                break;
            }
            if (!found && vbLCase(d.name) == sav_) {
                found = d;
                setAside = true;
            }
        }
        if (!found)
            throw Error(kErrItemNotFound, "tabella " + s_ + " non trovata nell'archivio", module(variant_));
    });
    if (!ok) return false;
    // The names are checked before the restoration: a refused archive stays as it was.
    if (refusedByNames(*found)) return true;
    if (setAside && !guard("", [&] { db_.renameTable(found->name, s_); })) return false;
    return guard("", [&] {
        td = db_.tableDef(s_);
        if (!td) throw Error(kErrItemNotFound, "tabella " + s_ + " non trovata nell'archivio", module(variant_));
    });
}

bool CollTable::tarvTableExists(bool& exists) {
    const std::string q = LinkSql::systablesQuery(tarv_);
    return guard(q, [&] {
        auto rs = company_.connection().openRecordset(q, CursorType::ForwardOnly, LockType::ReadOnly);
        exists = !rs->eof();
        rs->close();
    });
}

bool CollTable::createTarvTable(const TableDef& td, std::set<std::string>& columns) {
    std::string ddl = "CREATE TABLE " + vbTrim(tarv_) + "(";
    for (const auto& f : td.fields) {
        if (!LinkNames::serverColumn(f.name)) {
            warn(messageLines({"ATTENZIONE!", "Nome di campo non valido:", f.name}));
            continue;
        }
        const auto type = ColumnType::informix(f);
        if (!type) {
            warn(messageLines({"ATTENZIONE!", "Tipo campo non riconosciuto:", f.name + " (" + std::to_string(f.type) + ")"}));
            continue;
        }
        ddl += vbLCase(f.name) + *type;
        columns.insert(vbLCase(f.name));
    }
    ddl.pop_back();
    ddl += ")";
    return guard(ddl, [&] { company_.connection().execute(ddl); });
}

// The TARV table and its indexes share no transaction with anything else: the journal
// entry, written before the CREATE TABLE, tells a rerun that the table it finds is this
// program's and which of its indexes are made. `begun` is that entry when the table is
// there already.
bool CollTable::makeTarvTable(const TableDef& td, const std::optional<Journal::Entry>& begun) {
    std::optional<Journal> journal;
    long id = 0;
    if (!guard("", [&] {
            journal.emplace(db_.path());
            // An entry whose table is gone (dropped since) starts over with a new one.
            if (auto stale = journal->unfinishedFor(kTableOperation, s_); stale && !begun) journal->finish(stale->id);
            id = begun ? begun->id
                       : journal->begin(kTableOperation, s_, journalParams({{"tarv", tarv_}, {"ditta", company_.code}}),
                                        session_.cfg.Utente);
        }))
        return false;
    std::set<std::string> columns;
    if (begun) columns = serverColumns(td);
    else if (!createTarvTable(td, columns)) return false;
    if (!createIndexes(td, columns, &*journal, id, begun ? begun->steps : std::vector<std::string>{})) return false;
    return guard("", [&] { journal->finish(id); });
}

// The columns createTarvTable gives the TARV table, without its messages.
std::set<std::string> CollTable::serverColumns(const TableDef& td) const {
    std::set<std::string> columns;
    for (const auto& f : td.fields)
        if (LinkNames::serverColumn(f.name) && ColumnType::informix(f)) columns.insert(vbLCase(f.name));
    return columns;
}

bool CollTable::createIndexes(const TableDef& td, const std::set<std::string>& columns, Journal* journal, long id,
                              const std::vector<std::string>& done) {
    const std::string q = LinkSql::sysindexesQuery();
    const bool read = guard(q, [&] {
        auto rs = company_.connection().openRecordset(q, CursorType::Static, LockType::ReadOnly);
        for (; !rs->eof(); rs->moveNext()) namer_.addExisting(textOf(rs->field("idxname")));
        rs->close();
    });
    if (!read) return false;

    for (const auto& ix : td.indexes) {
        long total = 0;
        bool complete = true;
        for (const auto& name : ix.fields) {
            if (const FieldDef* f = td.findField(name)) total += f->size;
            complete = complete && columns.count(vbLCase(name)) > 0;
        }
        if (total > 120) {
            warn(messageLines({"ATTENZIONE!", "non posso creare l'indice '" + ix.name + "':", "Indice troppo esteso."}));
            continue;
        }
        // An index over a column that was left out of the table could only fail.
        if (!complete) {
            warn(messageLines({"ATTENZIONE!", "non posso creare l'indice '" + ix.name + "':", "Campo non collegato."}));
            continue;
        }
        const std::string step = "indice " + ix.name;
        if (std::find(done.begin(), done.end(), step) != done.end()) continue;  // made by the interrupted run
        const std::string base = variant_ == Variant::Dav ? LinkNames::davIndexBase(ix.name) : LinkNames::indexBase(ix.name);
        const std::string stmt = LinkSql::createIndex(ix.unique || ix.primary, namer_.next(base), td.name, ix.fields);
        if (!guard(stmt, [&] { company_.connection().execute(stmt); })) return false;
        if (journal && !guard("", [&] { journal->mark(id, step); })) return false;
    }
    return true;
}

bool CollTable::makeLink(const TableDef& td) {
    std::string pk;
    for (const auto& ix : td.indexes) {
        if (!ix.primary) continue;
        // A key over a field left out of the TARV table cannot be declared on the link.
        bool linked = true;
        for (const auto& f : ix.fields) linked = linked && LinkNames::serverColumn(f);
        pk = linked ? LinkSql::primaryKey(td.name, ix) : std::string();
    }
    const std::string connect = ArchiveModel::linkConnectString(session_.cfg, company_.DbDitt);

    // Set aside, link and key are one change of the archive file: an interruption leaves
    // the archive as it was, and running the link again finishes it.
    std::optional<ArchiveTransaction> tx;
    if (!guard("", [&] { tx.emplace(db_); })) return false;
    if (!guard("", [&] { db_.renameTable(td.name, sav_); })) return false;
    if (!guard("", [&] { db_.createLink(s_, connect, tarv_); })) return false;
    if (!vbTrim(pk).empty() && !guard(pk, [&] { db_.execute(pk); })) return false;
    return guard("", [&] { tx->commit(); });
}

bool CollTable::writeRegistry(const ArchRow& e, const LinkParams& p) {
    session_.dialogs().yield();
    const std::string reg = LinkSql::registryQuery(tarv_);
    bool registered = false;
    if (!guard(reg, [&] {
            auto rs = session_.tarv().openRecordset(reg, CursorType::ForwardOnly, LockType::ReadOnly);
            registered = !rs->eof();
            rs->close();
        }))
        return false;
    const bool withDocType = variant_ == Variant::Dav || p.tipoAss == "M";
    const std::string stmt = registered ? LinkSql::registryUpdate(p, tarv_, e.serverPath, withDocType)
                                        : LinkSql::registryInsert(p, tarv_, e.serverPath);
    return guard(stmt, [&] { session_.tarv().execute(stmt); });
}

}  // namespace zq
