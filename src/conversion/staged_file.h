#pragma once
// A file written under a temporary name beside its final path and renamed into place
// only when complete, so that a crash or a killed process never leaves a truncated file
// under the final name. Whatever was not committed is removed by the destructor.

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

private:
    std::filesystem::path final_;
    std::filesystem::path temp_;
    bool committed_ = false;
};

}  // namespace zq
