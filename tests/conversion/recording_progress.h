#pragma once
// A Progress that writes down every call and the thread it came on, and can ask for a
// cancel once a given label has been shown.

#include "common/progress.h"

#include <string>
#include <thread>
#include <vector>

namespace zq::test {

class RecordingProgress : public Progress {
public:
    void begin(const std::string& text) override { note("begin " + text); }
    void end() override { note("end"); }
    void setLabel(const std::string& text) override {
        note("label " + text);
        if (text == cancelAfterLabel) cancel = true;
    }
    void setRange(long maximum) override { note("range " + std::to_string(maximum)); }
    void setValue(long value) override { note("value " + std::to_string(value)); }
    bool cancelRequested() const override { return cancel; }

    std::vector<std::string> events;
    std::vector<std::thread::id> threads;  ///< the thread of each event
    std::string cancelAfterLabel;          ///< cancel once this label is set
    bool cancel = false;

private:
    void note(std::string event) {
        events.push_back(std::move(event));
        threads.push_back(std::this_thread::get_id());
    }
};

}  // namespace zq::test
