#pragma once
// The failure of an import, with the message the operator reads (Italian, naming the
// file or the table) and what went wrong underneath, for the report.

#include <stdexcept>
#include <string>

namespace zq {

class ImportError : public std::runtime_error {
public:
    /// `message`: lines joined by CR LF, as the program's messages are.
    explicit ImportError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace zq
