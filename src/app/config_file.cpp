#include "app/config_file.h"

#include "common/error.h"
#include "common/product.h"
#include "runtime/text.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace zq {
namespace {

// The error numbers the original's file statements raise for the same faults, so the
// report reads as the office knows it.
constexpr long kErrFileNotFound = 53;
constexpr long kErrInputPastEnd = 62;
constexpr long kErrPathAccess = 75;

Error fileError(long number, const std::string& text) {
    return Error(number, text, kProductName);
}

std::string readBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        const int err = errno;
        if (!std::filesystem::exists(file))
            throw fileError(kErrFileNotFound, "Impossibile trovare il file " + file.string());
        throw fileError(kErrPathAccess, "Impossibile aprire il file " + file.string() + ": " +
                                            std::strerror(err));
    }
    std::ostringstream buf;
    buf << in.rdbuf();
    if (in.bad()) throw fileError(kErrPathAccess, "Errore di lettura del file " + file.string());
    return buf.str();
}

// A configuration file holds short lines of printable text; control characters other
// than line ends and tabs mean someone put another file in its place.
bool looksLikeText(const std::string& bytes) {
    for (unsigned char c : bytes)
        if (c < 0x20 && c != '\r' && c != '\n' && c != '\t') return false;
    return true;
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

void assign(const std::vector<std::string>& lines, Config& cfg) {
    auto targets = ConfigFile::fields(cfg);
    for (std::size_t i = 0; i < lines.size() && i < targets.size(); ++i) *targets[i] = lines[i];
}

}  // namespace

std::filesystem::path ConfigFile::pathIn(const std::filesystem::path& programFolder) {
    return programFolder / (std::string(kProductName) + ".CFG");
}

std::vector<std::string> ConfigFile::readLines(const std::filesystem::path& file) {
    std::string bytes = readBytes(file);
    if (!looksLikeText(bytes))
        throw fileError(kErrInputPastEnd,
                        "Il file di configurazione " + file.string() + " non è un file di testo");
    if (bytes.rfind("\xEF\xBB\xBF", 0) == 0) bytes.erase(0, 3);
    if (!isValidUtf8(bytes)) bytes = cp1252ToUtf8(bytes);
    return splitLines(bytes);
}

void ConfigFile::readStartup(const std::filesystem::path& file, Config& cfg) {
    const auto lines = readLines(file);
    if (lines.size() < static_cast<std::size_t>(kMandatoryLines))
        throw fileError(kErrInputPastEnd,
                        "Il file di configurazione " + file.string() + " ha " +
                            std::to_string(lines.size()) + " righe: ne servono almeno " +
                            std::to_string(kMandatoryLines));
    assign(lines, cfg);
}

bool ConfigFile::readLenient(const std::filesystem::path& file, Config& cfg) {
    if (!std::filesystem::exists(file)) return false;
    assign(readLines(file), cfg);
    return true;
}

void ConfigFile::write(const std::filesystem::path& file, const Config& cfg) {
    std::string text;
    int lineNo = 0;
    for (const std::string* value : fields(cfg)) {
        ++lineNo;
        if (value->find_first_of("\r\n") != std::string::npos)
            throw fileError(kErrPathAccess, "Il valore della riga " + std::to_string(lineNo) +
                                                " del file di configurazione contiene un a capo");
        text += *value + "\r\n";
    }

    const std::filesystem::path tmp = file.string() + ".tmp";
    const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        throw fileError(kErrPathAccess, "Impossibile scrivere il file " + tmp.string() + ": " +
                                            std::strerror(errno));
    // The file may have existed with wider rights; the password must not be readable.
    bool ok = ::fchmod(fd, 0600) == 0;
    std::size_t done = 0;
    while (ok && done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        if (ok) done += static_cast<std::size_t>(n);
    }
    ok = ok && ::fsync(fd) == 0;
    const int err = errno;
    ok = (::close(fd) == 0) && ok;
    if (!ok || std::rename(tmp.c_str(), file.c_str()) != 0) {
        const int renameErr = ok ? errno : err;
        std::error_code ec;
        std::filesystem::remove(tmp, ec);
        throw fileError(kErrPathAccess, "Impossibile scrivere il file " + file.string() + ": " +
                                            std::strerror(renameErr));
    }
}

std::vector<std::string*> ConfigFile::fields(Config& c) {
    return {&c.PathTarv, &c.PathArch, &c.Azienda, &c.Citta,   &c.Utente,   &c.Password, &c.Host,
            &c.Server,   &c.RootOld,  &c.RootNew, &c.ConvBksl, &c.GrpParm1, &c.GrpParm2};
}

std::vector<const std::string*> ConfigFile::fields(const Config& c) {
    auto mutableFields = fields(const_cast<Config&>(c));
    return {mutableFields.begin(), mutableFields.end()};
}

}  // namespace zq
