#include "process_run.h"

#include "temp_dir.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

namespace zq::test {

std::string shellQuoted(const std::string& s) {
    std::string out = "'";
    for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::string readFile(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

ProcessOutcome runProgram(const std::string& program, const std::vector<std::string>& args,
                          const std::string& env) {
    TempDir io("zq-run");
    std::string cmd = env + " " + shellQuoted(program);
    for (const auto& a : args) cmd += " " + shellQuoted(a);
    cmd += " < /dev/null > " + shellQuoted((io / "out").string()) + " 2> " + shellQuoted((io / "err").string());
    const int status = std::system(cmd.c_str());
    return ProcessOutcome{WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(io / "out"), readFile(io / "err")};
}

}  // namespace zq::test
