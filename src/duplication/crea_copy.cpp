#include "duplication/crea_copy.h"

#include "common/error.h"
#include "common/gesterr.h"
#include "common/textroutines.h"
#include "duplication/folder_names.h"
#include "duplication/identity_file.h"
#include "linking/archive_model.h"
#include "linking/coll_table.h"
#include "linking/link_names.h"
#include "linking/link_sql.h"
#include "linking/message_lines.h"
#include "runtime/format.h"
#include "runtime/text.h"

namespace zq {
namespace {

std::optional<std::string> trimmedText(const Value& v) {
    if (v.isNullish()) return std::nullopt;
    return vbTrim(v.toText());
}

// The error number the original's data-access objects raised for a missing item.
constexpr long kErrItemNotFound = 3265;

}  // namespace

CreaCopy::CreaCopy(Session& session, ArchiveDatabase& db, CopyNames names, ArchiveSerial::Random random, Clock clock)
    : session_(session),
      db_(db),
      names_(std::move(names)),
      random_(random ? std::move(random) : ArchiveSerial::defaultRandom()),
      clock_(clock ? std::move(clock) : Clock(&DateTime::now)) {}

bool CreaCopy::guard(const std::string& query, const std::function<void()>& statement) {
    return runGuarded(session_.dialogs(), names_.module, names_.routine, query, statement);
}

void CreaCopy::inform(const std::string& text) {
    session_.dialogs().message(Message{text, names_.caption, Buttons::Ok, Icon::Information});
}

void CreaCopy::newSerial(CopyRow& e) {
    e.DataCrea = clock_();
    // Four random digits alone can meet an existing table when many copies are made in
    // one second; a serial must name one archive only, so the digits are drawn again.
    for (;;) {
        e.Seriale = ArchiveSerial::make(e.DataCrea, random_());
        const std::string lower = vbLCase(e.Seriale);
        if (given_.count(lower) || db_.hasTable(e.Seriale) || db_.hasTable(LinkNames::sav(e.Seriale))) continue;
        given_.insert(lower);
        return;
    }
}

std::optional<TableDef> CreaCopy::sourceTable(const std::string& tabella, bool linked, const std::string& shownName,
                                              bool& stopped) {
    const std::string s = linked ? tabella + "_sav" : tabella;
    std::optional<TableDef> td;
    stopped = !guard("", [&] { td = db_.tableDef(s); });
    if (stopped) return std::nullopt;
    if (!td)
        inform(messageLines({"Impossiile trovare la tabella origine dell'archivio", shownName,
                             "La tabella non è stata duplicata."}));
    return td;
}

bool CreaCopy::writeIdentity(const CopyRow& e, const std::string& name) {
    return guard("", [&] { IdentityFile::write(e.Cartella, e.Seriale, name, e.DataCrea); });
}

bool CreaCopy::copyStructure(const TableDef& source, const std::string& serial, const std::vector<FieldDef>& leading,
                             const std::vector<std::string>& primaryLeading) {
    TableDef def;
    def.name = serial;
    def.fields = leading;
    int position = static_cast<int>(leading.size());
    for (const FieldDef& f : source.fields) {
        FieldDef copy = f;
        if (!leading.empty()) copy.ordinalPosition = ++position;
        def.fields.push_back(copy);
    }
    // A model without one of the leading fields (a receipts archive has no document-type
    // field) keeps the others: an index over a field the table lacks cannot be made.
    std::vector<std::string> leadingHere;
    for (const std::string& name : primaryLeading)
        if (def.findField(name)) leadingHere.push_back(name);
    for (const IndexDef& ix : source.indexes) {
        if (ix.foreign) continue;
        IndexDef copy = ix;
        if (vbLCase(ix.name) == "primario") copy.fields.insert(copy.fields.begin(), leadingHere.begin(), leadingHere.end());
        def.indexes.push_back(copy);
    }
    return guard("", [&] { db_.createTable(def); });
}

bool CreaCopy::addElencoRow(Recordset& elenco, const ElencoRow& row) {
    return guard("", [&] {
        elenco.addNew();
        auto set = [&](const char* column, const Value& v) { elenco.setField(column, v); };
        set("SYS_SERIALE", row.serial);
        set("Id_Area", Value(static_cast<std::int64_t>(row.idArea)));
        set("ID_CLASSE", 0);
        set("ID_UTENTE", 1);
        set("CREAZIONE", formatValue(Value(row.created), "dd/mm/yyyy"));
        set("ARCHIVIO", row.archivio);
        set("SYS_DOSSIER", 0);
        set("SYS_VERSIONE", 900);
        set("sys_path_docs", row.pathDocs);
        set("SYS_AIPA_RESTRICT", 0);
        set("SYS_AIPA_USER_ID", 0);
        set("SYS_AIPA_SIGN_ALL_FILES", 0);
        set("SYS_DB_SECRET", 0);
        set("SYS_WEB", 0);
        set("ANNUALE", 0);
        set("anno", row.anno);
        // Older archive databases have neither column.
        if (elenco.fieldIndex("tipo_doc") >= 0) set("tipo_doc", 0);
        if (elenco.fieldIndex("tipo_arch") >= 0) set("tipo_arch", 5);
        set("PROTOCOLLO", 0);
        set("ANNO_SUCC", 0);
        if (row.codFis) set("CODFIS", *row.codFis);
        elenco.update();
    });
}

bool CreaCopy::registryOf(const std::string& tabella, std::optional<RegistryRow>& row) {
    const std::string q = LinkSql::registryQuery(LinkNames::tarv(tabella));
    return guard(q, [&] {
        row.reset();
        auto rs = session_.CnnTarv->openRecordset(q, CursorType::ForwardOnly, LockType::ReadOnly);
        if (!rs->eof()) {
            RegistryRow r;
            r.ditt = trimmedText(rs->field("ditt"));
            r.tipoAss = trimmedText(rs->field("tipo_ass"));
            r.tipoDoc = trimmedText(rs->field("tipo_doc"));
            const Value anno = rs->field("anno");
            if (!anno.isNullish()) r.anno = static_cast<long>(anno.toInteger());
            row = r;
        }
        rs->close();
    });
}

bool CreaCopy::parametersFree(const LinkParams& p, const std::string& archivio, bool& stopped) {
    const std::string sel = LinkSql::parameterQuery(p);
    bool taken = false;
    stopped = !guard(sel, [&] {
        auto rs = session_.CnnTarv->openRecordset(sel, CursorType::ForwardOnly, LockType::ReadOnly);
        taken = !rs->eof();
        rs->close();
    });
    if (stopped) return false;
    if (taken)
        inform(messageLines({"ATTENZIONE!", "Non è possibile collegare al TARV l'archivio", archivio,
                             "Esiste già un'altra tabella collegata", "con gli stessi parametri."}));
    return !taken;
}

bool CreaCopy::useCompany(const std::string& ditt) {
    if (company_ && company_->code == ditt && company_->cnn && company_->cnn->state() != 0) return true;
    return guard("", [&] {
        company_.reset();
        company_ = session_.OpenDitt(ditt);
    });
}

Connection& CreaCopy::companyConnection() const {
    if (!company_) throw Error(kErrProviderFailure, "database della ditta non connesso", names_.module);
    return company_->connection();
}

CreaCopy::Outcome CreaCopy::link(const std::string& serial, const LinkParams& p, const std::string& folder) {
    if (!useCompany(p.ditt)) return Outcome::Stopped;
    CollTable coll(session_, db_, namer_, CollTable::Variant::Coll, *company_);
    const auto outcome = coll.runCopy(serial, p, ArchiveModel::PathServ(folder, session_.cfg), names_.module,
                                      names_.routine);
    return outcome == CollTable::Outcome::Linked ? Outcome::Linked
           : outcome == CollTable::Outcome::Refused ? Outcome::Copied
                                                     : Outcome::Stopped;
}

CreaCopy::Outcome CreaCopy::run(CopyRow& e, const std::string& areaFolder, long idArea, Recordset& elenco, bool linkTarv,
                                const std::string& ditt, const std::string& yearText) {
    newSerial(e);
    bool stopped = false;
    const auto source = sourceTable(e.Tabella, e.Collegata, e.Archivio, stopped);
    if (stopped) return Outcome::Stopped;
    if (!source) return Outcome::Skipped;

    // A folder of its own even when another archive's name abbreviates alike.
    e.Cartella = FolderNames::usableName(e.Archivio)
                     ? FolderNames::makeOwnFolder(FolderNames::archiveFolder(areaFolder, e.Archivio))
                     : std::string();
    if (e.Cartella.empty()) {
        inform(messageLines({"Errore durante la creazione della cartella per l'archivio", e.Archivio,
                             "La tabella non è stata duplicata."}));
        return Outcome::Skipped;
    }
    // Journalled before anything is written in its folder: a kill just before leaves an
    // empty folder, one just after a copy its rerun can find and remove.
    if (beforeChanges) beforeChanges(e);
    e.Cartella = FolderNames::withSeparator(e.Cartella);
    if (!writeIdentity(e, e.Archivio)) return Outcome::Stopped;

    // The table and its row are one change: an archive is never half-registered.
    {
        std::optional<ArchiveTransaction> tx;
        if (!guard("", [&] { tx.emplace(db_); })) return Outcome::Stopped;
        if (!copyStructure(*source, e.Seriale)) return Outcome::Stopped;
        if (!addElencoRow(elenco, ElencoRow{e.Seriale, idArea, e.DataCrea, e.Archivio, e.Cartella, 0, std::nullopt}))
            return Outcome::Stopped;
        if (!guard("", [&] { tx->commit(); })) return Outcome::Stopped;
    }
    if (!linkTarv || !e.Collegata) return Outcome::Copied;

    if (e.TipoAss == "A" && e.TipoDocu.empty()) {
        std::optional<RegistryRow> reg;
        if (!registryOf(e.Tabella, reg)) return Outcome::Stopped;
        if (reg && reg->tipoAss) e.TipoAss = *reg->tipoAss;
        if (reg && reg->tipoDoc) e.TipoDocu = *reg->tipoDoc;
    }
    LinkParams p{ditt, e.TipoAss == "A" ? 9999L : static_cast<long>(ClngText(session_.dialogs(), yearText)), e.TipoAss,
                 e.TipoDocu};
    if (!parametersFree(p, e.Archivio, stopped)) return stopped ? Outcome::Stopped : Outcome::Copied;
    return link(e.Seriale, p, e.Cartella);
}

}  // namespace zq
