#pragma once
// A fresh demo installation per test, and direct access to its TARV databases for
// arranging a case and checking the result behind the program's back.
//
// Built with ZQ_DEMO_ON_SERVER (the zq_demo_server_fixture library), the same fixture
// copies the demo's TARV databases to the PostgreSQL test server (ZQ_PG_* variables,
// scripts/pg-test-server) and points the installation there, so one test source runs on
// either engine.

#include "app/session.h"
#include "temp_dir.h"

#include <memory>
#include <optional>
#include <string>

namespace zq::test {

class PgTarv;

class DemoFixture {
public:
    DemoFixture();
    ~DemoFixture();
    DemoFixture(const DemoFixture&) = delete;
    DemoFixture& operator=(const DemoFixture&) = delete;

    const std::filesystem::path& dir() const { return dir_.path(); }
    /// The engines of the installation (embedded, root dir/tarv; odbc on the server build).
    EngineSettings engines() const;

    /// Runs statements straight on the database of an Informix path: its SQLite file, or
    /// through psql as the installation's account on the server build.
    void rawExec(const std::string& informixPath, const std::string& sql) const;
    /// utenti.porta of a user, trimmed; nothing for Null or for no row.
    std::optional<std::string> porta(const std::string& user) const;
    /// The first column of the first row of a query on a TARV database, as text;
    /// nothing when there is no row or the value is Null.
    std::optional<std::string> tarvValue(const std::string& informixPath, const std::string& sql) const;

    /// True on the server build: the TARV databases are on the PostgreSQL test server.
    bool onServer() const { return pg_ != nullptr; }
    /// The configuration's login name (the demo's "tarv", or the server account).
    std::string loginUser() const { return config().Utente; }
    /// Gives the login account a new password (the configuration is not touched).
    void changeLoginPassword(const std::string& password);
    /// A TARV login account with no utenti row; returns its name (made unique on the
    /// server, where account names are server-wide).
    std::string addAccount(const std::string& name, const std::string& password);
    /// Removes a TARV database as if it had never been made.
    void dropTarvDatabase(const std::string& informixPath);

    /// Rewrites the configuration file after `change` edited the demo's values.
    template <class F>
    void editConfig(F change) const {
        Config c = config();
        change(c);
        writeConfig(c);
    }
    Config config() const;
    void writeConfig(const Config& c) const;

private:
    TempDir dir_;
    // shared_ptr: the embedded build never sees PgTarv complete, and needs no deleter for it.
    std::shared_ptr<PgTarv> pg_;  ///< the server's account and databases; none when embedded
};

}  // namespace zq::test
