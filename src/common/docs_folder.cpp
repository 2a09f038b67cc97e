#include "common/docs_folder.h"

#include <cstdio>

namespace zq {

std::string recordFolder(const std::string& basePath, long record) {
    char sub[32];
    std::snprintf(sub, sizeof sub, "%08ld", record / 500);
    if (basePath.find('/') != std::string::npos) return basePath + sub + "/";
    if (basePath.find('\\') != std::string::npos) return basePath + sub + "\\";
    return sub;
}

std::string entryNameProblem(std::string_view name) {
    // File systems count a name's bytes; 255 is the common limit.
    constexpr std::size_t kMaxBytes = 255;
    if (name.empty()) return "il nome è vuoto";
    if (name == "." || name == ".." || name.find_first_of("/\\") != std::string_view::npos)
        return "il nome esce dalla sua cartella";
    for (unsigned char c : name)
        if (c < 0x20 || c == 0x7F) return "il nome contiene caratteri di controllo";
    if (name.find_first_of("<>:\"|?*") != std::string_view::npos)
        return "il nome contiene caratteri che i file system non accettano (< > : \" | ? *)";
    if (name.size() > kMaxBytes) return "il nome è più lungo di 255 caratteri";
    return {};
}

}  // namespace zq
