// Time to import each Access file of a folder (default: the test files) against
// mdb-export of all its tables to CSV files, the script an office would otherwise
// write. Each figure is the best of REPEAT runs (default 5): other work on a shared
// machine only ever slows a run down. Besides the elapsed time, the CPU time (ours: this
// process; mdb-export: its processes) is given: on a machine whose cores are busy with
// other work, it is the figure that does not depend on the neighbours.
//
//   zq_import_bench [FOLDER] [REPEAT]

#include "import/access_import.h"
#include "import/access_catalog.h"
#include "import/mdb_file.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <sys/resource.h>

namespace zq {
namespace {

namespace fs = std::filesystem;

class QuietDialogs final : public Dialogs {
public:
    Answer message(const Message& m) override {
        std::fprintf(stderr, "%s\n", m.text.c_str());
        return Answer::Ok;
    }
    std::optional<std::string> pickFolder(const std::string&, const std::string&) override { return std::nullopt; }
    std::optional<std::string> pickFile(const std::string&, const std::string&, const std::string&) override {
        return std::nullopt;
    }
};

struct Timing {
    double elapsed = 1e9;
    double cpu = 1e9;
};

double cpuSeconds() {
    double total = 0;
    for (int who : {RUSAGE_SELF, RUSAGE_CHILDREN}) {
        rusage u{};
        getrusage(who, &u);
        total += u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
    }
    return total;
}

Timing best(int repeat, const std::function<void()>& f) {
    Timing out;
    for (int i = 0; i < repeat; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const double cpuStart = cpuSeconds();
        f();
        out.cpu = std::min(out.cpu, cpuSeconds() - cpuStart);
        out.elapsed = std::min(out.elapsed, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return out;
}

std::string shellQuoted(const std::string& s) {
    std::string out = "'";
    for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

int run(const fs::path& folder, int repeat) {
    const fs::path work = fs::temp_directory_path() / "zq-import-bench";
    fs::create_directories(work);
    std::printf("%-28s %6s %9s %9s %7s %9s %9s %7s\n", "file", "rows", "import s", "export s", "ratio", "import cpu",
                "export cpu", "ratio");
    Timing totalImport{0, 0}, totalExport{0, 0};
    for (const auto& entry : fs::directory_iterator(folder)) {
        const auto ext = entry.path().extension();
        if (ext != ".mdb" && ext != ".accdb") continue;
        std::vector<std::string> tables;
        {
            LibmdbSilence quiet;
            auto mdb = openAccessFile(entry.path());
            for (const auto& o : readAccessObjects(mdb.get()))
                if (o.kind == AccessObjectKind::Table) tables.push_back(o.name);
        }
        long long rows = 0;
        QuietDialogs dialogs;
        NoProgress progress;
        const auto target = work / "archivio.mdb";
        const Timing imp = best(repeat, [&] {
            fs::remove(target);
            const auto r = AccessImport(dialogs, progress).run(entry.path(), target);
            rows = 0;
            for (const auto& i : r.items) rows += i.rowsWritten;
        });
        const Timing exp = best(repeat, [&] {
            for (std::size_t t = 0; t < tables.size(); ++t) {
                const std::string cmd = "mdb-export " + shellQuoted(entry.path().string()) + " " + shellQuoted(tables[t]) +
                                        " > " + shellQuoted((work / ("t" + std::to_string(t) + ".csv")).string());
                if (std::system(cmd.c_str()) != 0) std::fprintf(stderr, "failed: %s\n", cmd.c_str());
            }
        });
        totalImport.elapsed += imp.elapsed, totalImport.cpu += imp.cpu;
        totalExport.elapsed += exp.elapsed, totalExport.cpu += exp.cpu;
        std::printf("%-28s %6lld %9.4f %9.4f %7.2f %9.4f %9.4f %7.2f\n", entry.path().filename().c_str(), rows,
                    imp.elapsed, exp.elapsed, imp.elapsed / exp.elapsed, imp.cpu, exp.cpu, imp.cpu / exp.cpu);
    }
    std::printf("%-28s %6s %9.4f %9.4f %7.2f %9.4f %9.4f %7.2f\n", "total", "", totalImport.elapsed,
                totalExport.elapsed, totalImport.elapsed / totalExport.elapsed, totalImport.cpu, totalExport.cpu,
                totalImport.cpu / totalExport.cpu);
    return 0;
}

}  // namespace
}  // namespace zq

int main(int argc, char** argv) {
    const std::filesystem::path folder = argc > 1 ? argv[1] : ZQ_ACCESS_FIXTURES;
    const int repeat = argc > 2 ? std::atoi(argv[2]) : 5;
    return zq::run(folder, repeat);
}
