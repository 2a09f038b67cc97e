#include "dup_fixture.h"
#include "tarv_queries.h"

#include "app/demo_installation.h"
#ifdef ZQ_DUP_ON_SERVER
#include "demo_on_server.h"
#include "pg_server.h"
#endif
#include "dataaccess/resolver.h"
#include "linking/archive_model.h"
#include "linking/link_list.h"
#include "linking/link_run.h"
#include "runtime/text.h"

namespace zq::test {
#ifdef ZQ_DUP_ON_SERVER
void DupTest::moveTarvToServer() {
    pg_ = std::make_unique<PgTarv>();
    moveDemoTarvToServer(dir_->path(), *pg_);
}
#endif

void DupTest::SetUp() {
    dir_ = std::make_unique<TempDir>("zq-dup");
    DemoInstallation::build(dir_->path());
#ifdef ZQ_DUP_ON_SERVER
    moveTarvToServer();
#endif
    session = std::make_unique<Session>(dialogs, dir_->path());
    session->OpenConn(nullptr);
    ASSERT_TRUE(session->CnnTarv);
    ASSERT_TRUE(session->CnnArch);
    lookups = std::make_unique<Lookups>(*session);
    lookups->LeggDocs();
}

void DupTest::TearDown() {
    if (session) {
        try {
            session->CloseConn();
        } catch (...) {
        }
    }
    session.reset();
#ifdef ZQ_DUP_ON_SERVER
    pg_.reset();
#endif
    dir_.reset();
}

void DupTest::linkArchive(const std::string& serial, const std::string& tipoAss, const std::string& tipoDoc,
                          const std::string& ditt, const std::string& year) {
    session->ConnDitt(ditt);
    ArchiveModel model;
    auto entries = LinkList::archives(*session, model, 0);
    const int i = LinkList::find(entries, serial);
    ASSERT_GE(i, 0) << serial;
    auto& e = entries[static_cast<std::size_t>(i)];
    e.selected = true;
    e.associationType = tipoAss;
    for (std::size_t k = 0; k < lookups->aDocs.size(); ++k)
        if (vbTrim(lookups->aDocs[k].TipoDoc) == tipoDoc) e.docTypeIndex = static_cast<int>(k);
    LinkRequest request{0, ditt, 0, year, true};
    dialogs.then(Answer::Yes);
    const auto result = LinkRun(*session, lookups->aDocs).cmdColl_Click(request, entries);
    ASSERT_EQ(result.linked, 1) << serial;
    dialogs.clear();
}

std::vector<std::vector<std::string>> DupTest::archiveRows(const std::string& sql) const {
    auto db = ArchiveDatabase::open(session->cfg.PathArch);
    auto out = trimmedRows(db->connection(), sql);
    db->close();
    return out;
}

std::vector<std::vector<std::string>> DupTest::tarvRows(const std::string& informixPath, const std::string& sql) const {
    auto cnn = openTarv(session->cfg, session->engines, informixPath);
    auto out = trimmedRows(*cnn, sql);
    cnn->close();
    return out;
}

std::optional<TableDef> DupTest::archiveDef(const std::string& name) const {
    auto db = ArchiveDatabase::open(session->cfg.PathArch);
    auto def = db->tableDef(name);
    db->close();
    return def;
}

void DupTest::execArchive(const std::string& sql) const {
    auto db = ArchiveDatabase::open(session->cfg.PathArch);
    db->execute(sql);
    db->close();
}

int DupTest::count(const std::string& fragment) const {
    int n = 0;
    for (const auto& t : dialogs.texts())
        if (t.find(fragment) != std::string::npos) ++n;
    return n;
}

}  // namespace zq::test
