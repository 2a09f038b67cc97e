#pragma once
// A Login that records the order of the calls the main window makes, and can be told
// to end the program at the next OpenConn.

#include "app/gui/login.h"
#include "common/error.h"

#include <string>
#include <vector>

namespace zq::test {

class RecordingLogin : public Login {
public:
    void OpenConn() override {
        calls.push_back("OpenConn");
        if (abortAtOpen)
            throw AbortProgram(7);
    }
    void CloseConn() override { calls.push_back("CloseConn"); }

    std::vector<std::string> calls;
    bool abortAtOpen = false;
};

}  // namespace zq::test
