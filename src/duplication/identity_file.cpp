#include "duplication/identity_file.h"

#include "common/error.h"
#include "runtime/format.h"

#include <cerrno>
#include <fstream>

namespace zq {

std::string IdentityFile::text(const std::string& serial, const std::string& name, const DateTime& created) {
    const std::string crlf = "\r\n";
    return crlf + serial + crlf + name + crlf + formatValue(Value(created), "dd/mm/yyyy") + crlf + crlf + crlf + crlf;
}

void IdentityFile::write(const std::string& folder, const std::string& serial, const std::string& name,
                         const DateTime& created) {
    const std::string path = folder + kFileName;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text(serial, name, created);
    out.close();
    if (!out) throw Error(75, "Path/File access error: " + path, "zq.duplication", errno);
}

}  // namespace zq
