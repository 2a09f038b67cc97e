#include "temp_dir.h"

#include <cstdlib>
#include <stdexcept>

namespace zq::test {

TempDir::TempDir(const std::string& prefix) {
    std::string tmpl = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed for " + tmpl);
    path_ = tmpl;
}

TempDir::~TempDir() {
    if (std::getenv("ZQ_KEEP_TEST_DIRS")) return;
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

}  // namespace zq::test
