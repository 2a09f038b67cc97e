#include "conf_fixture.h"

#include "app/config_file.h"
#include "common/error.h"
#include "dataaccess/embedded_engine.h"
#include "linking/archive_model.h"
#include "process_run.h"

namespace zq::test {

ConfFixture::ConfFixture() : session(dialogs, fx.dir()) {
    session.cfg = fx.config();
    setInstallation(fx.engines());
}

std::unique_ptr<ArchiveDatabase> ConfFixture::archive() const { return ArchiveDatabase::open(fx.config().PathArch); }

std::filesystem::path ConfFixture::configFile() const { return ConfigFile::pathIn(fx.dir()); }

std::string ConfFixture::configBytes() const { return readFile(configFile()); }

void ConfFixture::makeRemote(const std::string& dbPath, const std::string& source, const std::vector<int>& rows) const {
    createEmbeddedDatabase(fx.engines(), dbPath);
    fx.rawExec(dbPath, "CREATE TABLE " + source + " (sys_record INTEGER, descr CHAR(20))");
    for (int r : rows)
        fx.rawExec(dbPath, "INSERT INTO " + source + " VALUES (" + std::to_string(r) + ", 'riga " + std::to_string(r) + "')");
}

void ConfFixture::makeLink(const std::string& name, const std::string& dbPath, const std::string& source, bool key) const {
    auto db = archive();
    db->createLink(name, ArchiveModel::linkConnectString(fx.config(), dbPath), source);
    if (key) db->execute("ALTER TABLE " + name + " ADD CONSTRAINT pk_" + name + " PRIMARY KEY (sys_record)");
    db->close();
}

void ConfFixture::makeCompanyLink(const std::string& name, const std::vector<int>& rows) const {
    makeRemote("/usr/tarv/ditt001", "a" + name, rows);
    makeLink(name, "/usr/tarv/ditt001", "a" + name, true);
}

void ConfFixture::makeLocal(const std::string& name) const {
    auto db = archive();
    TableDef td;
    td.name = name;
    FieldDef f;
    f.name = "sys_record";
    f.type = dbLong;
    f.size = 4;
    td.fields.push_back(f);
    db->createTable(td);
    db->execute("INSERT INTO " + name + " (sys_record) VALUES (7)");
    db->close();
}

std::optional<TableDef> ConfFixture::def(const std::string& name) const {
    auto db = archive();
    for (const TableDef& td : db->tableDefs())
        if (td.name == name) return td;
    return std::nullopt;
}

std::vector<std::string> ConfFixture::names() const {
    std::vector<std::string> out;
    auto db = archive();
    for (const TableDef& td : db->tableDefs()) out.push_back(td.name);
    return out;
}

void expectOneMessage(const ScriptedDialogs& dialogs, const std::string& text, const std::string& title, Icon icon) {
    ASSERT_EQ(dialogs.messages().size(), 1u) << (dialogs.messages().empty() ? "" : dialogs.messages()[0].text);
    EXPECT_EQ(dialogs.messages()[0].text, text);
    EXPECT_EQ(dialogs.messages()[0].title, title);
    EXPECT_EQ(dialogs.messages()[0].icon, icon);
}

void FailingArchive::renameTable(const std::string& o, const std::string& n) {
    if (!failRename.empty() && o == failRename) throw Error(3011, "rename refused by the test", "test");
    ForwardingArchive::renameTable(o, n);
}

void FailingArchive::deleteTable(const std::string& n) {
    if (!failDelete.empty() && n == failDelete) throw Error(3011, "delete refused by the test", "test");
    ForwardingArchive::deleteTable(n);
}

}  // namespace zq::test
