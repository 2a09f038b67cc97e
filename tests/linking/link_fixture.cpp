#include "link_fixture.h"
#include "tarv_queries.h"

#include "app/demo_installation.h"
#include "common/error.h"
#include "common/textroutines.h"
#include "dataaccess/resolver.h"
#include "demo_on_server.h"
#include "pg_server.h"
#include "linking/link_list.h"
#include "lookups/picker.h"
#include "runtime/text.h"

namespace zq::test {
namespace {


}  // namespace

std::string PrintToString(TarvKind k) { return k == TarvKind::Embedded ? "embedded" : "odbc"; }

long RecordingConnection::execute(const std::string& sql) {
    statements.push_back(sql);
    maybeFail(sql);
    return inner_->execute(sql);
}

long RecordingConnection::execute(const std::string& sql, const std::vector<Value>& params) {
    statements.push_back(sql);
    maybeFail(sql);
    return inner_->execute(sql, params);
}

RecordsetPtr RecordingConnection::openRecordset(const std::string& sql, CursorType c, LockType l) {
    statements.push_back(sql);
    maybeFail(sql);
    return inner_->openRecordset(sql, c, l);
}

RecordsetPtr RecordingConnection::openRecordset(const std::string& sql, CursorType c, LockType l,
                                                const std::vector<Value>& params) {
    statements.push_back(sql);
    maybeFail(sql);
    return inner_->openRecordset(sql, c, l, params);
}

void RecordingConnection::maybeFail(const std::string& sql) {
    if (log_->before) log_->before(sql);
    if (log_->failTimes <= 0 || sql.rfind(log_->failPrefix, 0) != 0) return;
    --log_->failTimes;
    throw Error(kErrProviderFailure, "statement refused by the test", "test");
}

void FailingArchive::renameTable(const std::string& o, const std::string& n) {
    if (++renames == failRenameNumber) throw Error(3033, "rename refused by the test", "test");
    ForwardingArchive::renameTable(o, n);
}

void FailingArchive::createLink(const std::string& n, const std::string& c, const std::string& s) {
    if (failCreateLink) throw Error(3011, "link refused by the test", "test");
    ForwardingArchive::createLink(n, c, s);
}

void LinkTest::moveTarvToServer() {
    if (ownServer) ownServer_ = std::make_unique<PrivatePgServer>();
    pg_ = ownServer ? std::make_unique<PgTarv>(ownServer_->server()) : std::make_unique<PgTarv>();
    moveDemoTarvToServer(dir_->path(), *pg_);
}

void LinkTest::SetUp() {
    dir_ = std::make_unique<TempDir>("zq-link");
    DemoInstallation::build(dir_->path());
    if (GetParam() == TarvKind::Odbc) moveTarvToServer();
    engines = EngineSettings::load(dir_->path());
    session = std::make_unique<Session>(dialogs, dir_->path());
    session->OpenConn(nullptr);
    ASSERT_TRUE(session->CnnTarv);
    ASSERT_TRUE(session->CnnArch);
    lookups = std::make_unique<Lookups>(*session);
    lookups->LeggDocs();
    ASSERT_FALSE(lookups->aDocs.empty());
}

void LinkTest::TearDown() {
    if (session) {
        try {
            session->CloseConn();
        } catch (...) {
        }
    }
    session.reset();
    pg_.reset();
    ownServer_.reset();
    dir_.reset();
}

void LinkTest::pickCompany(const std::string& code) { session->ConnDitt(code); }

std::vector<ArchRow> LinkTest::archiveList() { return LinkList::archives(*session, model, 0); }

int LinkTest::docIndex(const std::string& tipoDoc) const {
    for (std::size_t i = 0; i < lookups->aDocs.size(); ++i)
        if (vbTrim(lookups->aDocs[i].TipoDoc) == tipoDoc) return static_cast<int>(i);
    return -1;
}

ArchRow LinkTest::entry(const std::string& serial, const std::string& tipoAss, const std::string& tipoDoc) {
    const auto list = archiveList();
    const int i = LinkList::find(list, serial);
    EXPECT_GE(i, 0) << serial;
    ArchRow e = i >= 0 ? list[static_cast<std::size_t>(i)] : ArchRow{};
    e.selected = true;
    e.associationType = tipoAss;
    e.docTypeIndex = tipoDoc.empty() ? -1 : docIndex(tipoDoc);
    return e;
}

ConnectionPtr LinkTest::tarv(const std::string& informixPath) const {
    return openTarv(session->cfg, engines, informixPath);
}

std::vector<std::vector<std::string>> LinkTest::rows(const std::string& informixPath, const std::string& sql) const {
    auto cnn = tarv(informixPath);
    auto out = trimmedRows(*cnn, sql);
    cnn->close();
    return out;
}

bool LinkTest::tarvTableExists(const std::string& informixPath, const std::string& table) const {
    return !rows(informixPath, "SELECT tabname FROM systables WHERE tabname = " + sqlText(table)).empty();
}

std::vector<std::string> LinkTest::tarvIndexes(const std::string& informixPath, const std::string& table) const {
    std::vector<std::string> out;
    for (const auto& r : rows(informixPath, "SELECT sysindexes.idxname FROM sysindexes, systables"
                                            " WHERE sysindexes.tabid = systables.tabid AND systables.tabname = " +
                                                sqlText(table) + " ORDER BY 1"))
        out.push_back(r.at(0));
    return out;
}

std::vector<std::pair<std::string, std::string>> LinkTest::tarvColumns(const std::string& informixPath,
                                                                       const std::string& table) const {
    auto cnn = tarv(informixPath);
    auto rs = cnn->openRecordset("SELECT * FROM " + table, CursorType::Static, LockType::ReadOnly);
    std::vector<std::pair<std::string, std::string>> out;
    for (int f = 0; f < rs->fieldCount(); ++f) out.emplace_back(vbLCase(rs->fieldName(f)), vbUCase(rs->fieldTypeName(f)));
    rs->close();
    return out;
}

std::vector<TableDef> LinkTest::archiveDefs() const {
    auto db = ArchiveDatabase::open(session->cfg.PathArch);
    auto defs = db->tableDefs();
    db->close();
    return defs;
}

std::optional<TableDef> LinkTest::archiveDef(const std::string& name) const {
    auto db = ArchiveDatabase::open(session->cfg.PathArch);
    auto def = db->tableDef(name);
    db->close();
    return def;
}

long LinkTest::archiveCount(const std::string& table) const {
    auto db = ArchiveDatabase::open(session->cfg.PathArch);
    auto rs = db->connection().openRecordset("SELECT COUNT(*) FROM [" + table + "]", CursorType::Static, LockType::ReadOnly);
    const long n = static_cast<long>(rs->field(0).toInteger());
    rs->close();
    db->close();
    return n;
}

void LinkTest::addArchiveTable(const TableDef& def) const {
    auto db = ArchiveDatabase::open(session->cfg.PathArch);
    db->createTable(def);
    db->close();
}

FieldDef LinkTest::text(const std::string& name, long size) {
    FieldDef f;
    f.name = name;
    f.type = dbText;
    f.size = size;
    return f;
}

IndexDef LinkTest::index(const std::string& name, std::vector<std::string> fields, bool primary) {
    IndexDef i;
    i.name = name;
    i.primary = primary;
    i.unique = primary;
    i.fields = std::move(fields);
    return i;
}

RecordingConnection& LinkTest::recordTarv() {
    auto rec = std::make_unique<RecordingConnection>(std::move(session->CnnTarv));
    auto& ref = *rec;
    session->CnnTarv = std::move(rec);
    return ref;
}

RecordingConnection::Log& LinkTest::recordDitt() {
    dittLog_ = std::make_shared<RecordingConnection::Log>();
    return *dittLog_;
}

std::function<CompanyDb(const std::string&)> LinkTest::companyOpener() {
    return [this](const std::string& code) {
        CompanyDb d = session->OpenDitt(code);
        if (dittLog_) d.cnn = std::make_unique<RecordingConnection>(std::move(d.cnn), dittLog_);
        return d;
    };
}

}  // namespace zq::test
