// Rows per second reading 100,000 rows of a TARV table on the PostgreSQL test server:
//   Copy    psql -c "COPY ... TO STDOUT" read through a pipe: the baseline, same run;
//   Direct  a forward-only recordset of the ODBC engine;
//   Link    SELECT * on an archive link (SQLite virtual table) that forwards to the
//           ODBC engine.
// Each case reports rows/s and its ratio to the baseline (and Link its ratio to Direct).
//
//   source scripts/pg-test-server start
//   cmake -B build -DZQ_BUILD_BENCH=ON && ninja -C build odbc_read_bench
//   build/bench/odbc_read_bench
// ZQ_BENCH_ODBC_OPTIONS, when set, becomes odbc.options (e.g. "Fetch=10000").

#include "dataaccess/archive_db.h"
#include "dataaccess/engine_settings.h"
#include "dataaccess/odbc/odbc_engine.h"
#include "pg_server.h"
#include "temp_dir.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>

namespace {

constexpr long kRows = 100000;

struct Setup {
    std::unique_ptr<zq::test::PgTarv> tarv;
    std::string path;
    zq::test::TempDir dir{"zq-bench"};
    double copyRowsPerSecond = 0;
    double directRowsPerSecond = 0;

    Setup() {
        tarv = std::make_unique<zq::test::PgTarv>();
        path = tarv->uniquePath("bench");
        tarv->createDatabase(path);
        tarv->execute(path,
                      "CREATE TABLE a0800 (sys_record SERIAL PRIMARY KEY, descr CHAR(50), imp MONEY, data DATE);"
                      "INSERT INTO a0800 (descr, imp, data) SELECT 'documento ' || g, g / 100.0,"
                      " DATE '2024-01-01' + (g % 365) FROM generate_series(1, " +
                          std::to_string(kRows) + ") g;"
                      "ANALYZE a0800");
        zq::registerOdbcEngine();
        zq::setInstallation(settings());
    }

    zq::EngineSettings settings() const {
        zq::EngineSettings s = tarv->settings();
        if (const char* o = std::getenv("ZQ_BENCH_ODBC_OPTIONS")) s.odbcOptions = o;
        return s;
    }
    zq::TarvTarget target() const {
        return {path, tarv->host(), tarv->serverName(), tarv->user(), tarv->password()};
    }
    std::string linkConnect() const {
        return "ODBC;DRIVER={INFORMIX-CLI 2.5 (32 bit)};PRO=sesoctcp;SRVR=" + tarv->serverName() +
               ";SERV=sqlexec;HOST=" + tarv->host() + ";DATABASE=" + path + ";DSN=Default;userid=" + tarv->user() +
               ";password=" + tarv->password();
    }
};

Setup& setup() {
    static Setup s;
    return s;
}

// Reads every field of every row, as the program does when it copies rows.
long drain(zq::Recordset& rs) {
    long n = 0;
    for (; !rs.eof(); rs.moveNext()) {
        for (int i = 0; i < rs.fieldCount(); ++i) benchmark::DoNotOptimize(rs.field(i));
        ++n;
    }
    return n;
}

long copyOnce() {
    const auto& s = setup();
    const auto& srv = s.tarv->server();
    const std::string db = s.path.substr(s.path.rfind('/') + 1);
    const std::string cmd = "PGPASSWORD='" + srv.password + "' psql -X -h " + srv.host + " -p " + srv.port + " -U " +
                            srv.user + " -d " + db + " -c \"COPY a0800 TO STDOUT\"";
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) throw std::runtime_error("psql did not start");
    char buf[65536];
    long lines = 0;
    std::size_t got;
    while ((got = fread(buf, 1, sizeof buf, p)) > 0)
        for (std::size_t i = 0; i < got; ++i) lines += buf[i] == '\n';
    if (pclose(p) != 0) throw std::runtime_error("psql COPY failed");
    return lines;
}

long directOnce() {
    auto conn = zq::openOdbcConnection(setup().target(), "bench", setup().settings());
    auto rs = conn->openRecordset("SELECT * FROM a0800", zq::CursorType::ForwardOnly, zq::LockType::ReadOnly);
    return drain(*rs);
}

double rowsPerSecond(long (*once)()) {
    // Best of three: the baseline should not carry a cold cache into the ratio.
    double best = 0;
    for (int i = 0; i < 3; ++i) {
        auto t0 = std::chrono::steady_clock::now();
        long n = once();
        double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        best = std::max(best, n / s);
    }
    return best;
}

using Clock = std::chrono::steady_clock;

// rows/s of this case and its ratios to the baselines measured in the same run.
void report(benchmark::State& state, long rows, Clock::duration elapsed, bool toDirect = false) {
    auto& s = setup();
    state.SetItemsProcessed(state.iterations() * rows);
    const double rate = static_cast<double>(state.iterations()) * rows / std::chrono::duration<double>(elapsed).count();
    if (s.copyRowsPerSecond == 0) s.copyRowsPerSecond = rowsPerSecond(&copyOnce);
    state.counters["rows_per_s"] = rate;
    state.counters["copy_rows_per_s"] = s.copyRowsPerSecond;
    state.counters["ratio_to_copy"] = rate / s.copyRowsPerSecond;
    if (!toDirect) return;
    if (s.directRowsPerSecond == 0) s.directRowsPerSecond = rowsPerSecond(&directOnce);
    state.counters["direct_rows_per_s"] = s.directRowsPerSecond;
    state.counters["ratio_to_direct"] = rate / s.directRowsPerSecond;
}

void Copy(benchmark::State& state) {
    setup();
    long rows = 0;
    const auto t0 = Clock::now();
    for (auto _ : state) rows = copyOnce();
    const auto elapsed = Clock::now() - t0;
    if (rows != kRows) state.SkipWithError("COPY returned a wrong row count");
    report(state, rows, elapsed);
}

void Direct(benchmark::State& state) {
    setup();
    long rows = 0;
    const auto t0 = Clock::now();
    for (auto _ : state) rows = directOnce();
    const auto elapsed = Clock::now() - t0;
    if (rows != kRows) state.SkipWithError("wrong row count");
    report(state, rows, elapsed);
}

void Link(benchmark::State& state) {
    auto& s = setup();
    static int files = 0;
    auto archive = zq::ArchiveDatabase::create((s.dir / ("Vizidore" + std::to_string(++files) + ".mdb")).string());
    archive->createLink("0800", s.linkConnect(), "a0800");
    long rows = 0;
    const auto t0 = Clock::now();
    for (auto _ : state) {
        auto rs = archive->connection().openRecordset("SELECT * FROM \"0800\"", zq::CursorType::ForwardOnly,
                                                      zq::LockType::ReadOnly);
        rows = drain(*rs);
    }
    const auto elapsed = Clock::now() - t0;
    if (rows != kRows) state.SkipWithError("wrong row count through the link");
    report(state, rows, elapsed, /*toDirect=*/true);
}

}  // namespace

BENCHMARK(Copy)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(Direct)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(Link)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

BENCHMARK_MAIN();
