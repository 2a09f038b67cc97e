#pragma once
// A fresh folder per test, removed afterwards (kept when ZQ_KEEP_TEST_DIRS is set).

#include <filesystem>
#include <string>

namespace zq::test {

class TempDir {
public:
    explicit TempDir(const std::string& prefix = "zq");
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

}  // namespace zq::test
