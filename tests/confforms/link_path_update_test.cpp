// The link path update on demo installations: which links are taken, what they become,
// the order of configuration, login and links, the recovery dialogue, and a move of the
// TARV databases to another path read through the moved links.

#include "config/conf/link_path_update.h"

#include "app/config_file.h"
#include "app/demo_installation.h"
#include "common/error.h"
#include "conf_fixture.h"
#include "dataaccess/embedded_engine.h"
#include "linking/archive_model.h"
#include "runtime/text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <filesystem>
#include <fstream>

namespace zq {
namespace {

using test::ConfFixture;
using test::FailingArchive;
using test::lines;

const char* const kCaption = "Aggiornamento Percorso";
const char* const kDitt001 = "/usr/tarv/ditt001";
const char* const kSuccess = "Aggiornamento percorso tabelle effettuato con successo.";

class LinkPathUpdateTest : public ::testing::Test, protected ConfFixture {
protected:
    LinkPathUpdate::NewValues unchanged() const {
        const Config c = fx.config();
        return {c.PathTarv, c.Utente, c.Password, c.Password, c.Host, c.Server};
    }
    std::string connectTo(const std::string& db, const Config& c) const {
        return ArchiveModel::linkConnectString(c, db);
    }
    long rows(const std::string& table) const {
        auto db = archive();
        auto rs = db->connection().openRecordset("SELECT count(*) AS n FROM " + table, CursorType::ForwardOnly,
                                                 LockType::ReadOnly);
        const long n = std::stol(rs->field(0).toText());
        rs->close();
        return n;
    }
    // Activates an update and confirms `v`; the update stays in `u` for the checks.
    LinkPathUpdate::Outcome update(const LinkPathUpdate::NewValues& v, LinkPathUpdate::Opener open = {}) {
        u.emplace(session, progress, std::move(open));
        EXPECT_TRUE(u->activate());
        return u->cmdConf_Click(v);
    }
    NoProgress progress;
    std::optional<LinkPathUpdate> u;
};

const LinkPathUpdate::NewValues kNewPassword{"/usr/tarv/", "tarv", "Nuova2025", "Nuova2025", "server", "linux_se"};

TEST(LinkPathUpdateRules, CompanyCodeOfAConnectString) {
    const struct {
        const char* connect;
        const char* code;
    } cases[] = {
        {"ODBC;DRIVER={INFORMIX-CLI 2.5 (32 bit)};PRO=sesoctcp;SRVR=s;SERV=sqlexec;HOST=h;DATABASE=/usr/tarv/ditt001;DSN=Default", "001"},
        {"ODBC;HOST=h;DATABASE=/u2/tarv/ditt003;DSN=Default;userid=u", "003"},
        {"ODBC;DATABASE=/usr/tarv/ditt000;DSN=Default", "000"},
        {"ODBC;DATABASE=/usr/tarv/dittA12;", "A12"},
        {"ODBC;DATABASE=/usr/tarv/comune;DSN=Default", ""},   // no "ditt"
        {"ODBC;DSN=Default;DATABASE=/usr/tarv/ditt001", "001"},  // the last value
        {"ODBC;HOST=dittaserver;DATABASE={/srv/a;b/ditt004};DSN=Default", "004"},
        {"ODBC;DATABASE=/usr/tarv/DITT001;DSN=Default", ""},  // "ditt" is matched as written
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.connect);
        EXPECT_EQ(LinkPathUpdate::companyCode(c.connect), c.code);
    }
}

TEST(LinkPathUpdateRules, SourceTableOfALinkName) {
    const struct {
        const char* name;
        const char* source;
    } cases[] = {
        {"2401151030001a2b", "a2401151030001a2b"},
        {"2401151030001A2B", "a2401151030001a2b"},
        {"2401151030001a2b_coll", "a2401151030001a2b"},
        {"2401151030001a2b_COLL", "a2401151030001a2b"},
        {"2401151030001a2b_COL", "a2401151030001a2b"},
        {"x_collx", "ax_collx"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(LinkPathUpdate::sourceOf(c.name), c.source);
    }
}

TEST(LinkPathUpdateRules, PrimaryKeyStatementInLowerCaseFields) {
    TableDef td;
    td.name = "2401151030001a2b";
    IndexDef other;
    other.name = "idx_anno";
    other.fields = {"Anno"};
    IndexDef pk;
    pk.name = "PrimaryKey";
    pk.primary = true;
    pk.fields = {"Sys_Record", "ANNO"};
    td.indexes = {other, pk};
    EXPECT_EQ(LinkPathUpdate::keyStatement(td),
              "ALTER TABLE 2401151030001a2b ADD CONSTRAINT PrimaryKey PRIMARY KEY (sys_record,anno)");
    td.indexes = {other};
    EXPECT_EQ(LinkPathUpdate::keyStatement(td), "");
    td.name = "a b";
    td.indexes = {pk};
    EXPECT_EQ(LinkPathUpdate::keyStatement(td), "ALTER TABLE [a b] ADD CONSTRAINT PrimaryKey PRIMARY KEY (sys_record,anno)");
}

TEST_F(LinkPathUpdateTest, WithoutConfigurationFileActivationStops) {
    std::filesystem::remove(configFile());
    EXPECT_FALSE(LinkPathUpdate(session, progress).activate());
    test::expectOneMessage(dialogs, "ATTENZIONE! Manca il file di configurazione.", kCaption, Icon::Exclamation);
}

TEST_F(LinkPathUpdateTest, ActivationReadsAShortFileOverTheValuesInMemory) {
    Config c = fx.config();
    std::string text;
    for (const std::string* v : ConfigFile::fields(c)) {
        text += *v + "\r\n";
        if (v == &c.Server) break;
    }
    std::filesystem::remove(configFile());
    { std::ofstream(configFile(), std::ios::binary) << text; }
    session.cfg.RootOld = "D:\\ARCHIVI\\";
    session.cfg.PathTarv = "/altro/";
    ASSERT_TRUE(LinkPathUpdate(session, progress).activate());
    EXPECT_EQ(session.cfg.PathTarv, "/usr/tarv/");
    EXPECT_EQ(session.cfg.RootOld, "D:\\ARCHIVI\\");  // line 9 absent: kept
}

TEST_F(LinkPathUpdateTest, RefusalsChangeNothing) {
    makeCompanyLink("lnk1");
    const std::string before = configBytes();
    const char* const noConnection = "Errore nella connessione. Ricontrollare i parametri.";
    const struct {
        const char* name;
        LinkPathUpdate::NewValues v;
        const char* text;
        Icon icon;
    } cases[] = {
        {"trailing blank", {"/usr/tarv/", "tarv", "Quirnova24", "Quirnova24 ", "server", "linux_se"},
         "Le password inserite non coincidono!", Icon::Exclamation},
        {"wrong password", {"/usr/tarv/", "tarv", "sbagliata", "sbagliata", "server", "linux_se"}, noConnection,
         Icon::Exclamation},
        {"path without slash", {"/usr/tarv", "tarv", "Quirnova24", "Quirnova24", "server", "linux_se"},
         "Percorso archivi errato. \r\nDeve terminare con '/'.", Icon::Information},
        {"missing databases", {"/srv/tarv/", "tarv", "Quirnova24", "Quirnova24", "server", "linux_se"}, noConnection,
         Icon::Exclamation},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dialogs.clear();
        EXPECT_EQ(update(c.v), LinkPathUpdate::Outcome::Refused);
        test::expectOneMessage(dialogs, c.text, kCaption, c.icon);
        EXPECT_EQ(configBytes(), before);
        EXPECT_FALSE(u->confirmed());
        EXPECT_EQ(fx.porta("tarv"), "");  // nobody logged in
    }
    EXPECT_EQ(def("lnk1")->connect, connectTo(kDitt001, fx.config()));
}

// Confirming the values as they are rewrites every company link with the same target:
// each is made anew, so it moves to the end of the collection. Local tables, "_old"
// tables, links to company 000 and links without a company code stay where they were.
TEST_F(LinkPathUpdateTest, UnchangedValuesRewriteEveryCompanyLink) {
    makeRemote(kDitt001, "alnk1", {1, 2, 3});
    makeRemote(kDitt001, "alnk2", {4});
    makeRemote("/usr/tarv/ditt000", "alnk0", {5});
    makeRemote("/u2/tarv/ditt003", "alnk3", {6, 7});
    makeLink("lnk1", kDitt001, "alnk1", true);
    makeLink("lnk0", "/usr/tarv/ditt000", "alnk0", true);
    makeLink("lnk2", kDitt001, "alnk2", false);
    makeLink("utlink", "/usr/tarv/comune", "utenti", false);
    makeLink("lnk9_old", kDitt001, "alnk1", false);
    makeLink("lnk3_coll", "/u2/tarv/ditt003", "alnk3", true);
    makeLocal("locale");
    const std::string oldCfg = configBytes();
    const auto before = names();
    const TableDef lnk0 = *def("lnk0");

    dialogs.then(Answer::Ok).then(Answer::Yes);  // the missing key, then the list
    ASSERT_EQ(update(unchanged()), LinkPathUpdate::Outcome::Done);
    EXPECT_TRUE(u->confirmed());

    // The records of the first pass.
    ASSERT_EQ(u->records().size(), 3u);
    EXPECT_EQ(u->records()[0].Nome, "lnk1");
    EXPECT_EQ(u->records()[0].Sorgente, "alnk1");
    EXPECT_EQ(u->records()[0].Chiave, "ALTER TABLE lnk1 ADD CONSTRAINT pk_lnk1 PRIMARY KEY (sys_record)");
    EXPECT_EQ(u->records()[1].Nome, "lnk2");
    EXPECT_EQ(u->records()[1].Chiave, "");
    EXPECT_EQ(u->records()[2].Nome, "lnk3_coll");
    EXPECT_EQ(u->records()[2].Sorgente, "alnk3");
    EXPECT_EQ(u->records()[2].Connect, connectTo("/u2/tarv/ditt003", fx.config()));

    // Messages: the missing key, the one question, the link without company, the end.
    const auto& m = dialogs.messages();
    ASSERT_EQ(m.size(), 4u);
    EXPECT_EQ(m[0].text, lines({"ATTENZIONE! Non ho trovato l'indice primario", "della tabella da aggiornare (lnk2)."}));
    EXPECT_EQ(m[0].icon, Icon::Exclamation);
    EXPECT_EQ(m[1].buttons, Buttons::YesNo);
    EXPECT_EQ(m[1].icon, Icon::Question);
    EXPECT_NE(m[1].text.find("Collegamenti da aggiornare: 3."), std::string::npos) << m[1].text;
    EXPECT_NE(m[1].text.find("lnk0: collegamento a tutte le ditte (000)"), std::string::npos) << m[1].text;
    EXPECT_NE(m[1].text.find("utlink: codice ditta non trovato"), std::string::npos) << m[1].text;
    EXPECT_NE(m[1].text.find("lnk9_old: tabella _old"), std::string::npos) << m[1].text;
    EXPECT_NE(m[2].text.find("utlink"), std::string::npos);
    EXPECT_EQ(m[2].icon, Icon::Exclamation);
    EXPECT_EQ(m[3].text, kSuccess);
    EXPECT_EQ(m[3].icon, Icon::Information);
    EXPECT_EQ(m[3].title, kCaption);

    // Untouched tables keep their places; rewritten links come last, in list order.
    std::vector<std::string> expected;
    for (const auto& n : before)
        if (n != "lnk1" && n != "lnk2" && n != "lnk3_coll") expected.push_back(n);
    expected.insert(expected.end(), {"lnk1", "lnk2", "lnk3_coll"});
    EXPECT_EQ(names(), expected);
    EXPECT_EQ(def("lnk0")->connect, lnk0.connect);
    EXPECT_EQ(def("lnk1")->connect, connectTo(kDitt001, fx.config()));
    EXPECT_EQ(def("lnk1")->linkKey, std::vector<std::string>{"sys_record"});
    EXPECT_TRUE(def("lnk2")->linkKey.empty());
    EXPECT_EQ(def("lnk3_coll")->sourceTableName, "alnk3");
    EXPECT_EQ(rows("lnk1"), 3);
    EXPECT_EQ(rows("lnk3_coll"), 2);
    EXPECT_FALSE(def("lnk1_old"));
    EXPECT_TRUE(def("lnk9_old"));
    EXPECT_TRUE(def("locale"));
    EXPECT_EQ(rows("locale"), 1);

    // The same values written again, and the user logged in with them.
    EXPECT_EQ(configBytes(), oldCfg);
    EXPECT_EQ(fx.porta("tarv"), "WIN");
    ASSERT_NE(session.CnnArch, nullptr);
    EXPECT_NE(session.CnnArch->state(), 0);
}

TEST_F(LinkPathUpdateTest, NewValuesReachEveryLinkAndTheFileBeforeAnyLinkIsTouched) {
    makeCompanyLink("lnk1", {1, 2});
    createEmbeddedAccount(fx.engines(), "tarv", "Nuova2025");
    bool checked = false;
    const auto open = [&](const std::string& path) {
        // Opened for the links: the file and the login already carry the new values.
        Config onDisk;
        ConfigFile::readStartup(configFile(), onDisk);
        EXPECT_EQ(onDisk.Password, "Nuova2025");
        EXPECT_EQ(onDisk.Host, "srv-nuovo");
        EXPECT_EQ(onDisk.Server, "orvo_se");
        EXPECT_EQ(onDisk.GrpParm2, fx.config().GrpParm2);
        EXPECT_EQ(fx.porta("tarv"), "WIN");
        EXPECT_EQ(session.CnnArch, nullptr);  // closed while the file changes
        EXPECT_EQ(def("lnk1")->connect, connectTo(kDitt001, fx.config()));
        checked = true;
        return ArchiveDatabase::open(path);
    };
    dialogs.then(Answer::Yes);
    ASSERT_EQ(update({"/usr/tarv/", "tarv", "Nuova2025", "Nuova2025", "srv-nuovo", "orvo_se"}, open),
              LinkPathUpdate::Outcome::Done);
    EXPECT_TRUE(checked);
    Config expected = fx.config();
    expected.Password = "Nuova2025";
    expected.Host = "srv-nuovo";
    expected.Server = "orvo_se";
    EXPECT_EQ(def("lnk1")->connect, connectTo(kDitt001, expected));
    EXPECT_NE(def("lnk1")->connect.find("password=Nuova2025"), std::string::npos);
    EXPECT_EQ(rows("lnk1"), 2);
}

TEST_F(LinkPathUpdateTest, ALaterFailureKeepsTheNewConfiguration) {
    makeCompanyLink("lnk1");
    createEmbeddedAccount(fx.engines(), "tarv", "Nuova2025");
    dialogs.then(Answer::Ignore);  // the error report of the failed open
    EXPECT_EQ(update(kNewPassword,
                     [](const std::string&) -> std::unique_ptr<ArchiveDatabase> {
                         throw Error(3044, "archivio non raggiungibile", "test");
                     }),
              LinkPathUpdate::Outcome::Stopped);
    EXPECT_FALSE(u->confirmed());
    Config onDisk;
    ConfigFile::readStartup(configFile(), onDisk);
    EXPECT_EQ(onDisk.Password, "Nuova2025");
    EXPECT_EQ(def("lnk1")->connect, connectTo(kDitt001, fx.config()));
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].buttons, Buttons::AbortRetryIgnore);
    EXPECT_NE(session.CnnArch, nullptr);  // reopened
}

TEST_F(LinkPathUpdateTest, NoToTheListTouchesNoLink) {
    makeCompanyLink("lnk1");
    const auto before = names();
    dialogs.then(Answer::No);
    EXPECT_EQ(update(unchanged()), LinkPathUpdate::Outcome::Declined);
    EXPECT_FALSE(u->confirmed());
    EXPECT_EQ(names(), before);
    EXPECT_EQ(dialogs.messages().size(), 1u);
    EXPECT_FALSE(dialogs.saw(kSuccess));
}

TEST_F(LinkPathUpdateTest, LeftoverOldTableIsDeletedFirst) {
    makeCompanyLink("lnk1");
    makeLocal("lnk1_old");
    dialogs.then(Answer::Yes);
    ASSERT_EQ(update(unchanged()), LinkPathUpdate::Outcome::Done);
    EXPECT_FALSE(def("lnk1_old"));
    EXPECT_EQ(def("lnk1")->sourceTableName, "alnk1");
    EXPECT_EQ(u->records().size(), 1u);
}

// The new link cannot be made (its TARV table is gone): the recovery dialogue decides
// what takes the name.
TEST_F(LinkPathUpdateTest, RecoveryWhenTheNewLinkCannotBeMade) {
    const struct {
        const char* name;
        bool sav;
        std::vector<Answer> answers;
        const char* result;  // "link", "local", "none"
    } cases[] = {
        {"No keeps the old link", true, {Answer::No}, "link"},
        {"Yes restores the _sav table", true, {Answer::Yes}, "local"},
        {"Yes, no _sav, Yes deletes", false, {Answer::Yes, Answer::Yes}, "none"},
        {"Yes, no _sav, No keeps", false, {Answer::Yes, Answer::No}, "link"},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string name = "rec" + std::to_string(++n);
        makeCompanyLink(name);
        if (c.sav) makeLocal(name + "_sav");
        fx.rawExec(kDitt001, "DROP TABLE a" + name);
        const std::string oldConnect = def(name)->connect;

        dialogs.clear();
        dialogs.then(Answer::Yes);  // the list
        for (Answer a : c.answers) dialogs.then(a);
        EXPECT_EQ(update(unchanged()), LinkPathUpdate::Outcome::Incomplete);
        EXPECT_EQ(dialogs.pendingAnswers(), 0u);

        const auto& m = dialogs.messages();
        ASSERT_GE(m.size(), 3u);
        EXPECT_EQ(m[1].text, lines({"Errore nel collegamento della tabella ", name, "Vuoi cancellare il collegamento?"}));
        EXPECT_EQ(m[1].buttons, Buttons::YesNo);
        EXPECT_EQ(m[1].icon, Icon::Question);
        if (c.answers[0] == Answer::No) {
            EXPECT_EQ(m[2].text, "Recupera la tabella _old");
            EXPECT_EQ(m[2].icon, Icon::Information);
        }
        if (!c.sav) {
            EXPECT_EQ(m[2].text, lines({"Attenzione!!!", "Manca la tabella dalla quale ripristinare",
                                        "il collegamento (SAV).", "Vuoi cancellare ugualmente il collegamento?"}));
        }
        // Whatever the answers, a link that was not made again is no success.
        EXPECT_FALSE(dialogs.saw(kSuccess));
        EXPECT_EQ(m.back().icon, Icon::Exclamation);
        EXPECT_NE(m.back().text.find("non completato"), std::string::npos) << m.back().text;
        EXPECT_NE(m.back().text.find(name + ": "), std::string::npos) << m.back().text;

        EXPECT_FALSE(def(name + "_old"));
        const auto now = def(name);
        if (std::string(c.result) == "link") {
            ASSERT_TRUE(now);
            EXPECT_EQ(now->connect, oldConnect);
        } else if (std::string(c.result) == "local") {
            ASSERT_TRUE(now);
            EXPECT_TRUE(now->connect.empty());
            EXPECT_EQ(rows(name), 1);
            EXPECT_FALSE(def(name + "_sav"));
        } else {
            EXPECT_FALSE(now);
        }
        // Leave nothing for the next case's run.
        auto db = archive();
        if (db->hasTable(name)) db->deleteTable(name);
        db->close();
    }
}

TEST_F(LinkPathUpdateTest, KeyThatCannotBeDeclaredIsReportedAndTheRunGoesOn) {
    makeCompanyLink("lnk1");
    makeCompanyLink("lnk2", {2});
    // The TARV table lost the key column since it was linked.
    fx.rawExec(kDitt001, "DROP TABLE alnk1");
    fx.rawExec(kDitt001, "CREATE TABLE alnk1 (numero INTEGER, descr CHAR(20))");
    dialogs.then(Answer::Yes).then(Answer::Ignore);
    ASSERT_EQ(update(unchanged()), LinkPathUpdate::Outcome::Done);
    const auto& m = dialogs.messages();
    ASSERT_EQ(m.size(), 3u);
    EXPECT_EQ(m[1].buttons, Buttons::AbortRetryIgnore);
    EXPECT_NE(m[1].text.find("frmAggP"), std::string::npos) << m[1].text;
    EXPECT_NE(m[1].text.find("ALTER TABLE lnk1 ADD CONSTRAINT pk_lnk1 PRIMARY KEY (sys_record)"), std::string::npos)
        << m[1].text;
    EXPECT_EQ(m[2].text, kSuccess);
    EXPECT_TRUE(def("lnk1")->linkKey.empty());
    EXPECT_EQ(def("lnk2")->linkKey, std::vector<std::string>{"sys_record"});
}

// A failure half-way through one link's steps leaves the old link, never none; the
// update ends there and the links done before keep their new values.
TEST_F(LinkPathUpdateTest, FailureInsideOneLinkLeavesTheOldLink) {
    makeCompanyLink("lnk1");
    makeCompanyLink("lnk2", {2});
    createEmbeddedAccount(fx.engines(), "tarv", "Nuova2025");
    dialogs.then(Answer::Yes);
    EXPECT_EQ(update(kNewPassword,
                     [](const std::string& path) -> std::unique_ptr<ArchiveDatabase> {
                         auto db = std::make_unique<FailingArchive>(ArchiveDatabase::open(path));
                         db->failDelete = "lnk2_old";  // after its new link was made
                         return db;
                     }),
              LinkPathUpdate::Outcome::Stopped);
    EXPECT_EQ(dialogs.messages().back().text, "Errore nella connessione. Ricontrollare i parametri.");
    EXPECT_NE(def("lnk1")->connect.find("password=Nuova2025"), std::string::npos);
    EXPECT_NE(def("lnk2")->connect.find("password=Quirnova24"), std::string::npos);
    EXPECT_FALSE(def("lnk2_old"));
    EXPECT_EQ(def("lnk2")->linkKey, std::vector<std::string>{"sys_record"});
    EXPECT_FALSE(u->confirmed());
}

// End to end: two archives of the demo linked to two companies, the TARV databases
// moved from /usr/tarv/ to /srv/tarv/, the links updated and read through.
TEST_F(LinkPathUpdateTest, MovedDatabasesAreReadThroughTheUpdatedLinks) {
    const auto archives = DemoInstallation::archives(fx.dir());
    ASSERT_GE(archives.size(), 2u);
    const struct {
        const DemoInstallation::Archive* a;
        const char* db;
        const char* newDb;
    } links[] = {{&archives[0], "/usr/tarv/ditt001", "/srv/tarv/ditt001"},
                 {&archives[1], "/usr/tarv/ditt002", "/srv/tarv/ditt002"}};
    for (const auto& l : links) {
        const std::string s = vbLCase(l.a->serial);
        std::vector<int> recs(l.a->records.begin(), l.a->records.end());
        ASSERT_FALSE(recs.empty());
        makeRemote(l.db, "a" + s, recs);
        auto db = archive();
        db->renameTable(l.a->serial, s + "_sav");
        db->createLink(s, ArchiveModel::linkConnectString(fx.config(), l.db), "a" + s);
        db->execute("ALTER TABLE " + s + " ADD CONSTRAINT PrimaryKey PRIMARY KEY (sys_record)");
        db->close();
        EXPECT_EQ(rows(s), static_cast<long>(recs.size()));
    }
    const auto root = fx.engines().embeddedRoot;
    std::filesystem::create_directories(root / "srv");
    std::filesystem::rename(root / "usr" / "tarv", root / "srv" / "tarv");
    EXPECT_ANY_THROW(rows(vbLCase(archives[0].serial)));  // the old path is gone

    dialogs.then(Answer::Yes);
    auto v = unchanged();
    v.PathTarv = "/srv/tarv/";
    ASSERT_EQ(update(v), LinkPathUpdate::Outcome::Done) << dialogs.messages().back().text;
    for (const auto& l : links) {
        const std::string s = vbLCase(l.a->serial);
        SCOPED_TRACE(s);
        EXPECT_EQ(rows(s), static_cast<long>(l.a->records.size()));
        EXPECT_NE(def(s)->connect.find(std::string("DATABASE=") + l.newDb + ";"), std::string::npos);
        auto db = archive();
        auto rs = db->connection().openRecordset("SELECT descr FROM " + s + " WHERE sys_record = " +
                                                     std::to_string(l.a->records.front()),
                                                 CursorType::ForwardOnly, LockType::ReadOnly);
        ASSERT_FALSE(rs->eof());
        EXPECT_EQ(vbTrim(rs->field(0).toText()), "riga " + std::to_string(l.a->records.front()));
        rs->close();
    }
    EXPECT_EQ(fx.tarvValue("/srv/tarv/comune", "SELECT trim(porta) FROM utenti WHERE trim(nome) = 'tarv'"), "WIN");
}

}  // namespace
}  // namespace zq
