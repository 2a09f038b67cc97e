#pragma once
// A temporary embedded TARV installation: program folder with its engines file, a TARV
// root with one account, the common database and one company database (both empty).
// The process's installation() is set to it for the fixture's lifetime.

#include "dataaccess/connection.h"
#include "dataaccess/engine_settings.h"
#include "temp_dir.h"

#include <filesystem>
#include <string>

namespace zq::test {

class TarvFixture {
public:
    static constexpr const char* kUser = "tarvuser";
    static constexpr const char* kPassword = "segreta";
    static constexpr const char* kHost = "tarvhost";
    static constexpr const char* kServer = "tarv_srv";
    static constexpr const char* kPathTarv = "/usr/tarv/";        ///< the configuration's PathTarv
    static constexpr const char* kCompanyDb = "/usr/tarv/ditt001";  ///< DbDitt of company 001

    TarvFixture();
    ~TarvFixture();
    TarvFixture(const TarvFixture&) = delete;
    TarvFixture& operator=(const TarvFixture&) = delete;

    const std::filesystem::path& programFolder() const { return dir_.path(); }
    const EngineSettings& settings() const { return settings_; }

    /// The connection strings the program builds (same templates, same order).
    std::string commonConnectionString() const;
    std::string companyConnectionString(const std::string& dbPath = kCompanyDb) const;
    std::string linkConnectString(const std::string& dbPath = kCompanyDb) const;

    ConnectionPtr openCommon() const;
    ConnectionPtr openCompany(const std::string& dbPath = kCompanyDb) const;
    /// Another company database, created empty.
    void addCompanyDatabase(const std::string& dbPath) const;

private:
    TempDir dir_;
    EngineSettings settings_;
};

}  // namespace zq::test
