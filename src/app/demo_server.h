#pragma once
// The server side of a demo installation on PostgreSQL: through an administrative
// connection to the server's "postgres" database it creates the demo login and the TARV
// databases, each made Informix-like by the compatibility script built into the
// program. Until keep() is called, the destructor drops again whatever it created, so a
// build that fails half-way leaves the server as it found it.

#include "app/demo_server_login.h"
#include "dataaccess/connection.h"
#include "dataaccess/engine_settings.h"

#include <string>
#include <vector>

namespace zq {

class DemoServer {
public:
    /// Connects to the server's "postgres" database with the administrative login.
    /// Throws zq::Error with an Italian text naming the server when that fails.
    explicit DemoServer(DemoServerLogin login);
    /// Drops the databases and the role it created, unless keep() was called.
    ~DemoServer();
    DemoServer(const DemoServer&) = delete;
    DemoServer& operator=(const DemoServer&) = delete;

    /// The engines file of an installation whose TARV databases live on this server.
    EngineSettings settings() const;
    const DemoServerLogin& login() const noexcept { return login_; }

    /// Throws zq::Error, naming them, when any database these Informix paths name (their
    /// last element) already exists on the server.
    void refuseExisting(const std::vector<std::string>& informixPaths);
    /// Makes sure `user` logs in with `password`: creates the role when missing. An
    /// existing role is never altered; it must already accept the password.
    void ensureLogin(const std::string& user, const std::string& password);
    /// Creates the database an Informix path names, owned by `owner`, and applies the
    /// Informix compatibility script to it.
    void createDatabase(const std::string& informixPath, const std::string& owner);
    /// The build succeeded: what was created stays on the server.
    void keep() noexcept { keep_ = true; }

    /// The server's name for the database of an Informix path (its last element).
    static std::string databaseName(const std::string& informixPath);
    /// The statements of a SQL script, split at the semicolons outside quotes, dollar
    /// quotes and comments.
    static std::vector<std::string> splitScript(const std::string& script);

private:
    std::string connectionString(const std::string& database, const std::string& user,
                                 const std::string& password) const;
    ConnectionPtr connect(const std::string& database, const std::string& user, const std::string& password) const;
    bool exists(const std::string& catalogue, const std::string& column, const std::string& name);
    void dropCreated() noexcept;

    DemoServerLogin login_;
    ConnectionPtr admin_;
    std::vector<std::string> createdDatabases_;
    std::string createdRole_;
    bool keep_ = false;
};

}  // namespace zq
