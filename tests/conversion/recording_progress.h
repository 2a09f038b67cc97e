#pragma once
// A Progress that writes down every call, and can ask for a cancel once a given label
// has been shown.

#include "common/progress.h"

#include <string>
#include <vector>

namespace zq::test {

class RecordingProgress : public Progress {
public:
    void begin(const std::string& text) override { events.push_back("begin " + text); }
    void end() override { events.push_back("end"); }
    void setLabel(const std::string& text) override {
        events.push_back("label " + text);
        if (text == cancelAfterLabel) cancel = true;
    }
    void setRange(long maximum) override { events.push_back("range " + std::to_string(maximum)); }
    void setValue(long value) override { events.push_back("value " + std::to_string(value)); }
    bool cancelRequested() const override { return cancel; }

    /// The label events only, without the "label " prefix.
    std::vector<std::string> labels() const {
        std::vector<std::string> out;
        for (const auto& e : events)
            if (e.rfind("label ", 0) == 0) out.push_back(e.substr(6));
        return out;
    }

    std::vector<std::string> events;
    std::string cancelAfterLabel;  ///< cancel once this label is set
    bool cancel = false;
};

}  // namespace zq::test
