#include "pg_server.h"

#include "dataaccess/odbc/odbc_database.h"

#include <atomic>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

#ifndef ZQ_FIXTURES_DIR
#error "ZQ_FIXTURES_DIR must name tests/fixtures"
#endif
#ifndef ZQ_SCRIPTS_DIR
#error "ZQ_SCRIPTS_DIR must name scripts"
#endif

namespace zq::test {

namespace {

std::string env(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}

// Runs a program with extra environment variables; returns exit status and output.
std::pair<int, std::string> run(const std::vector<std::string>& argv,
                                const std::vector<std::string>& extraEnv) {
    int fds[2];
    if (pipe(fds) != 0) throw std::runtime_error("pipe failed");
    pid_t pid = fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) {
        dup2(fds[1], 1);
        dup2(fds[1], 2);
        close(fds[0]);
        close(fds[1]);
        for (const auto& e : extraEnv) putenv(const_cast<char*>(e.c_str()));
        std::vector<char*> args;
        for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    close(fds[1]);
    std::string out;
    std::array<char, 4096> buf;
    ssize_t n;
    while ((n = read(fds[0], buf.data(), buf.size())) > 0) out.append(buf.data(), static_cast<std::size_t>(n));
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

std::string lastElement(std::string path) {
    while (!path.empty() && (path.back() == '/' || path.back() == '\\')) path.pop_back();
    auto s = path.find_last_of("/\\");
    return s == std::string::npos ? path : path.substr(s + 1);
}

std::atomic<int> counter{0};

std::string quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("''") : std::string(1, c);
    return out + "'";
}

}  // namespace

PgServer PgServer::fromEnvironment() {
    PgServer s;
    s.port = env("ZQ_PG_PORT");
    if (s.port.empty())
        throw std::runtime_error(
            "ZQ_PG_PORT is not set: the server tests need the private PostgreSQL test server. "
            "Start it with `source scripts/pg-test-server start` (scripts/test does) and run the tests "
            "from that shell.");
    s.host = env("ZQ_PG_HOST").empty() ? "127.0.0.1" : env("ZQ_PG_HOST");
    s.user = env("ZQ_PG_USER");
    s.password = env("ZQ_PG_PASSWORD");
    s.driver = env("ZQ_PG_DRIVER").empty() ? "PostgreSQL Unicode" : env("ZQ_PG_DRIVER");
    s.dir = env("ZQ_PG_DIR");
    return s;
}

std::string PgServer::connectionString(const std::string& database, const std::string& u,
                                       const std::string& p) const {
    return "DRIVER={" + driver + "};Server=" + host + ";Port=" + port + ";Database=" + database +
           ";UID=" + (u.empty() ? user : u) + ";PWD=" + (u.empty() ? password : p);
}

void PgServer::psql(const std::string& database, const std::string& sql) const {
    auto [rc, out] = run({"psql", "-X", "-q", "-v", "ON_ERROR_STOP=1", "-h", host, "-p", port, "-U", user, "-d",
                          database, "-c", sql},
                         {"PGPASSWORD=" + password, "PGCONNECT_TIMEOUT=20"});
    if (rc != 0) throw std::runtime_error("psql " + database + ": " + sql + "\n" + out);
}

void PgServer::psqlFile(const std::string& database, const std::string& file) const {
    auto [rc, out] = run({"psql", "-X", "-q", "-v", "ON_ERROR_STOP=1", "-h", host, "-p", port, "-U", user, "-d",
                          database, "-f", file},
                         {"PGPASSWORD=" + password, "PGCONNECT_TIMEOUT=20", "PGOPTIONS=-c client_min_messages=warning"});
    if (rc != 0) throw std::runtime_error("psql " + database + " -f " + file + "\n" + out);
}

EngineSettings PgServer::settings() const {
    EngineSettings s;
    s.tarvEngine = EngineSettings::Tarv::Odbc;
    s.odbcDriver = driver;
    s.odbcMapping = "postgresql";
    s.odbcPort = port;
    return s;
}

PrivatePgServer::PrivatePgServer() {
    auto [rc, out] = run({std::string(ZQ_SCRIPTS_DIR) + "/pg-test-server", "start"}, {});
    if (rc != 0) throw std::runtime_error("pg-test-server start failed:\n" + out);
    std::map<std::string, std::string> vars;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("export ", 0) != 0) continue;
        auto eq = line.find('=');
        std::string v = line.substr(eq + 1);
        if (v.size() >= 2 && v.front() == '\'' && v.back() == '\'') v = v.substr(1, v.size() - 2);
        vars[line.substr(7, eq - 7)] = v;
    }
    server_.host = vars["ZQ_PG_HOST"];
    server_.port = vars["ZQ_PG_PORT"];
    server_.user = vars["ZQ_PG_USER"];
    server_.password = vars["ZQ_PG_PASSWORD"];
    server_.driver = vars["ZQ_PG_DRIVER"];
    server_.dir = vars["ZQ_PG_DIR"];
    if (server_.port.empty() || server_.dir.empty())
        throw std::runtime_error("pg-test-server start printed no settings:\n" + out);
}

PrivatePgServer::~PrivatePgServer() {
    run({std::string(ZQ_SCRIPTS_DIR) + "/pg-test-server", "stop", server_.dir}, {});
}

void PrivatePgServer::pause() {
    auto [rc, out] = run({std::string(ZQ_SCRIPTS_DIR) + "/pg-test-server", "pause", server_.dir}, {});
    if (rc != 0) throw std::runtime_error("pg-test-server pause failed:\n" + out);
}

void PrivatePgServer::resume() {
    auto [rc, out] = run({std::string(ZQ_SCRIPTS_DIR) + "/pg-test-server", "resume", server_.dir}, {});
    if (rc != 0) throw std::runtime_error("pg-test-server resume failed:\n" + out);
}

PgTarv::PgTarv(PgServer server) : server_(std::move(server)) {
    const int n = ++counter;
    user_ = "zq_u" + std::to_string(getpid()) + "_" + std::to_string(n);
    password_ = "Pw" + std::to_string(getpid()) + "x" + std::to_string(n);
    server_.psql("postgres", "CREATE ROLE " + user_ + " LOGIN PASSWORD '" + password_ + "'");
    lockSession_ = std::make_shared<OdbcDatabase>(server_.connectionString("postgres"), "postgres");
}

PgTarv::~PgTarv() {
    try {
        for (const auto& db : databases_) server_.psql("postgres", "DROP DATABASE IF EXISTS " + db + " WITH (FORCE)");
        for (const auto& account : otherAccounts_) server_.psql("postgres", "DROP ROLE IF EXISTS " + account);
        server_.psql("postgres", "DROP ROLE IF EXISTS " + user_);
    } catch (...) {
        // A test must not fail in its clean-up; the server is thrown away at the end.
    }
    lockSession_.reset();
}

std::string PgTarv::uniquePath(const std::string& base) const {
    return "/usr/tarv/" + user_ + "_" + base;
}

void PgTarv::createDatabase(const std::string& informixPath) {
    const std::string name = lastElement(informixPath);
    // Tests running at the same time may want the same fixed names (comune, ditt001):
    // such tests take turns, one lock for all of them so that no two can each hold a
    // name the other waits for. Names from uniquePath() need no turn.
    if (name.rfind(user_ + "_", 0) != 0 && !holdsNameLock_) {
        lockSession_->execute("SELECT pg_advisory_lock(hashtext('zq_fixed_database_names'))");
        holdsNameLock_ = true;
    }
    server_.psql("postgres", "DROP DATABASE IF EXISTS " + name + " WITH (FORCE)");
    server_.psql("postgres", "CREATE DATABASE " + name + " OWNER " + user_ + " TEMPLATE template0 ENCODING 'UTF8'");
    databases_.push_back(name);
    server_.psqlFile(name, std::string(ZQ_FIXTURES_DIR) + "/informix_compat.sql");
}

void PgTarv::dropDatabase(const std::string& informixPath) {
    server_.psql("postgres", "DROP DATABASE IF EXISTS " + lastElement(informixPath) + " WITH (FORCE)");
}

std::string PgTarv::createAccount(const std::string& base, const std::string& password) {
    const std::string name = user_ + "_" + base;
    server_.psql("postgres", "CREATE ROLE " + name + " LOGIN PASSWORD " + quoted(password));
    otherAccounts_.push_back(name);
    for (const auto& db : databases_) server_.psql(db, "GRANT ALL ON ALL TABLES IN SCHEMA public TO " + name);
    return name;
}

void PgTarv::changePassword(const std::string& password) {
    server_.psql("postgres", "ALTER ROLE " + user_ + " PASSWORD " + quoted(password));
    password_ = password;
}

void PgTarv::execute(const std::string& informixPath, const std::string& sql) const {
    PgServer as = server_;
    as.user = user_;
    as.password = password_;
    as.psql(lastElement(informixPath), sql);
}

std::string PgTarv::providerString(const std::string& informixPath, const std::string& password) const {
    return "Provider=Ifxoledbc.2;Persist Security Info=False;host=" + host() + ";User ID=" + user_ +
           ";password=" + (password.empty() ? password_ : password) + ";Data Source=" + informixPath + "@" +
           serverName();
}

}  // namespace zq::test
