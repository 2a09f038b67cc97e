#include "app/demo_installation.h"

#include "app/config_file.h"
#include "app/demo_server.h"
#include "app/pdf_writer.h"
#include "common/docs_folder.h"
#include "common/error.h"
#include "common/product.h"
#include "dataaccess/archive_db.h"
#include "dataaccess/embedded_engine.h"
#include "dataaccess/resolver.h"
#include "runtime/format.h"

#include <cstdio>
#include <fstream>
#include <functional>

namespace zq {
namespace fs = std::filesystem;
namespace {

const std::string kCrLf = "\r\n";

// ---------------------------------------------------------------- TARV databases

struct Company {
    const char* code;
    int year;
    const char* studio;
    const char* volume;  ///< nullptr: no volumi row; "" : a row with Null
    std::vector<std::pair<DateTime, const char*>> names;  ///< clifo history
    const char* taxCode;
    std::vector<std::pair<int, const char*>> regditta;    ///< year, ar_attiva (nullptr = Null)
};

const std::vector<Company>& companies() {
    static const std::vector<Company> list = {
        {"001", 2024, "S00001", "", {{{2009, 3, 2}, "Rossi Mario snc"}, {{2019, 1, 1}, "Rossi Mario & Figli srl"}},
         "01234560355", {{2022, "N"}, {2023, "S"}, {2024, "U"}}},
        {"002", 2024, "S00002", nullptr, {{{2016, 7, 1}, "Autofficina Corradini di Corradini Luca"}},
         "CRRLCU71C12H223K", {{2023, "S"}, {2024, "N"}}},
        {"003", 2023, "S00003", "/u2/tarv", {{{2001, 1, 1}, "Latteria Sociale di Castellarano"},
                                             {{2012, 9, 1}, "Caseificio Sociale San Prospero"}},
         "00412340358", {{2022, "S"}, {2023, "U"}, {2024, nullptr}}},
        {"004", 2001, "S00004", nullptr, {{{1998, 1, 1}, "Ferramenta Bonetti snc"}}, "00876540351", {}},
        {"005", 2024, "S00005", nullptr, {}, "", {}},
        {"006", 2024, "S00006", nullptr, {{{2020, 4, 15}, "agriturismo Le Querce di Ferretti Anna"}},
         "FRRNNA80A41F463X", {{2024, "S"}}},
    };
    return list;
}

std::string tarvConnection(const std::string& database, const std::string& host) {
    return "Provider=Ifxoledbc.2;Persist Security Info=False;host=" + host + ";User ID=" + std::string(DemoInstallation::kUser) +
           ";password=" + DemoInstallation::kPassword + ";Data Source=" + database + "@linux_se";
}

std::string companyDatabase(const Company& c) {
    const std::string volume = (c.volume && *c.volume) ? std::string(c.volume) + "/" : "/usr/tarv/";
    return volume + "ditt" + c.code;
}

using Row = std::vector<std::pair<const char*, Value>>;

void insert(Connection& cnn, const std::string& table, const Row& row) {
    auto rs = cnn.openRecordset("SELECT * FROM " + table, CursorType::Static, LockType::Optimistic);
    rs->addNew();
    for (const auto& [column, value] : row) rs->setField(column, value);
    rs->update();
    rs->close();
}

Value textOrNull(const char* s) { return s ? Value(s) : Value::null(); }

const char* const kCommonDatabase = "/usr/tarv/comune";

// The statements below are the Informix SQL the program itself sends, so they run
// unchanged on either engine; only where the empty database comes from differs.
using CreateDatabase = std::function<void(const std::string& informixPath)>;

void buildCommon(const EngineSettings& engines, const std::string& host, const CreateDatabase& create) {
    create(kCommonDatabase);
    auto cnn = openConnection(tarvConnection(kCommonDatabase, host), engines);
    cnn->execute("CREATE TABLE utenti (nome CHAR(8), password CHAR(16), porta CHAR(10), descrizione CHAR(40))");
    cnn->execute("CREATE UNIQUE INDEX ix_utenti ON utenti (nome)");
    cnn->execute("CREATE TABLE volumi (cod_ditta CHAR(3), volume CHAR(40))");
    cnn->execute("CREATE TABLE anaditta (codice CHAR(3), anno SMALLINT, codice_studio CHAR(6), "
                 "data_inizio DATE)");
    cnn->execute("CREATE TABLE clifo (codice_studio CHAR(6), data_validita DATE, rag_sociale CHAR(60), "
                 "cod_fiscale CHAR(16), comune CHAR(30))");
    cnn->execute("CREATE TABLE ar_tipodoc (tipo_doc CHAR(2), descrizione CHAR(40))");
    cnn->execute("CREATE TABLE ar_dbelenco (ditt CHAR(3), anno SMALLINT, tipo_ass CHAR(1), tipo_doc CHAR(2), "
                 "sys_seriale CHAR(20), sys_path_docs CHAR(255))");

    insert(*cnn, "utenti", {{"nome", DemoInstallation::kUser}, {"password", DemoInstallation::kPassword},
                            {"porta", ""}, {"descrizione", "Utente archiviazione QUIRNOVA"}});
    insert(*cnn, "utenti", {{"nome", "bianchi"}, {"password", "Bianchi01"}, {"porta", "tty03"},
                            {"descrizione", "Bianchi Laura - contabilita'"}});
    for (const auto& c : companies()) {
        if (c.volume) insert(*cnn, "volumi", {{"cod_ditta", c.code}, {"volume", *c.volume ? Value(c.volume) : Value::null()}});
        insert(*cnn, "anaditta", {{"codice", c.code}, {"anno", c.year}, {"codice_studio", c.studio},
                                  {"data_inizio", DateTime{c.year, 1, 1}}});
        for (const auto& [since, name] : c.names)
            insert(*cnn, "clifo", {{"codice_studio", c.studio}, {"data_validita", since}, {"rag_sociale", name},
                                   {"cod_fiscale", *c.taxCode ? Value(c.taxCode) : Value::null()},
                                   {"comune", "Reggio nell'Emilia"}});
    }
    const std::pair<const char*, const char*> docTypes[] = {
        {"01", "Fatture di acquisto"}, {"02", "Fatture di vendita"}, {"03", "Note di credito ricevute"},
        {"04", "Corrispettivi giornalieri"}, {"05", "Documenti di trasporto"}, {"Z", "Archivio DAV"}};
    for (const auto& [code, descr] : docTypes) insert(*cnn, "ar_tipodoc", {{"tipo_doc", code}, {"descrizione", descr}});
    cnn->close();
}

void buildCompany(const EngineSettings& engines, const std::string& host, const CreateDatabase& create,
                  const Company& c) {
    const std::string db = companyDatabase(c);
    create(db);
    auto cnn = openConnection(tarvConnection(db, host), engines);
    cnn->execute("CREATE TABLE parditta (anno SMALLINT, data_inizio DATE, data_fine DATE, chiuso CHAR(1))");
    cnn->execute("CREATE TABLE regditta (anno SMALLINT, ar_attiva CHAR(1), reg_iva CHAR(2))");
    for (const auto& [year, active] : c.regditta) {
        insert(*cnn, "parditta", {{"anno", year}, {"data_inizio", DateTime{year, 1, 1}},
                                  {"data_fine", DateTime{year, 12, 31}}, {"chiuso", year < 2023 ? "S" : "N"}});
        insert(*cnn, "regditta", {{"anno", year}, {"ar_attiva", textOrNull(active)}, {"reg_iva", "01"}});
    }
    cnn->close();
}

void buildTarv(const EngineSettings& engines, const std::string& host, const CreateDatabase& create) {
    buildCommon(engines, host, create);
    for (const auto& c : companies())
        if (!c.regditta.empty()) buildCompany(engines, host, create, c);
}

// ---------------------------------------------------------------- archive database

struct AreaSpec {
    long id;
    const char* name;
    long parent;
};

const std::vector<AreaSpec> kAreas = {
    {1, "2023", 0}, {2, "Fatture Acquisto", 1}, {3, "Fatture Vendita", 1},
    {4, "2024", 0}, {5, "Fatture Acquisto", 4}, {6, "Fatture Vendita", 4},
    {7, "Documenti Societari", 0}, {8, "Raggruppamenti DAV", 0}};
constexpr long kGroupingArea = 8;

enum class Kind { Purchase, Sale, Receipts, Minutes, Contracts, Statutes };

struct ArchiveSpec {
    const char* serial;
    const char* name;
    long area;
    const char* folder;  ///< under documenti/; nullptr: Null sys_path_docs
    Kind kind;
    std::vector<long> records;
    const char* taxCode;  ///< DB_ELENCO.CODFIS
};

const std::vector<ArchiveSpec>& archiveSpecs() {
    static const std::vector<ArchiveSpec> list = {
        {"2215032010150A1F", "Fatture Fornitori 2023", 2, "2023/Fatt_Acqu/Fatt_Forn_2023", Kind::Purchase, {1, 2, 3, 4}, "01234560355"},
        {"2215032010161B2C", "Fatture Clienti 2023", 3, "2023/Fatt_Vend/Fatt_Clie_2023", Kind::Sale, {1, 2, 3}, "01234560355"},
        {"2408010930122C3D", "Fatture Fornitori 2024", 5, "2024/Fatt_Acqu/Fatt_Forn_2024", Kind::Purchase, {1, 2, 3, 501}, "01234560355"},
        {"2408010930133D4E", "Note di Credito Fornitori 2024", 5, "2024/Fatt_Acqu/Note_di_Cred_Forn_2024", Kind::Purchase, {1, 2}, nullptr},
        {"2408010935144E5F", "Fatture Clienti 2024", 6, "2024/Fatt_Vend/Fatt_Clie_2024", Kind::Sale, {1, 2, 3}, nullptr},
        {"2408010935155F60", "Corrispettivi 2024", 6, "2024/Fatt_Vend/Corr_2024", Kind::Receipts, {1, 2}, nullptr},
        {"2106051045116A71", "Verbali Assemblea", 7, "Docu_Soci/Verb_Asse", Kind::Minutes, {1, 2}, nullptr},
        {"2106051045127B82", "Contratti", 7, "Docu_Soci/Cont", Kind::Contracts, {1, 2}, nullptr},
        {"2106051045138C93", "Statuti", 7, nullptr, Kind::Statutes, {1}, nullptr},
    };
    return list;
}

FieldDef field(const char* name, int type, long size, int attributes = 0, bool required = false) {
    FieldDef f;
    f.name = name;
    f.type = type;
    f.size = size;
    f.attributes = attributes;
    f.required = required;
    return f;
}

FieldDef counter(const char* name) { return field(name, dbLong, 4, dbFixedField | dbAutoIncrField, true); }

IndexDef index(const char* name, std::vector<std::string> fields, bool primary = false, bool unique = false) {
    IndexDef i;
    i.name = name;
    i.primary = primary;
    i.unique = unique || primary;
    i.required = primary;
    i.fields = std::move(fields);
    return i;
}

void numberFields(TableDef& def) {
    int position = 0;
    for (auto& f : def.fields) f.ordinalPosition = position++;
}

TableDef areeTable() {
    TableDef t;
    t.name = "AREE";
    t.fields = {counter("ID_AREA"), field("AREA", dbText, 50), field("ID_PARENT", dbLong, 4, dbFixedField)};
    t.indexes = {index("PrimaryKey", {"ID_AREA"}, true), index("ID_PARENT", {"ID_PARENT"})};
    numberFields(t);
    return t;
}

TableDef elencoTable() {
    TableDef t;
    t.name = "DB_ELENCO";
    t.fields = {field("SYS_SERIALE", dbText, 16, dbVariableField, true),
                field("ID_AREA", dbLong, 4, dbFixedField),
                field("ID_CLASSE", dbInteger, 2, dbFixedField),
                field("ID_UTENTE", dbInteger, 2, dbFixedField),
                field("CREAZIONE", dbText, 10),
                field("ARCHIVIO", dbText, 100),
                field("SYS_DOSSIER", dbInteger, 2, dbFixedField),
                field("SYS_VERSIONE", dbInteger, 2, dbFixedField),
                field("sys_path_docs", dbText, 255),
                field("SYS_AIPA_RESTRICT", dbInteger, 2, dbFixedField),
                field("SYS_AIPA_USER_ID", dbInteger, 2, dbFixedField),
                field("SYS_AIPA_SIGN_ALL_FILES", dbInteger, 2, dbFixedField),
                field("SYS_DB_SECRET", dbInteger, 2, dbFixedField),
                field("SYS_WEB", dbInteger, 2, dbFixedField),
                field("ANNUALE", dbInteger, 2, dbFixedField),
                field("anno", dbInteger, 2, dbFixedField),
                field("tipo_doc", dbInteger, 2, dbFixedField),
                field("tipo_arch", dbInteger, 2, dbFixedField),
                field("PROTOCOLLO", dbInteger, 2, dbFixedField),
                field("ANNO_SUCC", dbInteger, 2, dbFixedField),
                field("CODFIS", dbText, 16)};
    t.indexes = {index("PrimaryKey", {"SYS_SERIALE"}, true), index("ID_AREA", {"ID_AREA"})};
    numberFields(t);
    return t;
}

// The fields every document archive has, then the ones of its kind.
TableDef archiveTable(const ArchiveSpec& a) {
    TableDef t;
    t.name = a.serial;
    t.fields = {counter("sys_record"), field("sys_filename", dbText, 100), field("sys_data_ins", dbDate, 8),
                field("sys_utente", dbText, 20), field("sys_pagine", dbLong, 4, dbFixedField)};
    t.indexes = {index("primario", {"sys_record"}, true)};
    switch (a.kind) {
        case Kind::Purchase:
        case Kind::Sale:
            t.fields.insert(t.fields.end(),
                            {field("numero_doc", dbText, 20), field("data_doc", dbDate, 8),
                             field("ragione_sociale", dbText, 60), field("partita_iva", dbText, 11),
                             field("imponibile", dbCurrency, 8, dbFixedField), field("importo", dbCurrency, 8, dbFixedField),
                             field("pagata", dbBoolean, 1, dbFixedField), field("cod_tipo_doc_f", dbInteger, 2, dbFixedField),
                             field("note", dbMemo, 0)});
            t.indexes.push_back(index("numero_doc", {"numero_doc", "data_doc"}));
            if (std::string(a.serial) == "2408010930122C3D") t.indexes.push_back(index("Forn/Data", {"ragione_sociale", "data_doc"}));
            break;
        case Kind::Receipts:
            t.fields.insert(t.fields.end(), {field("data_doc", dbDate, 8), field("totale", dbDouble, 8, dbFixedField),
                                             field("aliquota", dbSingle, 4, dbFixedField), field("cassa", dbByte, 1, dbFixedField),
                                             field("note", dbMemo, 0)});
            t.indexes.push_back(index("data_doc", {"data_doc"}, false, true));
            break;
        case Kind::Minutes:
            t.fields.insert(t.fields.end(), {field("data_doc", dbDate, 8), field("oggetto", dbText, 120),
                                             field("firma_digitale", dbLongBinary, 0), field("note", dbMemo, 0)});
            break;
        case Kind::Contracts:
            t.fields.insert(t.fields.end(), {field("controparte", dbText, 60), field("oggetto", dbText, 100),
                                             field("data firma", dbDate, 8), field("valore", dbCurrency, 8, dbFixedField),
                                             field("scadenza", dbDate, 8)});
            t.indexes.push_back(index("Descrizione estesa", {"controparte", "oggetto"}));
            break;
        case Kind::Statutes:
            t.fields.insert(t.fields.end(), {field("data_doc", dbDate, 8), field("notaio", dbText, 60),
                                             field("repertorio", dbText, 20)});
            break;
    }
    numberFields(t);
    return t;
}

std::string docsPath(const fs::path& dir, const ArchiveSpec& a) {
    return a.folder ? (dir / "documenti" / a.folder).string() + "/" : std::string();
}

struct Party {
    const char* name;
    const char* vat;
};
const Party kSuppliers[] = {{"Enel Energia spa", "06655971007"}, {"Ferramenta Bonetti snc", "00876540351"},
                            {"Cartoleria Lusvardi", "01987650352"}, {"Telecom Italia spa", "00488410010"},
                            {"Autotrasporti Gualtieri srl", "02234560356"}};
const Party kCustomers[] = {{"Panificio Ferretti", "02345670358"}, {"Comune di Scandiano", "00441780351"},
                            {"Cooperativa Agricola Tresinaro", "00198760350"}, {"Hotel Posta srl", "01122330359"}};

int yearOf(const ArchiveSpec& a) { return std::string(a.serial).rfind("24", 0) == 0 ? 2024 : 2023; }

// One record's values and the pages of its document.
Row recordRow(const ArchiveSpec& a, long n, int pages, const std::string& file, std::vector<PdfWriter::Page>& doc) {
    const int year = yearOf(a);
    const DateTime date{year, static_cast<int>(1 + (n * 3) % 12), static_cast<int>(1 + (n * 7) % 28)};
    const std::string dateText = formatValue(Value(date), "dd/mm/yyyy");
    Row row = {{"sys_record", Value(static_cast<std::int64_t>(n))}, {"sys_filename", file},
               {"sys_data_ins", DateTime{year, date.month, date.day, 9, 30, 0}}, {"sys_utente", "tarv"},
               {"sys_pagine", pages}};
    std::string title;
    switch (a.kind) {
        case Kind::Purchase:
        case Kind::Sale: {
            const bool buy = a.kind == Kind::Purchase;
            const Party& p = buy ? kSuppliers[n % 5] : kCustomers[n % 4];
            const double net = 100.0 + static_cast<double>((n * 7919) % 4000) + 0.5;
            const std::string number = std::to_string(n) + (buy ? "/A" : "/V");
            row.insert(row.end(), {{"numero_doc", number}, {"data_doc", date}, {"ragione_sociale", p.name},
                                   {"partita_iva", p.vat}, {"imponibile", net}, {"importo", net * 1.22},
                                   {"pagata", n % 2 == 0}, {"cod_tipo_doc_f", buy ? 1 : 2}});
            if (n == 2) row.push_back({"note", "Pagamento a 60 gg d.f. - l'IVA è in scissione dei pagamenti"});
            title = std::string(buy ? "Fattura di acquisto n. " : "Fattura di vendita n. ") + number + " del " + dateText;
            doc.push_back({title, std::string(buy ? "Fornitore: " : "Cliente: ") + p.name, std::string("P. IVA ") + p.vat,
                           "Imponibile: " + formatValue(Value(net), "#,##0.00") + " EUR",
                           "Totale documento: " + formatValue(Value(net * 1.22), "#,##0.00") + " EUR"});
            break;
        }
        case Kind::Receipts:
            row.insert(row.end(), {{"data_doc", date}, {"totale", 350.25 * static_cast<double>(n)},
                                   {"aliquota", 22.0}, {"cassa", 1}});
            title = "Chiusura giornaliera del " + dateText;
            doc.push_back({title, "Registratore telematico n. 1", "Totale corrispettivi: " +
                                                                      formatValue(Value(350.25 * static_cast<double>(n)), "#,##0.00")});
            break;
        case Kind::Minutes:
            row.insert(row.end(), {{"data_doc", date}, {"oggetto", n == 1 ? "Approvazione bilancio 2023" : "Nomina amministratore unico"}});
            title = "Verbale di assemblea dei soci del " + dateText;
            doc.push_back({title, n == 1 ? "Ordine del giorno: approvazione del bilancio" : "Ordine del giorno: nomina dell'amministratore"});
            break;
        case Kind::Contracts:
            row.insert(row.end(), {{"controparte", n == 1 ? "Immobiliare Secchia srl" : "Leasing Emiliano spa"},
                                   {"oggetto", n == 1 ? "Locazione capannone via Emilia 12" : "Leasing autocarro Iveco Daily"},
                                   {"data firma", date}, {"valore", 18000.0 * static_cast<double>(n)},
                                   {"scadenza", DateTime{year + 6, date.month, date.day}}});
            title = "Contratto del " + dateText;
            doc.push_back({title});
            break;
        case Kind::Statutes:
            row.insert(row.end(), {{"data_doc", DateTime{2009, 3, 2}}, {"notaio", "Notaio Guidetti Paolo"}, {"repertorio", "12345/6789"}});
            return row;
    }
    for (int p = 2; p <= pages; ++p)
        doc.push_back({title + " - pagina " + std::to_string(p) + " di " + std::to_string(pages),
                       "Dettaglio righe del documento", "Riga " + std::to_string(p * 10) + ": materiale di consumo"});
    return row;
}

void writeIdentityFile(const fs::path& folder, const ArchiveSpec& a) {
    std::ofstream out(folder / "DURuv.id", std::ios::binary);
    out << kCrLf << a.serial << kCrLf << a.name << kCrLf << "01/08/" << yearOf(a) << kCrLf << kCrLf << kCrLf << kCrLf;
}

void fillArchive(ArchiveDatabase& db, const fs::path& dir, const ArchiveSpec& a) {
    db.createTable(archiveTable(a));
    const std::string docs = docsPath(dir, a);
    if (!docs.empty()) {
        fs::create_directories(docs);
        writeIdentityFile(docs, a);
    }
    auto rs = db.openTable(a.serial);
    for (long n : a.records) {
        char file[32];
        std::snprintf(file, sizeof file, "%08ld.pdf", n);
        const int pages = 1 + static_cast<int>(n % 3);
        std::vector<PdfWriter::Page> doc;
        const Row row = recordRow(a, n, pages, file, doc);
        rs->addNew();
        for (const auto& [column, value] : row) rs->setField(column, value);
        rs->update();
        if (docs.empty()) continue;
        const fs::path folder = recordFolder(docs, n);
        fs::create_directories(folder);
        PdfWriter::write(folder / file, doc);
    }
    rs->close();
}

void buildArchive(const fs::path& dir) {
    auto db = ArchiveDatabase::create((dir / "Vizidore.mdb").string());
    db->createTable(areeTable());
    db->createTable(elencoTable());
    {
        auto rs = db->openTable("AREE");
        for (const auto& area : kAreas) {
            rs->addNew();
            rs->setField("ID_AREA", Value(static_cast<std::int64_t>(area.id)));
            rs->setField("AREA", area.name);
            rs->setField("ID_PARENT", Value(static_cast<std::int64_t>(area.parent)));
            rs->update();
        }
        rs->close();
    }
    auto elenco = db->openTable("DB_ELENCO");
    for (const auto& a : archiveSpecs()) {
        fillArchive(*db, dir, a);
        const std::string docs = docsPath(dir, a);
        const Row row = {{"SYS_SERIALE", a.serial}, {"ID_AREA", Value(static_cast<std::int64_t>(a.area))},
                         {"ID_CLASSE", 0}, {"ID_UTENTE", 1}, {"CREAZIONE", "01/08/" + std::to_string(yearOf(a))},
                         {"ARCHIVIO", a.name}, {"SYS_DOSSIER", 0}, {"SYS_VERSIONE", 900},
                         {"sys_path_docs", docs.empty() ? Value::null() : Value(docs)},
                         {"SYS_AIPA_RESTRICT", 0}, {"SYS_AIPA_USER_ID", 0}, {"SYS_AIPA_SIGN_ALL_FILES", 0},
                         {"SYS_DB_SECRET", 0}, {"SYS_WEB", 0}, {"ANNUALE", a.kind == Kind::Purchase || a.kind == Kind::Sale ? 1 : 0},
                         {"anno", 0}, {"tipo_doc", 0}, {"tipo_arch", 5}, {"PROTOCOLLO", 0}, {"ANNO_SUCC", 0},
                         {"CODFIS", a.taxCode ? Value(a.taxCode) : Value::null()}};
        elenco->addNew();
        for (const auto& [column, value] : row) elenco->setField(column, value);
        elenco->update();
    }
    elenco->close();
    db->close();
    fs::create_directories(dir / "documenti" / "Raggruppamenti");
}

}  // namespace

Config DemoInstallation::config(const fs::path& dir, const std::string& host) {
    Config c;
    c.PathTarv = "/usr/tarv/";
    c.PathArch = (dir / "Vizidore.mdb").string();
    c.Azienda = "Studio Ferrari Commercialisti Associati";
    c.Citta = "Reggio nell'Emilia";
    c.Utente = kUser;
    c.Password = kPassword;
    c.Host = host;
    c.Server = "linux_se";
    c.ConvBksl = "S";
    c.GrpParm1 = std::to_string(kGroupingArea);
    c.GrpParm2 = (dir / "documenti" / "Raggruppamenti").string() + "/";
    return c;
}

std::vector<DemoInstallation::Archive> DemoInstallation::archives(const fs::path& dir) {
    std::vector<Archive> out;
    for (const auto& a : archiveSpecs()) {
        std::string area;
        for (const auto& ar : kAreas)
            if (ar.id == a.area) area = ar.name;
        out.push_back(Archive{a.serial, a.name, area, docsPath(dir, a), a.records});
    }
    return out;
}

std::vector<std::string> DemoInstallation::tarvDatabases() {
    std::vector<std::string> out{kCommonDatabase};
    for (const auto& c : companies())
        if (!c.regditta.empty()) out.push_back(companyDatabase(c));
    return out;
}

namespace {

void refuseExisting(const fs::path& dir) {
    const fs::path cfgFile = ConfigFile::pathIn(dir);
    if (fs::exists(cfgFile))
        throw Error(58, "La cartella " + dir.string() + " contiene già un'installazione (" + cfgFile.filename().string() +
                            "): non la sovrascrivo",
                    kProductName);
    if (fs::exists(dir / "Vizidore.mdb") || fs::exists(dir / "tarv"))
        throw Error(58, "La cartella " + dir.string() + " contiene già un archivio o dei database TARV: non li sovrascrivo",
                    kProductName);
}

// Runs `buildAll` in `dir`; when it fails, removes what it had created, so that the
// folder is as it was and a second attempt is not refused.
void buildGuarded(const fs::path& dir, const std::function<void()>& buildAll) {
    std::vector<fs::path> created;
    for (const char* name : {"tarv", "Vizidore.mdb", "documenti", EngineSettings::kFileName})
        if (!fs::exists(dir / name)) created.push_back(dir / name);
    const bool newFolder = !fs::exists(dir);
    try {
        fs::create_directories(dir);
        buildAll();
    } catch (const std::exception& e) {
        std::error_code ec;
        for (const auto& p : created) fs::remove_all(p, ec);
        if (newFolder) fs::remove(dir, ec);
        const auto* err = dynamic_cast<const Error*>(&e);
        throw Error(err ? err->number() : 75,
                    "Impossibile creare l'installazione dimostrativa in " + dir.string() + ": " +
                        (err ? err->description() : std::string(e.what())),
                    kProductName);
    }
}

// The archive, the engines file and, last, the configuration file: its presence is what
// makes the folder an installation.
void finish(const fs::path& dir, const EngineSettings& engines, const std::string& host) {
    buildArchive(dir);
    engines.save(dir);
    ConfigFile::write(ConfigFile::pathIn(dir), DemoInstallation::config(dir, host));
}

}  // namespace

void DemoInstallation::build(const fs::path& dirIn) {
    const fs::path dir = fs::absolute(dirIn);
    refuseExisting(dir);
    buildGuarded(dir, [&] {
        EngineSettings engines;
        engines.tarvEngine = EngineSettings::Tarv::Embedded;
        engines.embeddedRoot = dir / "tarv";
        createEmbeddedAccount(engines, kUser, kPassword);
        createEmbeddedAccount(engines, "bianchi", "Bianchi01");
        buildTarv(engines, "server", [&](const std::string& path) { createEmbeddedDatabase(engines, path); });
        // The accounts hold passwords in clear, as the configuration file does.
        fs::permissions(embeddedAccountsFile(engines), fs::perms::owner_read | fs::perms::owner_write);
        // Relative to the program folder, so the installation can be moved as a whole.
        EngineSettings saved = engines;
        saved.embeddedRoot = "tarv";
        finish(dir, saved, "server");
    });
}

void DemoInstallation::build(const fs::path& dirIn, const DemoServerLogin& login) {
    const fs::path dir = fs::absolute(dirIn);
    refuseExisting(dir);
    // Outside the guard: a refusal creates nothing, and the server is left as it was
    // (its destructor drops what a failed build created there).
    DemoServer server(login);
    server.refuseExisting(tarvDatabases());
    buildGuarded(dir, [&] {
        server.ensureLogin(kUser, kPassword);
        const EngineSettings engines = server.settings();
        buildTarv(engines, login.host, [&](const std::string& path) { server.createDatabase(path, kUser); });
        finish(dir, engines, login.host);
    });
    server.keep();
}

}  // namespace zq
