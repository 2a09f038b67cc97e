#include "app/config_file.h"

#include "common/error.h"
#include "common/product.h"
#include "common/system_error_text.h"
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
constexpr long kErrInvalidCall = 5;

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
                                            systemErrorText(err));
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

// CR LF, LF and a lone CR (files saved by old Macintosh-style editors) all end a line:
// read as one line, such a file would put every value, the password too, in PathTarv.
std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
        if (end < text.size() && text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
    }
    return lines;
}

// The message for a value the file cannot hold; the password is named, never shown.
std::string unwritableText(int line, const std::string& value) {
    std::string text = "Il valore \"" + std::string(ConfigFile::label(line)) +
                       "\" contiene caratteri che il file di configurazione (codifica Windows-1252) non "
                       "può registrare";
    if (line != ConfigFile::kPasswordLine) text += ": " + value;
    return text;
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
    int line = 0;
    for (const std::string* value : fields(cfg)) {
        if (value->find_first_of("\r\n") != std::string::npos)
            throw fileError(kErrPathAccess, "Il valore della riga " + std::to_string(line + 1) +
                                                " del file di configurazione contiene un a capo");
        // The other installations of the office read the file in the Windows code page.
        const auto encoded = utf8ToCp1252(*value);
        if (!encoded) throw fileError(kErrInvalidCall, unwritableText(line, *value));
        text += *encoded + "\r\n";
        ++line;
    }

    const std::filesystem::path tmp = file.string() + ".tmp";
    const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        throw fileError(kErrPathAccess, "Impossibile scrivere il file " + tmp.string() + ": " +
                                            systemErrorText(errno));
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
                                            systemErrorText(renameErr));
    }
}

const char* ConfigFile::label(int line) {
    static const char* const kLabels[kLines] = {
        "Percorso database TARV", "database QUIRNOVA",     "Nome Azienda",
        "Città",                  "login",                 "password",
        "Nome host o Indirizzo IP", "SO Server",           "Radice Path Esistente",
        "Radice Path Nuova",      "Conversione Backslash", "Parametro di raggruppamento 1",
        "Parametro di raggruppamento 2"};
    return line >= 0 && line < kLines ? kLabels[line] : "";
}

std::optional<std::string> ConfigFile::unwritable(const Config& cfg) {
    int line = 0;
    for (const std::string* value : fields(cfg)) {
        if (!utf8ToCp1252(*value)) return unwritableText(line, *value);
        ++line;
    }
    return std::nullopt;
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
