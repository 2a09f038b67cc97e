#pragma once
// Interruption points for the crash tests. Every statement sent to a database and every
// change to the documents folders passes one point; the points are counted over the
// whole process. With ZQ_FAULT_AT=n in the environment the n-th point ends the process
// on the spot, as a power cut or `kill -9` would (ZQ_FAULT_MODE=fail throws an error
// there instead, as a dropped connection would). Without it a point costs one branch.
//
//   ZQ_FAULT_AT=57 zelq --yes group …   # dies at the 57th point
//   ZQ_FAULT_COUNT=1 zelq …             # prints "fault-points<TAB>N" on stderr at exit

#include <functional>
#include <string>

namespace zq {

class FaultHook {
public:
    /// One interruption point; `what` names its kind ("sql", "file", "journal").
    static void point(const char* what);
    /// Points passed so far in this process.
    static long passed();
    /// Called at every point with its number, on the thread that passes it: a test that
    /// runs the program in its own process stops a server at a chosen step this way.
    /// An empty function removes it.
    static void observe(std::function<void(long)> observer);
};

}  // namespace zq
