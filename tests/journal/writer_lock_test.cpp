// One writer at a time: a changing zelq run meets the lock of another writer, waits
// briefly, says who holds it and changes nothing; reads go on; the lock of a process
// that died is taken over.

#include "app/demo_installation.h"
#include "journal/writer_lock.h"
#include "process_run.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

namespace zq::test {
namespace {

class WriterLockTest : public ::testing::Test {
protected:
    void SetUp() override { DemoInstallation::build(dir.path()); }
    ProcessOutcome zelq(std::vector<std::string> args) {
        args.insert(args.begin(), {"--home", dir.path().string()});
        return runProgram(ZELQ_BIN, args, "ZQ_LOCK_WAIT_MS=300");
    }
    std::string archive() const { return (dir.path() / "Vizidore.mdb").string(); }
    TempDir dir{"zq-lock"};
    const std::vector<std::string> link = {"--yes", "link", "--company", "001", "--year", "2024",
                                           "--archive", "2408010930122c3d:M:01"};
};

TEST_F(WriterLockTest, SecondWriterIsRefusedReadsGoOnDeadHolderIsTakenOver) {
    const std::string before = zelq({"status"}).out;
    {
        auto held = WriterLock::tryAcquire(archive(), "mario.rossi");
        ASSERT_TRUE(held);
        const auto refused = zelq(link);
        EXPECT_EQ(refused.exit, 1);
        EXPECT_NE(refused.err.find("Un'altra operazione sta modificando l'archivio:"), std::string::npos) << refused.err;
        EXPECT_NE(refused.err.find("utente mario.rossi, programma zq_writer_lock"), std::string::npos) << refused.err;
        EXPECT_NE(refused.err.find("Nessuna modifica effettuata"), std::string::npos);
        const auto status = zelq({"status"});
        EXPECT_EQ(status.exit, 0);
        EXPECT_EQ(status.out, before);
    }

    // A holder killed with its lock: the kernel let it go, its text stays behind.
    const pid_t child = ::fork();
    if (child == 0) {
        auto lock = WriterLock::tryAcquire(archive(), "morto");
        ::_exit(lock ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_EQ(WEXITSTATUS(status), 0);
    EXPECT_FALSE(WriterLock::holder(archive()));
    const auto done = zelq(link);
    EXPECT_EQ(done.exit, 0) << done.err;
    EXPECT_NE(zelq({"status"}).out, before);
}

}  // namespace
}  // namespace zq::test
