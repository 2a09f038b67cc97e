// Forward-only reads stream: 200,000 rows do not end up in memory at once.

#include "odbc_test_base.h"

#include <fstream>
#include <string>

namespace zq::test {
namespace {

// The process's peak resident size since the last resetPeak(), in KB (VmHWM).
long peakRssKb() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

// Starts a new peak at the current size, so earlier tests in the same process do not
// hide what this one measures (Linux: "5" into clear_refs resets VmHWM).
void resetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

TEST_F(OdbcServerTest, ForwardOnlyReadsOfManyRowsStayWithinBoundedMemory) {
    constexpr long kRows = 200000;
    constexpr long kRowBytes = 200;  // about 40 MB of text in all
    conn_->execute("CREATE TABLE big (n INTEGER, t CHAR(200))");
    conn_->execute("INSERT INTO big SELECT g, 'riga ' || g FROM generate_series(1, " + std::to_string(kRows) + ") g");

    resetPeak();
    const long before = peakRssKb();
    ASSERT_GT(before, 0) << "no VmHWM in /proc/self/status";
    long count = 0;
    std::int64_t sum = 0;
    auto rs = conn_->openRecordset("SELECT n, t FROM big ORDER BY n", CursorType::ForwardOnly, LockType::ReadOnly);
    for (; !rs->eof(); rs->moveNext()) {
        sum += rs->field(0).toInteger();
        ASSERT_EQ(rs->field(1).textIf()->size(), static_cast<std::size_t>(kRowBytes));
        ++count;
    }
    rs->close();
    const long streamedKb = peakRssKb() - before;
    EXPECT_EQ(count, kRows);
    EXPECT_EQ(sum, kRows * (kRows + 1) / 2);
    // Generous: a few fetch batches and the allocator's slack, far below the result's size.
    EXPECT_LT(streamedKb, 16 * 1024) << "peak RSS grew by " << streamedKb << " KB";
    RecordProperty("forward_only_peak_rss_growth_kb", std::to_string(streamedKb));

    // The same rows through a static (client-side) cursor are all held: the measurement
    // does see a result kept in memory.
    resetPeak();
    const long beforeStatic = peakRssKb();
    auto all = conn_->openRecordset("SELECT n, t FROM big", CursorType::Static, LockType::ReadOnly);
    EXPECT_EQ(all->recordCount(), kRows);
    const long staticKb = peakRssKb() - beforeStatic;
    EXPECT_GT(staticKb, kRows * kRowBytes / 1024) << "peak RSS grew by only " << staticKb << " KB";
    RecordProperty("static_peak_rss_growth_kb", std::to_string(staticKb));
}

}  // namespace
}  // namespace zq::test
