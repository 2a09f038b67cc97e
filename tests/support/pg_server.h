#pragma once
// The PostgreSQL test server (scripts/pg-test-server) as the server tests see it, and
// TARV databases on it made Informix-like by tests/fixtures/informix_compat.sql.
//
//   zq::test::PgTarv tarv;                               // account with a password
//   tarv.createDatabase("/usr/tarv/comune");              // database "comune" + fixture
//   zq::setInstallation(tarv.settings());                 // tarv.engine = odbc
//   tarv.execute("/usr/tarv/comune", "INSERT INTO ...");  // set-up rows as that account
//
// Without ZQ_PG_PORT in the environment every helper throws std::runtime_error saying
// how to start the server: server tests fail, they are never skipped.

#include "dataaccess/engine_settings.h"

#include <memory>
#include <string>
#include <vector>

namespace zq {
class OdbcDatabase;
}

namespace zq::test {

/// Where the test server listens and its superuser, from ZQ_PG_HOST, ZQ_PG_PORT,
/// ZQ_PG_USER, ZQ_PG_PASSWORD, ZQ_PG_DRIVER (ZQ_PG_DIR for pause/resume).
struct PgServer {
    std::string host;
    std::string port;
    std::string user;
    std::string password;
    std::string driver;
    std::string dir;

    /// The server the environment names. Throws std::runtime_error when ZQ_PG_PORT is unset.
    static PgServer fromEnvironment();

    /// ODBC connection string for `database` as `user` (the superuser when empty),
    /// without streaming options.
    std::string connectionString(const std::string& database, const std::string& user = {},
                                 const std::string& password = {}) const;
    /// Runs statements (separated by ';' outside quotes, or a script file with -f) as the
    /// superuser through psql. Throws std::runtime_error with psql's output on failure.
    void psql(const std::string& database, const std::string& sql) const;
    void psqlFile(const std::string& database, const std::string& file) const;
    /// Engine settings that reach this server with the postgresql mapping.
    EngineSettings settings() const;
};

/// A private server of its own, for tests that stop it (pause) and start it again
/// (resume); stopped and removed at destruction.
class PrivatePgServer {
public:
    PrivatePgServer();
    ~PrivatePgServer();
    PrivatePgServer(const PrivatePgServer&) = delete;
    PrivatePgServer& operator=(const PrivatePgServer&) = delete;

    const PgServer& server() const { return server_; }
    /// pg_ctl stop (fast): every connection is cut.
    void pause();
    /// Starts the same cluster again on the same port.
    void resume();

private:
    PgServer server_;
};

/// An account with a password and the TARV databases created for it; all dropped at
/// destruction. Tests that create databases under fixed names (comune, ditt001) hold a
/// server-wide lock while their PgTarv lives, so such tests take turns; names made by
/// uniquePath() need no lock.
class PgTarv {
public:
    explicit PgTarv(PgServer server = PgServer::fromEnvironment());
    ~PgTarv();
    PgTarv(const PgTarv&) = delete;
    PgTarv& operator=(const PgTarv&) = delete;

    const PgServer& server() const { return server_; }
    const std::string& user() const { return user_; }
    const std::string& password() const { return password_; }
    /// The configuration's Host and Server values that reach the test server.
    const std::string& host() const { return server_.host; }
    std::string serverName() const { return "zq_test"; }

    /// A path whose last element is unique on the server: "/usr/tarv/" + a name made of
    /// this process, this object and `base`. For tests that need no fixed names.
    std::string uniquePath(const std::string& base) const;
    /// Creates the database an Informix path names (its last element), owned by the
    /// account, with the compatibility fixture applied. Replaces a leftover of that name.
    void createDatabase(const std::string& informixPath);
    /// Drops the database an Informix path names, as a database that never existed.
    void dropDatabase(const std::string& informixPath);
    /// Another login account named `base` plus a suffix of this object (account names
    /// are server-wide), allowed to read and write every table of the databases made so
    /// far; dropped at destruction. Returns the name.
    std::string createAccount(const std::string& base, const std::string& password);
    /// A new password for the account; password() answers the new one.
    void changePassword(const std::string& password);
    /// Runs statements as the account in the database of `informixPath` (psql).
    void execute(const std::string& informixPath, const std::string& sql) const;
    /// Settings for this installation (tarv.engine = odbc, postgresql mapping).
    EngineSettings settings() const { return server_.settings(); }
    /// The program's TARV connection string for a database path (the Informix provider
    /// template of the common database).
    std::string providerString(const std::string& informixPath, const std::string& password = {}) const;

private:
    PgServer server_;
    std::string user_;
    std::string password_;
    std::vector<std::string> databases_;
    std::vector<std::string> otherAccounts_;
    std::shared_ptr<OdbcDatabase> lockSession_;  // holds the advisory lock
    bool holdsNameLock_ = false;
};

}  // namespace zq::test
