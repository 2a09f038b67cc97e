// Reading a 100,000-row TARV table through a link against reading it directly, both
// through the program's Connection/Recordset interface on the embedded engine.
// Targets: a full read through the link at least half the direct speed; an indexed
// equality and the "last record" query within three times the direct time.

#include "dataaccess/archive_db.h"
#include "tarv_fixture.h"

#include <benchmark/benchmark.h>

namespace zq {
namespace {

constexpr int kRows = 100000;
const std::string kLink = "\"2401011200001a2b\"";
const std::string kRemote = "a2401011200001a2b";

struct Installation {
    Installation() {
        auto c = f.openCompany();
        c->execute("CREATE TABLE " + kRemote + "(sys_record SERIAL,anno SMALLINT,tipo_doc SMALLINT,descr CHAR(40),"
                   "data DATE,importo MONEY,note CHAR(60))");
        c->beginTrans();
        c->execute("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " + std::to_string(kRows) +
                   ") INSERT INTO " + kRemote + " SELECT i, 2000 + i % 25, i % 7, 'descrizione ' || i, "
                   "'2024-01-01', i * 1.25, 'nota' FROM n");
        c->commitTrans();
        c->execute("CREATE UNIQUE INDEX sys_rec0001 ON " + kRemote + "(sys_record)");
        c->execute("CREATE INDEX anno_tipo0002 ON " + kRemote + "(anno,tipo_doc)");
        archive = ArchiveDatabase::create((f.programFolder() / "Vizidore.mdb").string());
        archive->createLink("2401011200001a2b", f.linkConnectString(), kRemote);
        archive->execute("ALTER TABLE 2401011200001a2b ADD CONSTRAINT PrimaryKey PRIMARY KEY (sys_record)");
        company = f.openCompany();
    }
    test::TarvFixture f;
    std::unique_ptr<ArchiveDatabase> archive;
    ConnectionPtr company;
};

Installation& installation() {
    static Installation i;
    return i;
}

Connection& direct() { return *installation().company; }
Connection& viaLink() { return installation().archive->connection(); }

long readAll(Connection& c, const std::string& sql) {
    auto rs = c.openRecordset(sql, CursorType::ForwardOnly, LockType::ReadOnly);
    long rows = 0;
    for (; !rs->eof(); rs->moveNext()) {
        for (int i = 0; i < rs->fieldCount(); ++i) benchmark::DoNotOptimize(rs->field(i));
        ++rows;
    }
    return rows;
}

void run(benchmark::State& state, Connection& c, const std::string& sql, long expectedRows) {
    for (auto _ : state) {
        long rows = readAll(c, sql);
        if (rows != expectedRows) state.SkipWithError("wrong number of rows");
    }
}

void BM_FullRead_Direct(benchmark::State& s) { run(s, direct(), "SELECT * FROM " + kRemote, kRows); }
void BM_FullRead_Link(benchmark::State& s) { run(s, viaLink(), "SELECT * FROM " + kLink, kRows); }

const std::string kWhere = " WHERE anno = 2010 AND tipo_doc = 3";
constexpr long kWhereRows = kRows / 25 / 7 + 1;  // 572 rows carry this pair
void BM_IndexedEquality_Direct(benchmark::State& s) { run(s, direct(), "SELECT * FROM " + kRemote + kWhere, kWhereRows); }
void BM_IndexedEquality_Link(benchmark::State& s) { run(s, viaLink(), "SELECT * FROM " + kLink + kWhere, kWhereRows); }

const std::string kLast = " ORDER BY sys_record DESC LIMIT 1";
void BM_LastRecord_Direct(benchmark::State& s) { run(s, direct(), "SELECT sys_record FROM " + kRemote + kLast, 1); }
void BM_LastRecord_Link(benchmark::State& s) { run(s, viaLink(), "SELECT sys_record FROM " + kLink + kLast, 1); }

BENCHMARK(BM_FullRead_Direct)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullRead_Link)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IndexedEquality_Direct)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_IndexedEquality_Link)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LastRecord_Direct)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LastRecord_Link)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace zq

BENCHMARK_MAIN();
