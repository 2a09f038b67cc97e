#include "dataaccess/engine_settings.h"

#include "common/error.h"
#include "dataaccess/sql_text.h"

#include <cstdlib>
#include <fstream>
#include <mutex>
#include <optional>

namespace zq {

namespace {

constexpr const char* kSource = "zq.engines";

[[noreturn]] void malformed(const std::filesystem::path& file, int line, const std::string& why) {
    throw Error(kErrProviderFailure, file.string() + ":" + std::to_string(line) + ": " + why, kSource);
}

void assign(EngineSettings& s, const std::filesystem::path& programFolder, const std::filesystem::path& file,
            int line, const std::string& key, const std::string& value) {
    if (key == "tarv.engine") {
        if (value == "embedded") s.tarvEngine = EngineSettings::Tarv::Embedded;
        else if (value == "odbc") s.tarvEngine = EngineSettings::Tarv::Odbc;
        else malformed(file, line, "tarv.engine must be embedded or odbc, not '" + value + "'");
    } else if (key == "tarv.root") {
        std::filesystem::path root(value);
        s.embeddedRoot = root.is_absolute() ? root : programFolder / root;
    } else if (key == "odbc.driver") {
        s.odbcDriver = value;
    } else if (key == "odbc.dsn") {
        s.odbcDsn = value;
    } else if (key == "odbc.mapping") {
        if (value != "informix" && value != "postgresql")
            malformed(file, line, "odbc.mapping must be informix or postgresql, not '" + value + "'");
        s.odbcMapping = value;
    } else if (key == "odbc.port") {
        s.odbcPort = value;
    } else if (key == "odbc.options") {
        s.odbcOptions = value;
    } else {
        malformed(file, line, "unknown setting '" + key + "'");
    }
}

}  // namespace

EngineSettings EngineSettings::load(const std::filesystem::path& programFolder) {
    EngineSettings s;
    s.embeddedRoot = std::filesystem::absolute(programFolder) / "tarv";
    const auto file = programFolder / kFileName;
    std::ifstream in(file, std::ios::binary);
    if (!in) return s;
    std::string raw;
    int line = 0;
    while (std::getline(in, raw)) {
        ++line;
        std::string text = trimBlanks(raw);
        if (text.empty() || text.front() == '#') continue;
        auto eq = text.find('=');
        if (eq == std::string::npos) malformed(file, line, "expected 'key = value'");
        assign(s, std::filesystem::absolute(programFolder), file, line, trimBlanks(text.substr(0, eq)),
               trimBlanks(text.substr(eq + 1)));
    }
    return s;
}

void EngineSettings::save(const std::filesystem::path& programFolder) const {
    const auto file = programFolder / kFileName;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (!out) throw Error(kErrProviderFailure, "cannot write " + file.string(), kSource);
    out << "# embedded (default) or odbc\n"
        << "tarv.engine = " << (tarvEngine == Tarv::Odbc ? "odbc" : "embedded") << "\n"
        << "# embedded: folder under which each Informix path is an SQLite file\n"
        << "tarv.root = " << embeddedRoot.string() << "\n"
        << "odbc.driver = " << odbcDriver << "\n"
        << "odbc.dsn = " << odbcDsn << "\n"
        << "odbc.mapping = " << odbcMapping << "\n"
        << "odbc.port = " << odbcPort << "\n"
        << "odbc.options = " << odbcOptions << "\n";
    if (!out.flush()) throw Error(kErrProviderFailure, "cannot write " + file.string(), kSource);
}

namespace {

std::mutex& settingsMutex() {
    static std::mutex m;
    return m;
}

std::optional<EngineSettings>& current() {
    static std::optional<EngineSettings> s;
    return s;
}

}  // namespace

void setInstallation(const EngineSettings& s) {
    std::lock_guard lock(settingsMutex());
    current() = s;
}

const EngineSettings& installation() {
    std::lock_guard lock(settingsMutex());
    if (!current()) {
        // Processes that never set it (the sqlite3 shell with the link extension) find
        // the installation through ZEL_QUIRNOVA_HOME, else the current folder.
        const char* home = std::getenv("ZEL_QUIRNOVA_HOME");
        current() = EngineSettings::load(home && *home ? std::filesystem::path(home)
                                                       : std::filesystem::current_path());
    }
    return *current();
}

}  // namespace zq
