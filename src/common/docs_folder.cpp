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

}  // namespace zq
