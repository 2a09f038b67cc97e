#include "conversion/staged_file.h"

#include "common/error.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace zq {
namespace {

[[noreturn]] void fail(const std::string& what, const std::filesystem::path& p, int err) {
    throw Error(0, what + " " + p.string() + ": " + std::strerror(err), "conversion", err);
}

void syncFile(const std::filesystem::path& p) {
    const int fd = ::open(p.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) fail("cannot reopen", p, errno);
    const int rc = ::fsync(fd);
    const int err = errno;
    ::close(fd);
    if (rc != 0) fail("cannot flush", p, err);
}

// mkostemp creates 0600 files; the archive's documents must be readable like any other
// file the office writes, so the temporary gets the mode open() would have given it.
// The umask is read from /proc because umask() itself would change it for all threads.
mode_t creationMode() {
    static const mode_t mode = [] {
        mode_t mask = 022;
        if (FILE* f = std::fopen("/proc/self/status", "r")) {
            char line[256];
            while (std::fgets(line, sizeof line, f))
                if (std::strncmp(line, "Umask:", 6) == 0) mask = static_cast<mode_t>(std::strtoul(line + 6, nullptr, 8));
            std::fclose(f);
        }
        return static_cast<mode_t>(0666 & ~mask);
    }();
    return mode;
}

}  // namespace

StagedFile::StagedFile(std::filesystem::path finalPath) : final_(std::move(finalPath)) {
    const auto folder = final_.has_parent_path() ? final_.parent_path() : std::filesystem::path(".");
    std::string pattern = (folder / ("." + final_.filename().string() + ".XXXXXX")).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) fail("cannot create a file beside", final_, errno);
    ::fchmod(fd, creationMode());
    ::close(fd);
    temp_ = name.data();
}

StagedFile::~StagedFile() {
    if (committed_) return;
    std::error_code ignored;
    std::filesystem::remove(temp_, ignored);
}

void StagedFile::commit() {
    syncFile(temp_);
    if (::rename(temp_.c_str(), final_.c_str()) != 0) fail("cannot rename to", final_, errno);
    committed_ = true;
}

}  // namespace zq
