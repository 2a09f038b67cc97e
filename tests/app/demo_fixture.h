#pragma once
// A fresh demo installation per test, and direct access to its TARV databases for
// arranging a case and checking the result behind the program's back.

#include "app/session.h"
#include "temp_dir.h"

#include <optional>
#include <string>

namespace zq::test {

class DemoFixture {
public:
    DemoFixture();

    const std::filesystem::path& dir() const { return dir_.path(); }
    /// The engines of the installation (embedded, root dir/tarv).
    EngineSettings engines() const;

    /// Runs statements straight on the SQLite file of an Informix database path.
    void rawExec(const std::string& informixPath, const std::string& sql) const;
    /// utenti.porta of a user, trimmed; nothing for Null or for no row.
    std::optional<std::string> porta(const std::string& user) const;
    /// The first column of the first row of a query on a TARV database, as text;
    /// nothing when there is no row or the value is Null.
    std::optional<std::string> tarvValue(const std::string& informixPath, const std::string& sql) const;

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
};

}  // namespace zq::test
