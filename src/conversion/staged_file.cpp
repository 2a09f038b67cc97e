#include "conversion/staged_file.h"

#include "common/error.h"
#include "common/system_error_text.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace zq {
namespace {

[[noreturn]] void fail(const std::string& what, const std::filesystem::path& p, int err) {
    throw Error(0, what + " " + p.string() + ": " + systemErrorText(err), "conversion", err);
}

void syncFile(const std::filesystem::path& p) {
    const int fd = ::open(p.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) fail("Impossibile riaprire il file", p, errno);
    const int rc = ::fsync(fd);
    const int err = errno;
    ::close(fd);
    if (rc != 0) fail("Impossibile completare la scrittura del file", p, err);
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

// ".<target name>." and the six letters or digits mkostemp puts in place of the X's.
std::string temporaryPrefix(const std::filesystem::path& finalPath) {
    return "." + finalPath.filename().string() + ".";
}

bool isTemporaryOf(const std::string& name, const std::string& prefix) {
    if (name.size() != prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0) return false;
    return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    });
}

// Removes `file` when no writer holds its lock; a link or anything but a plain file is
// never ours to remove.
void removeIfAbandoned(const std::filesystem::path& file) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) return;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
        ::unlink(file.c_str());
    ::close(fd);
}

}  // namespace

StagedFile::StagedFile(std::filesystem::path finalPath) : final_(std::move(finalPath)) {
    const auto folder = final_.has_parent_path() ? final_.parent_path() : std::filesystem::path(".");
    const std::string pattern = (folder / (temporaryPrefix(final_) + "XXXXXX")).string();
    // Between mkostemp and flock another conversion's sweep may take the new file for a
    // leftover and remove it; a file that is gone by the time it is locked is made anew.
    for (int attempt = 0; attempt < 5 && lockFd_ < 0; ++attempt) {
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        const int fd = ::mkostemp(name.data(), O_CLOEXEC);
        if (fd < 0) fail("Impossibile creare un file di lavoro nella cartella di", final_, errno);
        struct stat st {};
        if (::flock(fd, LOCK_EX) == 0 && ::fstat(fd, &st) == 0 && st.st_nlink > 0) {
            ::fchmod(fd, creationMode());
            lockFd_ = fd;
            temp_ = name.data();
        } else {
            ::close(fd);
        }
    }
    if (lockFd_ < 0) fail("Impossibile tenere un file di lavoro nella cartella di", final_, ENOENT);
}

StagedFile::~StagedFile() {
    if (!committed_) {
        std::error_code ignored;
        std::filesystem::remove(temp_, ignored);
    }
    if (lockFd_ >= 0) ::close(lockFd_);
}

void StagedFile::commit() {
    syncFile(temp_);
    if (::rename(temp_.c_str(), final_.c_str()) != 0) fail("Impossibile dare al file il nome", final_, errno);
    committed_ = true;
}

void StagedFile::removeAbandoned(const std::filesystem::path& finalPath) {
    namespace fs = std::filesystem;
    const fs::path folder = finalPath.has_parent_path() ? finalPath.parent_path() : fs::path(".");
    const std::string prefix = temporaryPrefix(finalPath);
    std::error_code ec;
    std::vector<fs::path> candidates;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (isTemporaryOf(it->path().filename().string(), prefix)) candidates.push_back(it->path());
    for (const auto& file : candidates) removeIfAbandoned(file);
}

}  // namespace zq
