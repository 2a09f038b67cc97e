#include "app/program_folder.h"

#include <cstdlib>

namespace zq {

std::filesystem::path executableFolder() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return std::filesystem::current_path();
    return exe.parent_path();
}

std::filesystem::path programFolder() {
    const char* home = std::getenv(kHomeVariable);
    if (home && *home) return std::filesystem::absolute(home);
    return executableFolder();
}

}  // namespace zq
