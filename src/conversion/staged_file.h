#pragma once
// A file written under a temporary name beside its final path and renamed into place
// only when complete, so that a crash or a killed process never leaves a truncated file
// under the final name. Whatever was not committed is removed by the destructor.
//
// The writer holds an exclusive flock on its temporary file until it is renamed: the
// lock goes with the process, so a temporary nobody holds is the leftover of a writer
// that was killed, and removeAbandoned() can tell it from one another thread or process
// is still writing.

#include <filesystem>

namespace zq {

class StagedFile {
public:
    /// Creates an empty, uniquely named file beside `finalPath` ("<dir>/.<name>.XXXXXX").
    /// Throws zq::Error when the folder does not accept it.
    explicit StagedFile(std::filesystem::path finalPath);
    ~StagedFile();
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    /// Where to write the content.
    const std::filesystem::path& tempPath() const { return temp_; }
    const std::filesystem::path& finalPath() const { return final_; }

    /// Flushes the written content to disk and renames it to the final path, replacing
    /// any file there. Throws zq::Error; the temporary is then removed.
    void commit();

    /// Removes the temporaries of `finalPath` that no living writer holds. Best effort:
    /// a folder that cannot be read is left for the writer to report.
    static void removeAbandoned(const std::filesystem::path& finalPath);

private:
    std::filesystem::path final_;
    std::filesystem::path temp_;
    int lockFd_ = -1;  ///< open on temp_ with the lock, until commit or destruction
    bool committed_ = false;
};

}  // namespace zq
