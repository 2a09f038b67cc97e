#pragma once
// DURuv.id, the identity file of every new documents folder: seven lines ended by
// CR LF - empty, the serial, the archive name, the creation date "dd/mm/yyyy", three
// empty lines.

#include "runtime/value.h"

#include <string>

namespace zq {

class IdentityFile {
public:
    static constexpr const char* kFileName = "DURuv.id";
    /// The file's text.
    static std::string text(const std::string& serial, const std::string& name, const DateTime& created);
    /// Creates folder & "DURuv.id"; `folder` ends in a separator. Throws zq::Error when
    /// the file cannot be written, or when one is already there (it is left as it was).
    static void write(const std::string& folder, const std::string& serial, const std::string& name,
                      const DateTime& created);
};

}  // namespace zq
