// A process killed in the middle of grouped archive steps (set the table aside, create
// the link, declare its key) leaves the archive as it was before or as it is after.

#include "dataaccess/archive_db.h"

#include "tarv_fixture.h"

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace zq {
namespace {

using test::TarvFixture;

constexpr const char* kSerial = "2401011200001a2b";

enum class ArchiveState { Before, After, Between };

class GroupedSteps {
public:
    GroupedSteps() {
        auto c = f.openCompany();
        c->execute(std::string("CREATE TABLE a") + kSerial + "(sys_record SERIAL,descr CHAR(20))");
        auto db = ArchiveDatabase::create(file());
        TableDef t;
        t.name = kSerial;
        t.fields = {FieldDef{"sys_record", dbLong, 4, 17, true, 0}, FieldDef{"descr", dbText, 20, 2, false, 1}};
        t.indexes = {IndexDef{.name = "PrimaryKey", .primary = true, .unique = true, .required = true,
                              .fields = {"sys_record"}}};
        db->createTable(t);
        for (int i = 0; i < 3; ++i) db->execute(std::string("INSERT INTO \"") + kSerial + "\"(descr) VALUES('x')");
    }

    std::string file() const { return (f.programFolder() / "Vizidore.mdb").string(); }

    /// The link step; `pause(n)` runs after step n (0 = transaction begun, 4 = committed).
    template <class Pause>
    void run(Pause pause) {
        auto db = ArchiveDatabase::open(file());
        ArchiveTransaction t(*db);
        pause(0);
        db->renameTable(kSerial, std::string(kSerial) + "_sav");
        pause(1);
        db->createLink(kSerial, f.linkConnectString(), std::string("a") + kSerial);
        pause(2);
        db->execute(std::string("ALTER TABLE ") + kSerial + " ADD CONSTRAINT PrimaryKey PRIMARY KEY (sys_record)");
        pause(3);
        t.commit();
        pause(4);
    }

    ArchiveState state() {
        auto db = ArchiveDatabase::open(file());
        auto s = db->tableDef(kSerial);
        auto sav = db->tableDef(std::string(kSerial) + "_sav");
        auto localRows = [&](const std::string& name) {
            return db->connection()
                .openRecordset("SELECT * FROM \"" + name + "\"", CursorType::Static, LockType::ReadOnly)
                ->recordCount();
        };
        if (s && !s->isLink() && !sav && localRows(kSerial) == 3 && db->tableDefs().size() == 1)
            return ArchiveState::Before;
        if (s && s->isLink() && s->linkKey == std::vector<std::string>{"sys_record"} && sav && !sav->isLink() &&
            localRows(std::string(kSerial) + "_sav") == 3 && db->tableDefs().size() == 2)
            return ArchiveState::After;
        return ArchiveState::Between;
    }

    TarvFixture f;
};

/// Runs the steps in a forked child (exit 0 when done, 2 on an exception).
pid_t spawn(GroupedSteps& g, const std::function<void(int)>& pause) {
    const pid_t child = fork();
    if (child != 0) return child;
    try {
        g.run(pause);
    } catch (...) {
        _exit(2);
    }
    _exit(0);
}

/// Runs the steps in a child and kills it (SIGKILL) once it reports step `killAfter`.
void runAndKill(GroupedSteps& g, int killAfter) {
    int report[2];
    ASSERT_EQ(pipe(report), 0);
    const pid_t child = spawn(g, [&](int step) {
        char b = static_cast<char>(step);
        if (write(report[1], &b, 1) != 1) _exit(3);
        if (step == killAfter) pause();  // wait here for the parent's SIGKILL
    });
    ASSERT_GE(child, 0);
    close(report[1]);
    char b = -1;
    while (read(report[0], &b, 1) == 1 && b != killAfter) {
    }
    close(report[0]);
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the child ended on its own, status " << status;
}

class KilledAtStep : public ::testing::TestWithParam<int> {};

TEST_P(KilledAtStep, LeavesTheArchiveBeforeOrAfter) {
    GroupedSteps g;
    runAndKill(g, GetParam());
    ArchiveState expected = GetParam() < 4 ? ArchiveState::Before : ArchiveState::After;
    EXPECT_EQ(g.state(), expected);
}

INSTANTIATE_TEST_SUITE_P(Steps, KilledAtStep, ::testing::Values(0, 1, 2, 3, 4));

TEST(GroupedArchiveSteps, KilledAtRandomMomentsNeverLeavesAnythingBetween) {
    std::mt19937 random(20240101);
    int before = 0, after = 0;
    for (int round = 0; round < 12; ++round) {
        GroupedSteps g;
        const pid_t child = spawn(g, [](int) {});
        ASSERT_GE(child, 0);
        usleep(std::uniform_int_distribution<useconds_t>(0, 30000)(random));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        ArchiveState s = g.state();
        SCOPED_TRACE(round);
        ASSERT_NE(s, ArchiveState::Between);
        (s == ArchiveState::Before ? before : after)++;
    }
    RecordProperty("before", before);
    RecordProperty("after", after);
}

TEST(GroupedArchiveSteps, RunToTheEndLeavesTheArchiveAfter) {
    GroupedSteps g;
    g.run([](int) {});
    EXPECT_EQ(g.state(), ArchiveState::After);
}

}  // namespace
}  // namespace zq
