#include "demo_fixture.h"

#include "app/config_file.h"
#include "app/demo_installation.h"
#include "dataaccess/embedded_engine.h"

#ifdef ZQ_DEMO_ON_SERVER
#include "dataaccess/connection.h"
#include "demo_on_server.h"
#include "pg_server.h"
#endif

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <memory>
#include <stdexcept>

namespace zq::test {
namespace {

struct Closer {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
using Db = std::unique_ptr<sqlite3, Closer>;

Db openRaw(const std::filesystem::path& file) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        throw std::runtime_error("cannot open " + file.string());
    }
    return Db(db);
}

std::string trimmed(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    while (!s.empty() && s.front() == ' ') s.erase(0, 1);
    return s;
}

}  // namespace

DemoFixture::DemoFixture() : dir_("zq-demo") {
    DemoInstallation::build(dir_.path());
#ifdef ZQ_DEMO_ON_SERVER
    pg_ = std::make_shared<PgTarv>();
    moveDemoTarvToServer(dir(), *pg_);
#endif
}

DemoFixture::~DemoFixture() = default;

EngineSettings DemoFixture::engines() const {
#ifdef ZQ_DEMO_ON_SERVER
    if (pg_) return pg_->settings();
#endif
    EngineSettings s;
    s.tarvEngine = EngineSettings::Tarv::Embedded;
    s.embeddedRoot = dir() / "tarv";
    return s;
}

void DemoFixture::rawExec(const std::string& informixPath, const std::string& sql) const {
#ifdef ZQ_DEMO_ON_SERVER
    if (pg_) return pg_->execute(informixPath, sql);
#endif
    auto db = openRaw(embeddedDatabaseFile(engines(), informixPath));
    char* err = nullptr;
    if (sqlite3_exec(db.get(), sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
        const std::string what = err ? err : "?";
        sqlite3_free(err);
        throw std::runtime_error(sql + ": " + what);
    }
}

std::optional<std::string> DemoFixture::tarvValue(const std::string& informixPath, const std::string& sql) const {
#ifdef ZQ_DEMO_ON_SERVER
    if (pg_) {
        auto cnn = openConnection(pg_->providerString(informixPath), engines());
        auto rs = cnn->openRecordset(sql, CursorType::Static, LockType::ReadOnly);
        std::optional<std::string> value;
        if (!rs->eof() && !rs->field(0).isNullish()) value = rs->field(0).toText();
        rs->close();
        cnn->close();
        return value;
    }
#endif
    auto db = openRaw(embeddedDatabaseFile(engines(), informixPath));
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db.get(), sql.c_str(), -1, &st, nullptr) != SQLITE_OK)
        throw std::runtime_error(sql + ": " + sqlite3_errmsg(db.get()));
    std::optional<std::string> out;
    if (sqlite3_step(st) == SQLITE_ROW && sqlite3_column_type(st, 0) != SQLITE_NULL)
        out = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
    sqlite3_finalize(st);
    return out;
}

std::optional<std::string> DemoFixture::porta(const std::string& user) const {
    std::string quoted;
    for (char c : user) quoted += c == '\'' ? std::string("''") : std::string(1, c);
    auto v = tarvValue("/usr/tarv/comune", "SELECT porta FROM utenti WHERE trim(nome) = '" + quoted + "'");
    if (v) *v = trimmed(*v);
    return v;
}

Config DemoFixture::config() const {
#ifdef ZQ_DEMO_ON_SERVER
    if (pg_) return demoConfigOnServer(dir(), *pg_);
#endif
    return DemoInstallation::config(dir());
}

void DemoFixture::changeLoginPassword(const std::string& password) {
#ifdef ZQ_DEMO_ON_SERVER
    if (pg_) return pg_->changePassword(password);
#endif
    createEmbeddedAccount(engines(), loginUser(), password);
}

std::string DemoFixture::addAccount(const std::string& name, const std::string& password) {
#ifdef ZQ_DEMO_ON_SERVER
    if (pg_) return pg_->createAccount(name, password);
#endif
    createEmbeddedAccount(engines(), name, password);
    return name;
}

void DemoFixture::dropTarvDatabase(const std::string& informixPath) {
#ifdef ZQ_DEMO_ON_SERVER
    if (pg_) return pg_->dropDatabase(informixPath);
#endif
    std::filesystem::remove(embeddedDatabaseFile(engines(), informixPath));
}

void DemoFixture::writeConfig(const Config& c) const { ConfigFile::write(ConfigFile::pathIn(dir()), c); }

}  // namespace zq::test
