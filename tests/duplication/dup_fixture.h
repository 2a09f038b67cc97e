#pragma once
// A demo installation logged in on scripted dialogs, for the duplication and grouping
// runs: archives linked the way the link form links them, and checks through fresh
// connections to the archive file and the TARV databases.

#include "app/session.h"
#include "common/progress.h"
#include "dataaccess/archive_db.h"
#include "lookups/lookups.h"
#include "scripted_dialogs.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#ifdef ZQ_DUP_ON_SERVER
#include "pg_server.h"
#endif

namespace zq::test {

/// Counts the long-work windows a run opens and closes, and keeps the last value shown.
class CountingProgress : public Progress {
public:
    void begin(const std::string&) override { ++begun; }
    void end() override { ++ended; }
    void setValue(long v) override { last = v; }
    int begun = 0, ended = 0;
    long last = 0;
};

class DupTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    /// Links a demo archive with the link form's run (company `ditt`, year `year`).
    void linkArchive(const std::string& serial, const std::string& tipoAss, const std::string& tipoDoc,
                     const std::string& ditt = "001", const std::string& year = "2024");

    /// Rows of a query on the archive file (fresh connection), values as trimmed texts.
    std::vector<std::vector<std::string>> archiveRows(const std::string& sql) const;
    /// Rows of a query on a TARV database ("/usr/tarv/comune", "/usr/tarv/ditt001" …).
    std::vector<std::vector<std::string>> tarvRows(const std::string& informixPath, const std::string& sql) const;
    std::optional<TableDef> archiveDef(const std::string& name) const;
    /// Adds rows to an archive table through the archive file.
    void execArchive(const std::string& sql) const;

    /// Counts the ScriptedDialogs texts that contain `fragment`.
    int count(const std::string& fragment) const;

#ifdef ZQ_DUP_ON_SERVER
    void moveTarvToServer();
    std::unique_ptr<PgTarv> pg_;
#endif
    std::unique_ptr<TempDir> dir_;
    ScriptedDialogs dialogs;
    std::unique_ptr<Session> session;
    std::unique_ptr<Lookups> lookups;
    std::filesystem::path home() const { return dir_->path(); }

    static constexpr const char* kForn2023 = "2215032010150a1f";  ///< area 2 (2023 / Fatture Acquisto)
    static constexpr const char* kClie2023 = "2215032010161b2c";  ///< area 3
    static constexpr const char* kForn2024 = "2408010930122c3d";  ///< area 5 (2024 / Fatture Acquisto)
    static constexpr const char* kNote2024 = "2408010930133d4e";  ///< area 5
    static constexpr const char* kClie2024 = "2408010935144e5f";  ///< area 6
    static constexpr const char* kCorr2024 = "2408010935155f60";  ///< area 6
};

}  // namespace zq::test
