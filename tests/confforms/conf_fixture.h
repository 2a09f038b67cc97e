#pragma once
// What the configuration tests share: a demo installation, a session on scripted
// dialogs, links made straight with the archive's table definitions, and an archive
// that fails a chosen call.

#include "app/session.h"
#include "dataaccess/archive_db.h"
#include "demo_fixture.h"
#include "forwarding_archive.h"
#include "scripted_dialogs.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zq::test {

class ConfFixture {
public:
    ConfFixture();

    /// The archive database of the installation.
    std::unique_ptr<ArchiveDatabase> archive() const;
    /// The configuration file's bytes (empty when there is none).
    std::string configBytes() const;
    std::filesystem::path configFile() const;

    /// Makes table `source` (sys_record INTEGER, descr CHAR(20), one row per value of
    /// `rows`) in TARV database `dbPath`, creating the database when missing.
    void makeRemote(const std::string& dbPath, const std::string& source, const std::vector<int>& rows) const;
    /// Links `name` to `source` of `dbPath` with the demo's connect string; `key`
    /// declares sys_record as primary key (index "pk_" + name).
    void makeLink(const std::string& name, const std::string& dbPath, const std::string& source, bool key) const;
    /// makeRemote and a keyed makeLink: `name` linked to table "a" + name of company 001
    /// ("/usr/tarv/ditt001").
    void makeCompanyLink(const std::string& name, const std::vector<int>& rows = {1}) const;
    /// A local table (sys_record LONG) with one row.
    void makeLocal(const std::string& name) const;
    /// The definition of `name`, matched exactly.
    std::optional<TableDef> def(const std::string& name) const;
    /// Names of the archive's table definitions, in collection order.
    std::vector<std::string> names() const;

    DemoFixture fx;
    ScriptedDialogs dialogs;
    Session session;
};

/// The dialogs showed exactly one message, with this text, title and icon.
void expectOneMessage(const ScriptedDialogs& dialogs, const std::string& text, const std::string& title, Icon icon);

/// The archive database with the calls a test names failing.
class FailingArchive final : public ForwardingArchive {
public:
    using ForwardingArchive::ForwardingArchive;
    std::string failDelete;  ///< deleteTable of this name throws
    std::string failRename;  ///< renameTable from this name throws

    void renameTable(const std::string& o, const std::string& n) override;
    void deleteTable(const std::string& n) override;
};

}  // namespace zq::test
