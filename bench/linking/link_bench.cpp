// Two measurements of the link engines on the embedded TARV engine, each against a
// baseline measured in the same run:
//  1. linking 50 archives of 20 fields and 3 indexes through LinkRun (checks, TARV
//     table, indexes, set-aside, link, key, registry row) against the same DDL sent
//     straight to the company database;
//  2. pre-mastering 100,000 rows (CopyTable through the link) against a plain
//     INSERT INTO ... SELECT of the same rows on the same connection.
//
//   zq_link_bench [archives] [rows]

#include "app/session.h"
#include "dataaccess/archive_db.h"
#include "linking/archive_model.h"
#include "linking/link_run.h"
#include "premastering/copy_table.h"
#include "tarv_fixture.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace zq {
namespace {

class YesDialogs final : public Dialogs {
public:
    Answer message(const Message& m) override { return m.buttons == Buttons::Ok ? Answer::Ok : Answer::Yes; }
    std::optional<std::string> pickFolder(const std::string&, const std::string&) override { return std::nullopt; }
    std::optional<std::string> pickFile(const std::string&, const std::string&, const std::string&) override {
        return std::nullopt;
    }
};

double seconds(const std::function<void()>& f) {
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

FieldDef field(const std::string& name, int type, long size, int attributes = 0) {
    FieldDef f;
    f.name = name;
    f.type = type;
    f.size = size;
    f.attributes = attributes;
    return f;
}

// 20 fields: a counter, texts, dates, money, numbers, a memo; 3 indexes (one primary).
TableDef archiveTable(const std::string& name) {
    TableDef t;
    t.name = name;
    t.fields.push_back(field("sys_record", dbLong, 4, dbAutoIncrField | dbFixedField));
    for (int i = 1; i <= 8; ++i) t.fields.push_back(field("testo" + std::to_string(i), dbText, 30));
    for (int i = 1; i <= 4; ++i) t.fields.push_back(field("data" + std::to_string(i), dbDate, 8));
    for (int i = 1; i <= 3; ++i) t.fields.push_back(field("importo" + std::to_string(i), dbCurrency, 8));
    for (int i = 1; i <= 3; ++i) t.fields.push_back(field("numero" + std::to_string(i), dbLong, 4, dbFixedField));
    t.fields.push_back(field("note", dbMemo, 0));
    for (std::size_t i = 0; i < t.fields.size(); ++i) t.fields[i].ordinalPosition = static_cast<int>(i);
    IndexDef pk;
    pk.name = "PrimaryKey";
    pk.primary = pk.unique = true;
    pk.fields = {"sys_record"};
    IndexDef a;
    a.name = "testo_data";
    a.fields = {"testo1", "data1"};
    IndexDef b;
    b.name = "Numero/Importo";
    b.fields = {"numero1", "importo1"};
    t.indexes = {pk, a, b};
    return t;
}

std::string serialOf(int i) {
    char s[32];
    std::snprintf(s, sizeof s, "2501010000%02d%04x", i % 100, i);
    return s;
}

struct Bench {
    test::TarvFixture tarv;
    YesDialogs dialogs;
    Session session{dialogs, tarv.programFolder()};
    std::string archivePath = (tarv.programFolder() / "Vizidore.mdb").string();

    Bench() {
        session.cfg.Host = test::TarvFixture::kHost;
        session.cfg.Server = test::TarvFixture::kServer;
        session.cfg.Utente = test::TarvFixture::kUser;
        session.cfg.Password = test::TarvFixture::kPassword;
        session.cfg.PathArch = archivePath;
        session.DbDitt = test::TarvFixture::kCompanyDb;
        session.CnnTarv = tarv.openCommon();
        session.CnnTarv->execute("CREATE TABLE ar_dbelenco (ditt CHAR(3), anno SMALLINT, tipo_ass CHAR(1), "
                                 "tipo_doc CHAR(2), sys_seriale CHAR(20), sys_path_docs CHAR(255))");
        session.CnnDitt = tarv.openCompany();
        ArchiveDatabase::create(archivePath)->close();
    }
};

void linking(Bench& b, int archives) {
    {
        auto db = ArchiveDatabase::open(b.archivePath);
        for (int i = 0; i < archives; ++i) db->createTable(archiveTable(serialOf(i)));
        db->close();
    }
    std::vector<Lookups::TipoDoc> docs;
    std::vector<ArchRow> entries;
    for (int i = 0; i < archives; ++i) {
        docs.push_back({std::to_string(i), "tipo " + std::to_string(i)});
        ArchRow e;
        e.serial = serialOf(i);
        e.description = "Archivio " + std::to_string(i);
        e.area = "Prove";
        e.serverPath = "/dati/" + e.serial + "/00000000/";
        e.selected = true;
        e.associationType = "M";
        e.docTypeIndex = i;
        entries.push_back(e);
    }
    LinkRequest request{0, "001", 0, "2024", true};
    LinkRunResult result;
    const double engine = seconds([&] { result = LinkRun(b.session, docs).cmdColl_Click(request, entries); });
    if (result.linked != archives) std::fprintf(stderr, "only %d of %d linked\n", result.linked, archives);

    // Baseline: the same tables and indexes created straight in a second database.
    b.tarv.addCompanyDatabase("/usr/tarv/ditt002");
    auto other = b.tarv.openCompany("/usr/tarv/ditt002");
    const double ddl = seconds([&] {
        for (int i = 0; i < archives; ++i) {
            const std::string t = "a" + serialOf(i);
            other->execute("CREATE TABLE " + t + "(sys_record SERIAL,testo1 CHAR(30),testo2 CHAR(30),testo3 CHAR(30),"
                           "testo4 CHAR(30),testo5 CHAR(30),testo6 CHAR(30),testo7 CHAR(30),testo8 CHAR(30),data1 DATE,"
                           "data2 DATE,data3 DATE,data4 DATE,importo1 MONEY,importo2 MONEY,importo3 MONEY,"
                           "numero1 INTEGER,numero2 INTEGER,numero3 INTEGER,note CHAR(255))");
            other->execute("CREATE UNIQUE INDEX primarykey" + std::to_string(1000 + i) + " ON " + t + "(sys_record)");
            other->execute("CREATE INDEX testo_data" + std::to_string(1000 + i) + " ON " + t + "(testo1,data1)");
            other->execute("CREATE INDEX numero_importo" + std::to_string(1000 + i) + " ON " + t + "(numero1,importo1)");
        }
    });
    std::printf("link %d archives (20 fields, 3 indexes): %.3f s, %.1f ms each; DDL alone %.3f s; ratio %.2f\n",
                archives, engine, 1000.0 * engine / archives, ddl, engine / ddl);
}

void premastering(Bench& b, int rows) {
    const std::string s = serialOf(0);
    const std::string remote = "a" + s;
    b.session.CnnDitt->beginTrans();
    b.session.CnnDitt->execute("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
                               std::to_string(rows) + ") INSERT INTO " + remote +
                               " (sys_record, testo1, data1, importo1, numero1, note) SELECT i, 'testo ' || i,"
                               " '2024-01-01', i * 1.25, i, 'nota' FROM n");
    b.session.CnnDitt->commitTrans();
    auto archive = openArchiveConnection(b.archivePath, "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + b.archivePath);
    CopyTable::Counts counts;
    const double copy = seconds([&] { counts = CopyTable(b.dialogs, "frmMast").run(s, s + "_sav", *archive); });
    archive->execute("DELETE FROM [" + s + "_sav]");
    const double plain = seconds([&] {
        archive->beginTrans();
        archive->execute("INSERT INTO [" + s + "_sav] SELECT * FROM [" + s + "]");
        archive->commitTrans();
    });
    std::printf("pre-master %ld rows: CopyTable %.3f s (%.0f rows/s); INSERT INTO ... SELECT %.3f s; ratio %.2f\n",
                counts.copied, copy, counts.copied / copy, plain, copy / plain);
}

}  // namespace
}  // namespace zq

int main(int argc, char** argv) {
    const int archives = argc > 1 ? std::atoi(argv[1]) : 50;
    const int rows = argc > 2 ? std::atoi(argv[2]) : 100000;
    zq::Bench bench;
    zq::linking(bench, archives);
    zq::premastering(bench, rows);
    return 0;
}
