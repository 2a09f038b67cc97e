#pragma once
// What the link, unlink and pre-mastering tests share: a demo installation with a
// logged-in session on scripted dialogs, the TARV engine as a test parameter, checks
// through the program's own connections, and decorators that record statements or make
// a chosen call fail (to stop a run at a given step).

#include "app/session.h"
#include "dataaccess/archive_db.h"
#include "linking/archive_model.h"
#include "linking/link_entries.h"
#include "lookups/lookups.h"
#include "forwarding_archive.h"
#include "pg_server.h"
#include "scripted_dialogs.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zq::test {



/// The TARV engine a suite runs on.
enum class TarvKind { Embedded, Odbc };

/// The engines the suites are instantiated with: the embedded engine in the ordinary
/// run, the ODBC engine on the PostgreSQL test server in the server build of the same
/// sources (ZQ_LINK_ON_SERVER).
#ifdef ZQ_LINK_ON_SERVER
#define ZQ_LINK_ENGINES ::testing::Values(::zq::test::TarvKind::Odbc)
#else
#define ZQ_LINK_ENGINES ::testing::Values(::zq::test::TarvKind::Embedded)
#endif
std::string PrintToString(TarvKind k);

/// A Connection that forwards everything, records every statement text, and throws
/// from the statements a test names (each failure once per call of failOn). Its log
/// can outlive it: a run's own company connection records into the test's log.
class RecordingConnection final : public Connection {
public:
    struct Log {
        std::vector<std::string> statements;  ///< execute() and openRecordset() texts, in order
        /// The next statement that begins with `prefix` throws zq::Error, `times` times.
        void failOn(std::string prefix, int times = 1) { failPrefix = std::move(prefix), failTimes = times; }
        std::string failPrefix;
        int failTimes = 0;
        std::function<void(const std::string&)> before;  ///< sees each statement before it runs
    };
    explicit RecordingConnection(ConnectionPtr inner, std::shared_ptr<Log> log = std::make_shared<Log>())
        : statements(log->statements), inner_(std::move(inner)), log_(std::move(log)) {}

    std::vector<std::string>& statements;  ///< the log's statements
    void failOn(std::string prefix, int times = 1) { log_->failOn(std::move(prefix), times); }

    int state() const override { return inner_->state(); }
    void close() override { inner_->close(); }
    long execute(const std::string& sql) override;
    long execute(const std::string& sql, const std::vector<Value>& params) override;
    RecordsetPtr openRecordset(const std::string& sql, CursorType c, LockType l) override;
    RecordsetPtr openRecordset(const std::string& sql, CursorType c, LockType l,
                               const std::vector<Value>& params) override;
    void beginTrans() override { inner_->beginTrans(); }
    void commitTrans() override { inner_->commitTrans(); }
    void rollbackTrans() override { inner_->rollbackTrans(); }
    const std::string& connectionString() const override { return inner_->connectionString(); }
    std::string engineName() const override { return inner_->engineName(); }

private:
    void maybeFail(const std::string& sql);
    ConnectionPtr inner_;
    std::shared_ptr<Log> log_;
};

/// The archive database with the n-th rename or the link creation failing.
class FailingArchive final : public ForwardingArchive {
public:
    using ForwardingArchive::ForwardingArchive;
    int failRenameNumber = 0;  ///< 1-based; 0 never
    bool failCreateLink = false;
    int renames = 0;

    void createLink(const std::string& n, const std::string& c, const std::string& s) override;
    void renameTable(const std::string& o, const std::string& n) override;
};

/// A demo installation on the engine of the parameter, logged in.
class LinkTest : public ::testing::TestWithParam<TarvKind> {
protected:
    void SetUp() override;
    void TearDown() override;

    /// Connects CnnDitt to the company (what picking it does).
    void pickCompany(const std::string& code);
    /// The list of the link forms, all areas.
    std::vector<ArchRow> archiveList();
    /// The entry of a demo archive, ticked with the given association and document type.
    ArchRow entry(const std::string& serial, const std::string& tipoAss = "A", const std::string& tipoDoc = "");
    int docIndex(const std::string& tipoDoc) const;

    /// A fresh connection to a TARV database ("/usr/tarv/comune", "/usr/tarv/ditt001" …).
    ConnectionPtr tarv(const std::string& informixPath) const;
    /// Rows of a query on a TARV database, each row's values as trimmed texts ("" for Null).
    std::vector<std::vector<std::string>> rows(const std::string& informixPath, const std::string& sql) const;
    bool tarvTableExists(const std::string& informixPath, const std::string& table) const;
    /// Index names of a TARV table (sysindexes joined with systables).
    std::vector<std::string> tarvIndexes(const std::string& informixPath, const std::string& table) const;
    /// Column names and declared types of a TARV table.
    std::vector<std::pair<std::string, std::string>> tarvColumns(const std::string& informixPath,
                                                                 const std::string& table) const;

    /// The archive database's table definitions, and row counts through the archive file.
    std::vector<TableDef> archiveDefs() const;
    std::optional<TableDef> archiveDef(const std::string& name) const;
    long archiveCount(const std::string& table) const;

    /// Adds a local table (and no DB_ELENCO row) to the archive database.
    void addArchiveTable(const TableDef& def) const;
    static FieldDef text(const std::string& name, long size);
    static IndexDef index(const std::string& name, std::vector<std::string> fields, bool primary = false);

    /// Wraps CnnTarv in a RecordingConnection (returned, owned by the session).
    RecordingConnection& recordTarv();
    /// From now on the company connections that companyOpener() opens record into the
    /// returned log.
    RecordingConnection::Log& recordDitt();
    /// Opens a run's company connection as the session does, recording after recordDitt().
    std::function<CompanyDb(const std::string&)> companyOpener();

    /// The demo's TARV databases again on the PostgreSQL test server, and the
    /// installation pointed at it.
    void moveTarvToServer();

    /// Set before SetUp: the TARV databases go to a server of this test's own, which
    /// pauseServer() stops (every connection cut) and resumeServer() starts again.
    bool ownServer = false;
    void pauseServer() { ownServer_->pause(); }
    void resumeServer() { ownServer_->resume(); }

    std::unique_ptr<PrivatePgServer> ownServer_;
    std::unique_ptr<TempDir> dir_;
    std::shared_ptr<RecordingConnection::Log> dittLog_;
    std::unique_ptr<PgTarv> pg_;
    ScriptedDialogs dialogs;
    std::unique_ptr<Session> session;
    std::unique_ptr<Lookups> lookups;
    ArchiveModel model;
    EngineSettings engines;

    static constexpr const char* kFornitori2023 = "2215032010150a1f";   ///< purchase invoices
    static constexpr const char* kClienti2023 = "2215032010161b2c";
    static constexpr const char* kFornitori2024 = "2408010930122c3d";   ///< has index Forn/Data
    static constexpr const char* kVerbali = "2106051045116a71";        ///< has a LongBinary field
    static constexpr const char* kContratti = "2106051045127b82";      ///< blank in a field name
    static constexpr const char* kComune = "/usr/tarv/comune";
    static constexpr const char* kDitt001 = "/usr/tarv/ditt001";
};

}  // namespace zq::test
