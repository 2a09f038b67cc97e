#include "dataaccess/fault_hook.h"

#include "common/error.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace zq {
namespace {

struct Settings {
    long at = 0;        // 0: never
    bool fail = false;  // throw instead of ending the process
    bool count = false;
};

std::atomic<long> passedPoints{0};
std::function<void(long)> observer;  // set by in-process tests only

void reportCount() { std::fprintf(stderr, "fault-points\t%ld\n", passedPoints.load()); }

const Settings& settings() {
    static const Settings s = [] {
        Settings v;
        if (const char* at = std::getenv("ZQ_FAULT_AT")) v.at = std::atol(at);
        if (const char* mode = std::getenv("ZQ_FAULT_MODE")) v.fail = std::strcmp(mode, "fail") == 0;
        if (const char* c = std::getenv("ZQ_FAULT_COUNT"); c && *c) {
            v.count = true;
            std::atexit(reportCount);
        }
        return v;
    }();
    return s;
}

}  // namespace

void FaultHook::point(const char* what) {
    const Settings& s = settings();
    const long n = ++passedPoints;
    if (observer) observer(n);
    if (s.at == 0 || n != s.at) return;
    if (s.fail) throw Error(kErrProviderFailure, std::string("interruzione simulata (") + what + ")", "FaultHook");
    // No destructor, no buffer flush, no lock release but the kernel's: as a kill -9.
    ::_exit(137);
}

long FaultHook::passed() { return passedPoints.load(); }

void FaultHook::observe(std::function<void(long)> o) { observer = std::move(o); }

}  // namespace zq
