// Every changing operation of zelq, on a demo installation, killed at its interruption
// points (ZQ_FAULT_AT=n ends the process at the n-th statement or file change, as a
// kill -9 would), then run again with the same command and answers. After the rerun the
// installation must look exactly as after a run that was never interrupted: `zelq check`
// clean, every archive in the same state, the same number of rows in every table of
// every database and the same number of document files.
//
// The points tried are spread over the whole run (ZQ_CRASH_EVERY=1 tries every one);
// the test prints how many it tried and how many held.

#include "app/demo_installation.h"
#include "process_run.h"
#include "temp_dir.h"
#ifdef ZQ_CRASH_ON_SERVER
#include "demo_on_server.h"
#include "pg_server.h"
#endif

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <regex>
#include <set>
#include <sstream>

namespace zq::test {
namespace {

namespace fs = std::filesystem;

struct Operation {
    const char* name;
    std::vector<std::vector<std::string>> setup;  // zelq commands that prepare the installation
    std::vector<std::string> command;             // the run that is interrupted
    std::string recordsOf;  // a linked archive whose set-aside rows are put in its TARV table first
};

// A linked archive starts empty in TARV; the office's records live there.
[[maybe_unused]] void fillTarvTable(const fs::path& home, const std::string& serial) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open((home / "tarv/usr/tarv/ditt001.db").c_str(), &db), SQLITE_OK);
    const std::string sql = "ATTACH " + shellQuoted((home / "Vizidore.mdb").string()) + " AS arch; INSERT INTO a" +
                            serial + " SELECT * FROM arch.\"" + serial + "_sav\"; DETACH arch;";
    char* err = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &err), SQLITE_OK) << (err ? err : "");
    sqlite3_free(err);
    sqlite3_close(db);
}

// The serials of the demo; a new archive's serial is masked, since each run draws its own.
const std::set<std::string> kDemoSerials = {"2106051045116a71", "2106051045127b82", "2106051045138c93",
                                            "2215032010150a1f", "2215032010161b2c", "2408010930122c3d",
                                            "2408010930133d4e", "2408010935144e5f", "2408010935155f60"};

bool isSerial(const std::string& w) {
    return w.size() == 16 && std::all_of(w.begin(), w.end(), [](unsigned char c) { return std::isxdigit(c); });
}

// Each word that is a serial (or "a" + serial, its TARV table) not of the demo is masked.
std::string masked(const std::string& text) {
    std::string out, word;
    auto flush = [&] {
        std::string w = word;
        std::transform(w.begin(), w.end(), w.begin(), ::tolower);
        const bool tarv = w.size() == 17 && w[0] == 'a' && isSerial(w.substr(1));
        const std::string serial = tarv ? w.substr(1) : w;
        if ((tarv || isSerial(w)) && !kDemoSerials.count(serial))
            out += tarv ? "a<nuovo>" : "<nuovo>";
        else
            out += word;
        word.clear();
    };
    for (char c : text) {
        if (std::isalnum(static_cast<unsigned char>(c))) {
            word += c;
            continue;
        }
        flush();
        out += c;
    }
    flush();
    return out;
}

// Table name -> rows, of every SQLite file of the installation (links and the
// program's own hidden tables left out: they are counted where they live, or are
// the journal, which differs by design).
void countRows(const fs::path& file, const std::string& label, std::multiset<std::string>& out) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        out.insert(label + " illeggibile");
        return;
    }
    std::vector<std::string> tables;
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT name FROM sqlite_schema WHERE type = 'table' AND sql NOT LIKE 'CREATE VIRTUAL%' "
                       "AND name NOT LIKE 'zq\\_%' ESCAPE '\\' AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\'",
                       -1, &st, nullptr);
    while (sqlite3_step(st) == SQLITE_ROW) tables.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    for (const auto& t : tables) {
        sqlite3_prepare_v2(db, ("SELECT COUNT(*) FROM \"" + t + "\"").c_str(), -1, &st, nullptr);
        const long n = sqlite3_step(st) == SQLITE_ROW ? sqlite3_column_int64(st, 0) : -1;
        sqlite3_finalize(st);
        out.insert(masked(label + ":" + t + "=" + std::to_string(n)));
    }
    sqlite3_close(db);
}

class CrashTest : public ::testing::TestWithParam<Operation> {
protected:
    ProcessOutcome zelq(std::vector<std::string> args, const std::string& env = {}) {
        for (auto& a : args)
            if (a == "@documenti") a = (work() / "documenti").string();
        args.insert(args.begin(), {"--home", work().string()});
        return runProgram(ZELQ_BIN, args, env);
    }
    fs::path work() const { return dir.path() / "inst"; }
    fs::path saved() const { return dir.path() / "template"; }

    /// The installation as the operation finds it.
    void prepare(const Operation& op) {
        fs::remove_all(work());
        DemoInstallation::build(work());
#ifdef ZQ_CRASH_ON_SERVER
        pg_.reset();
        pg_ = std::make_unique<PgTarv>();
        moveDemoTarvToServer(work(), *pg_);
#endif
        for (const auto& c : op.setup) {
            const auto r = zelq(c);
            ASSERT_EQ(r.exit, 0) << r.out << r.err;
        }
#ifndef ZQ_CRASH_ON_SERVER
        if (!op.recordsOf.empty()) fillTarvTable(work(), op.recordsOf);
        fs::copy(work(), saved(), fs::copy_options::recursive);
#endif
    }
    /// The same again: a copy of the folder, or (on the server) made anew.
    void restore(const Operation& op) {
#ifdef ZQ_CRASH_ON_SERVER
        prepare(op);
#else
        (void)op;
        fs::remove_all(work());
        fs::copy(saved(), work(), fs::copy_options::recursive);
#endif
    }

    /// What must be equal after an interrupted and rerun operation and an uninterrupted one.
    std::string fingerprint() {
        std::multiset<std::string> facts;
        const auto check = zelq({"check"});
        facts.insert("check exit " + std::to_string(check.exit) + "\n" + check.out);
        const auto status = zelq({"status"});
        for (const auto& l : linesOf(status.out)) facts.insert(masked(l));
        long files = 0;
        for (const auto& e : fs::recursive_directory_iterator(work())) {
            const auto rel = fs::relative(e.path(), work()).string();
            if (e.path().extension() == ".db" || e.path().extension() == ".mdb")
                countRows(e.path(), masked(rel), facts);
            else if (e.is_regular_file() && rel.rfind("documenti", 0) == 0)
                ++files;
        }
        facts.insert("document files " + std::to_string(files));
        std::string out;
        for (const auto& f : facts) out += f + "\n";
        return out;
    }

    TempDir dir{"zq-crash"};
#ifdef ZQ_CRASH_ON_SERVER
    std::unique_ptr<PgTarv> pg_;
#endif
};

TEST_P(CrashTest, EveryInterruptedRunCompletesOnRerun) {
    const Operation& op = GetParam();
    prepare(op);

    // The run that is never interrupted: the reference, and how many points it passes.
    restore(op);
    const auto full = zelq(op.command, "ZQ_FAULT_COUNT=1");
    ASSERT_EQ(full.exit, 0) << full.out << full.err;
    const std::string reference = fingerprint();
    ASSERT_NE(reference.find("check exit 0\n\n"), std::string::npos) << reference;
    std::smatch m;
    ASSERT_TRUE(std::regex_search(full.err, m, std::regex("fault-points\t([0-9]+)"))) << full.err;
    const long points = std::stol(m[1]);

    const char* every = std::getenv("ZQ_CRASH_EVERY");
#ifdef ZQ_CRASH_ON_SERVER
    const long spread = 2;  // every try builds the installation on the server again
#else
    const long spread = 8;
#endif
    const long stride = every ? std::max(1L, std::atol(every)) : std::max(1L, points / spread);
    int tried = 0, held = 0, repaired = 0, repairHeld = 0;
    // The last point is the logout after the operation: killed there, the operation is
    // whole, and a duplication run again would rightly make a second copy.
    const long last = points - 1;
    for (long n = 1; n <= last; n += (n < 2 || n > last - 2) ? 1 : stride) {
        SCOPED_TRACE("interrotta al punto " + std::to_string(n) + " di " + std::to_string(points));
        restore(op);
        const auto killed = zelq(op.command, "ZQ_FAULT_AT=" + std::to_string(n));
        EXPECT_NE(killed.exit, 0) << "the run was not interrupted";
        const auto rerun = zelq(op.command);
        EXPECT_EQ(rerun.exit, 0) << rerun.out << rerun.err;
        const std::string after = fingerprint();
        ++tried;
        if (after == reference && rerun.exit == 0) ++held;
        EXPECT_EQ(after, reference);

        // The same kill repaired by the check instead of a rerun: nothing left to report.
        if (tried % 3 != 1) continue;
        restore(op);
        zelq(op.command, "ZQ_FAULT_AT=" + std::to_string(n));
        const auto repair = zelq({"--yes", "check", "--repair", "--yes-delete"});
        ++repaired;
        if (repair.exit == 0 && repair.out.empty() && zelq({"check"}).exit == 0) ++repairHeld;
        EXPECT_EQ(repair.exit, 0) << repair.out << repair.err;
    }
    std::cout << "[ crash    ] " << op.name << ": " << points << " punti; ripresi con la stessa operazione "
              << held << " su " << tried << ", riparati con check --repair " << repairHeld << " su " << repaired
              << "\n";
}

const std::string kLinkA = "2408010930122c3d", kLinkB = "2408010930133d4e";
const std::vector<std::string> kLinkBoth = {"--yes", "link", "--company", "001", "--year", "2024",
                                            "--archive", kLinkA + ":M:01", "--archive", kLinkB + ":M:03"};

const std::vector<Operation> kOperations = {
    Operation{"link", {}, kLinkBoth, ""},
    Operation{"unlink", {kLinkBoth}, {"--yes", "unlink", "--yes-delete", kLinkA, kLinkB}, kLinkA},
    Operation{"premaster", {kLinkBoth}, {"--yes", "premaster", kLinkA, kLinkB}, kLinkA},
    Operation{"group", {{"--yes", "link", "--company", "001", "--year", "2024", "--archive", kLinkA + ":M:01"}},
              {"--yes", "group", "--company", "001", "--area", "5"},
              kLinkA},
    Operation{"dav", {}, {"--yes", "dav", "--company", "001", "--archive", "2408010935155f60"}, ""},
    Operation{"relink", {kLinkBoth}, {"--yes", "relink"}, ""},
    Operation{"convert", {}, {"--yes", "convert", kLinkB}, ""},
    Operation{"duplicate-year",
              {{"--yes", "link", "--company", "001", "--year", "2024", "--archive", kLinkA + ":M:01"}},
              {"--yes", "duplicate-year", "--source", "4", "--name", "2025", "--folder", "@documenti", "--year", "2023"},
              ""},
    Operation{"duplicate-area",
              {{"--yes", "link", "--company", "001", "--year", "2024", "--archive", kLinkA + ":M:01"}},
              {"--yes", "duplicate-area", "--area", "5", "--name", "Copia Fatture", "--folder", "@documenti",
               "--company", "001", "--year", "2023"},
              ""}};

// On the server every try builds the installation again: the operations whose work
// reaches the company database most.
std::vector<Operation> operations() {
#ifdef ZQ_CRASH_ON_SERVER
    std::vector<Operation> out;
    for (const auto& op : kOperations)
        if (std::set<std::string>{"unlink", "group", "duplicate-area", "duplicate-year"}.count(op.name)) out.push_back(op);
    return out;
#else
    return kOperations;
#endif
}

INSTANTIATE_TEST_SUITE_P(Operations, CrashTest, ::testing::ValuesIn(operations()),
                         [](const ::testing::TestParamInfo<Operation>& i) {
                             std::string n = i.param.name;
                             std::replace(n.begin(), n.end(), '-', '_');
                             return n;
                         });

}  // namespace
}  // namespace zq::test
