#pragma once
// Where the program keeps its installation: the configuration file "zel_QUIRNOVA.CFG",
// the engines file, "Loading.gif".
//
// By default this is the folder that holds the running executable. The environment
// variable ZEL_QUIRNOVA_HOME names another folder instead, so that one installed program
// can serve several installations (and tests can point it at a temporary one):
//
//   ZEL_QUIRNOVA_HOME=/srv/quirnova zel_QUIRNOVA

#include <filesystem>

namespace zq {

/// Name of the environment variable that overrides the program folder.
inline constexpr const char* kHomeVariable = "ZEL_QUIRNOVA_HOME";

/// The folder of the running executable (from /proc/self/exe).
std::filesystem::path executableFolder();

/// ZEL_QUIRNOVA_HOME when set and not empty, else executableFolder(); absolute.
std::filesystem::path programFolder();

}  // namespace zq
