#pragma once
// Messages of several lines are joined by CR LF, as the person's message boxes expect.

#include <initializer_list>
#include <string>

namespace zq {

inline std::string messageLines(std::initializer_list<std::string> parts) {
    std::string out;
    bool first = true;
    for (const auto& p : parts) {
        if (!first) out += "\r\n";
        out += p;
        first = false;
    }
    return out;
}

}  // namespace zq
