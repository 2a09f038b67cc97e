#pragma once
// Runs a built program of the tree as a separate process, the way a person runs it
// from a shell, and captures what it printed.

#include <filesystem>
#include <string>
#include <vector>

namespace zq::test {

struct ProcessOutcome {
    int exit = -1;  ///< exit status; -1 when the process did not exit normally
    std::string out;
    std::string err;
};

/// Runs `program` with `args` (each quoted for the shell), standard input from
/// /dev/null and the output in files, so the program sees no terminal. `env` is put in
/// front of the command as "NAME=value …" assignments.
ProcessOutcome runProgram(const std::string& program, const std::vector<std::string>& args,
                          const std::string& env = {});

/// The text in single quotes for /bin/sh.
std::string shellQuoted(const std::string& s);
/// The whole file as bytes ("" when it cannot be read).
std::string readFile(const std::filesystem::path& p);
/// The lines of a text, without their line ends.
std::vector<std::string> linesOf(const std::string& text);

}  // namespace zq::test
