#include "duplication/identity_file.h"

#include "common/error.h"
#include "dataaccess/fault_hook.h"
#include "runtime/format.h"

#include <cerrno>
#include <cstdio>
#include <memory>

namespace zq {

std::string IdentityFile::text(const std::string& serial, const std::string& name, const DateTime& created) {
    const std::string crlf = "\r\n";
    return crlf + serial + crlf + name + crlf + formatValue(Value(created), "dd/mm/yyyy") + crlf + crlf + crlf + crlf;
}

void IdentityFile::write(const std::string& folder, const std::string& serial, const std::string& name,
                         const DateTime& created) {
    const std::string path = folder + kFileName;
    // "x": the file is made only when none is there; another archive's identity file
    // is never overwritten.
    FaultHook::point("file");
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> out(std::fopen(path.c_str(), "wbx"), &std::fclose);
    if (!out) {
        const int err = errno;
        if (err == EEXIST)
            throw Error(58, "Il file " + path + " esiste già: appartiene a un altro archivio e non viene sovrascritto",
                        "zq.duplication", err);
        throw Error(75, "Impossibile scrivere il file " + path, "zq.duplication", err);
    }
    const std::string t = text(serial, name, created);
    const bool written = std::fwrite(t.data(), 1, t.size(), out.get()) == t.size();
    if (std::fclose(out.release()) != 0 || !written)
        throw Error(75, "Impossibile scrivere il file " + path, "zq.duplication", errno);
}

}  // namespace zq
