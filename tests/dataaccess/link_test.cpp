// Links of the archive database to a TARV table: read, written, renamed, dropped and
// reopened as the program uses them. Built twice: with the TARV databases on the embedded
// engine, and (ZQ_LINKS_ON_SERVER) on the PostgreSQL test server through the ODBC engine.

#include "dataaccess/archive_db.h"

#include "common/error.h"
#include "dataaccess/embedded_engine.h"
#include "dataaccess/link_module.h"
#include "dataaccess/resolver.h"
#include "process_run.h"
#include "tarv_fixture.h"
#include "thrown_error.h"
#ifdef ZQ_LINKS_ON_SERVER
#include "dataaccess/odbc/odbc_engine.h"
#include "pg_server.h"
#endif

#include <gtest/gtest.h>

namespace zq {
namespace {

using test::TarvFixture;
using test::thrownError;

#ifdef ZQ_LINKS_ON_SERVER
// The TARV side on the test server: databases of this test's own account, named apart
// from every other test's (ditt001 made at once, as the embedded installation has it),
// and the installation set to reach them.
class TarvSide {
public:
    TarvSide() {
        registerOdbcEngine();
        setInstallation(pg_.settings());
        pg_.createDatabase(companyPath("ditt001"));
    }
    ~TarvSide() { setInstallation(EngineSettings{}); }

    std::string companyPath(const std::string& base) const { return pg_.uniquePath(base); }
    void addCompanyDatabase(const std::string& path) { pg_.createDatabase(path); }
    ConnectionPtr openCompany(const std::string& path) const {
        return openConnection(pg_.providerString(path), pg_.settings());
    }
    std::string linkConnectString(const std::string& path) const {
        return link(path, pg_.serverName(), pg_.host(), pg_.user(), pg_.password());
    }
    const std::string& password() const { return pg_.password(); }
    void changePassword(const std::string& password) { pg_.changePassword(password); }
    const std::filesystem::path& programFolder() const { return dir_.path(); }

private:
    static std::string link(const std::string& path, const std::string& server, const std::string& host,
                            const std::string& user, const std::string& password) {
        return "ODBC;DRIVER={INFORMIX-CLI 2.5 (32 bit)};PRO=sesoctcp;SRVR=" + server + ";SERV=sqlexec;HOST=" + host +
               ";DATABASE=" + path + ";DSN=Default;userid=" + user + ";password=" + password;
    }
    test::PgTarv pg_;
    test::TempDir dir_{"zq-link"};
};
#else
// The TARV side on the embedded engine of a temporary installation (with ditt001).
class TarvSide {
public:
    std::string companyPath(const std::string& base) const { return "/usr/tarv/" + base; }
    void addCompanyDatabase(const std::string& path) { f_.addCompanyDatabase(path); }
    ConnectionPtr openCompany(const std::string& path) const { return f_.openCompany(path); }
    std::string linkConnectString(const std::string& path) const { return f_.linkConnectString(path); }
    std::string password() const { return TarvFixture::kPassword; }
    void changePassword(const std::string& password) {
        createEmbeddedAccount(f_.settings(), TarvFixture::kUser, password);
    }
    const std::filesystem::path& programFolder() const { return f_.programFolder(); }

private:
    TarvFixture f_;
};
#endif

class LinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        company = tarv.openCompany(companyDb);
        company->execute("CREATE TABLE a2401011200001a2b(sys_record SERIAL,anno SMALLINT,tipo_doc SMALLINT,"
                         "descr CHAR(20),data DATE,importo MONEY)");
        company->execute("CREATE UNIQUE INDEX sys_rec1234 ON a2401011200001a2b(sys_record)");
        for (int i = 1; i <= 6; ++i)
            company->execute("INSERT INTO a2401011200001a2b VALUES(0," + std::to_string(2020 + i % 2) + "," +
                             std::to_string(i % 3) + ",'riga " + std::to_string(i) + "','2024-01-0" +
                             std::to_string(i) + "'," + std::to_string(i) + ".5)");
        db = ArchiveDatabase::create(archiveFile());
        db->createLink("2401011200001a2b", link(), "a2401011200001a2b");
    }
    std::string link() const { return tarv.linkConnectString(companyDb); }
    std::string archiveFile() const { return (tarv.programFolder() / "Vizidore.mdb").string(); }
    RecordsetPtr open(const std::string& sql, CursorType cursor = CursorType::Static,
                      LockType lock = LockType::ReadOnly) {
        return db->connection().openRecordset(sql, cursor, lock);
    }
    long archiveRows(const std::string& sql) { return open(sql)->recordCount(); }
    long remoteRows(const std::string& where = "") {
        return company->openRecordset("SELECT * FROM a2401011200001a2b" + where, CursorType::Static, LockType::ReadOnly)
            ->recordCount();
    }
    std::string plan(const std::string& sql) {
        std::string out;
        for (auto rs = open("EXPLAIN QUERY PLAN " + sql); !rs->eof(); rs->moveNext())
            out += rs->field("detail").toText() + "\n";
        return out;
    }
    void declareKey() { db->execute("ALTER TABLE 2401011200001a2b ADD CONSTRAINT PrimaryKey PRIMARY KEY (sys_record)"); }

    TarvSide tarv;
    const std::string companyDb = tarv.companyPath("ditt001");
    ConnectionPtr company;
    std::unique_ptr<ArchiveDatabase> db;
};

TEST_F(LinkTest, ReadsTheRemoteRows) {
    auto rs = open("SELECT * FROM \"2401011200001a2b\" ORDER BY sys_record");
    ASSERT_EQ(rs->recordCount(), 6);
    EXPECT_EQ(rs->field("sys_record").toInteger(), 1);
    EXPECT_EQ(rs->field("descr").toText(), "riga 1" + std::string(14, ' '));  // CHAR(20) as TARV gives it
    EXPECT_EQ(rs->field("data"), Value(DateTime{2024, 1, 1, 0, 0, 0}));
    EXPECT_EQ(rs->field("importo").toDouble(), 1.5);
}

TEST_F(LinkTest, ConnectAndSourceTableNameReadBackAsWritten) {
    auto def = db->tableDef("2401011200001A2B");
    ASSERT_TRUE(def);
    EXPECT_TRUE(def->isLink());
    EXPECT_EQ(def->connect, link());
    EXPECT_EQ(def->sourceTableName, "a2401011200001a2b");
    ASSERT_EQ(def->fields.size(), 6u);
    EXPECT_EQ(def->fields[0].type, dbLong);
    EXPECT_EQ(def->fields[0].attributes, 17);
    EXPECT_EQ(def->fields[3].type, dbText);
    EXPECT_EQ(def->fields[3].size, 20);
    EXPECT_TRUE(def->indexes.empty());
    db->close();
    EXPECT_EQ(ArchiveDatabase::open(archiveFile())->tableDef("2401011200001a2b")->connect, link());
}

TEST_F(LinkTest, KeyDeclarationIsRecordedAsThePrimaryIndex) {
    declareKey();
    auto def = db->tableDef("2401011200001a2b");
    ASSERT_EQ(def->indexes.size(), 1u);
    EXPECT_EQ(def->indexes[0].name, "PrimaryKey");
    EXPECT_TRUE(def->indexes[0].primary);
    EXPECT_EQ(def->indexes[0].fields, std::vector<std::string>{"sys_record"});
    EXPECT_EQ(def->linkKey, std::vector<std::string>{"sys_record"});
    EXPECT_THROW(db->execute("ALTER TABLE 2401011200001a2b ADD CONSTRAINT k PRIMARY KEY (nope)"), Error);
}

TEST_F(LinkTest, InsertUpdateAndDeleteReachTheRemoteTable) {
    declareKey();
    db->execute("INSERT INTO \"2401011200001a2b\"(sys_record, anno, tipo_doc, descr) VALUES(0, 2024, 9, 'nuova')");
    EXPECT_EQ(remoteRows(" WHERE sys_record = 7 AND descr = 'nuova'"), 1);  // SERIAL numbered it
    db->execute("UPDATE \"2401011200001a2b\" SET descr = 'cambiata' WHERE anno = 2024");
    EXPECT_EQ(remoteRows(" WHERE descr = 'cambiata'"), 1);
    EXPECT_EQ(remoteRows(" WHERE descr = 'riga 1'"), 1);  // the others are untouched
    db->execute("DELETE FROM \"2401011200001a2b\" WHERE tipo_doc = 0");
    EXPECT_EQ(remoteRows(), 5);
    EXPECT_EQ(remoteRows(" WHERE tipo_doc = 0"), 0);
}

TEST_F(LinkTest, DatesTypedDayFirstReachTheRemoteAsThatDay) {
    declareKey();
    const struct {
        const char* typed;
        DateTime day;
    } cases[] = {
        {"04/03/2024", {2024, 3, 4}}, {"04.03.2024", {2024, 3, 4}}, {"4/3/24", {2024, 3, 4}},
        {"25/12/2023", {2023, 12, 25}}, {"2024-03-04", {2024, 3, 4}},
    };
    const auto remoteDate = [&](const std::string& where) {
        return company->openRecordset("SELECT data FROM a2401011200001a2b WHERE " + where, CursorType::Static,
                                      LockType::ReadOnly)->field("data");
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        db->execute(std::string("INSERT INTO \"2401011200001a2b\"(descr, data) VALUES('inserita', '") + c.typed + "')");
        db->execute(std::string("UPDATE \"2401011200001a2b\" SET data = '") + c.typed + "' WHERE sys_record = 1");
        EXPECT_EQ(remoteDate("descr = 'inserita'"), Value(c.day));
        EXPECT_EQ(remoteDate("sys_record = 1"), Value(c.day));
        company->execute("DELETE FROM a2401011200001a2b WHERE descr = 'inserita'");
    }
    // What is no date is refused, naming the column, and changes nothing.
    for (const char* typed : {"31/02/2024", "2024-13-01", "domani"}) {
        SCOPED_TRACE(typed);
        const Error e = thrownError([&] {
            db->execute(std::string("INSERT INTO \"2401011200001a2b\"(descr, data) VALUES('rifiutata', '") + typed + "')");
        });
        EXPECT_NE(e.description().find("non è una data valida per il campo data"), std::string::npos) << e.description();
        EXPECT_THROW(db->execute(std::string("UPDATE \"2401011200001a2b\" SET data = '") + typed + "' WHERE sys_record = 2"),
                     Error);
    }
    EXPECT_EQ(remoteRows(), 6);
    EXPECT_EQ(remoteDate("sys_record = 2"), Value(DateTime{2024, 1, 2}));
}

TEST_F(LinkTest, AmountsReachTheRemoteAndComeBackExact) {
    declareKey();
    const Value large(*Currency::parse("99999999999999,99"));
    db->connection().execute("INSERT INTO \"2401011200001a2b\"(descr, importo) VALUES('grande', ?)", {large});
    db->execute("INSERT INTO \"2401011200001a2b\"(descr, importo) VALUES('somma', 0.1 + 0.2)");
    db->execute("UPDATE \"2401011200001a2b\" SET importo = '1.234,5' WHERE sys_record = 1");  // typed as in the office
    const auto remote = company->openRecordset("SELECT importo FROM a2401011200001a2b WHERE descr = 'grande'",
                                               CursorType::Static, LockType::ReadOnly);
    EXPECT_EQ(remote->field("importo").toText(), "99999999999999,99");
    EXPECT_EQ(remoteRows(" WHERE descr = 'somma' AND importo = 0.3"), 1);
    EXPECT_EQ(remoteRows(" WHERE sys_record = 1 AND importo = 1234.5"), 1);
    EXPECT_EQ(open("SELECT importo FROM \"2401011200001a2b\" WHERE descr = 'grande'")->field("importo"), large);

    const Error e = thrownError([&] { db->execute("UPDATE \"2401011200001a2b\" SET importo = 'dodici' WHERE sys_record = 2"); });
    EXPECT_NE(e.description().find("non è un importo valido per il campo importo"), std::string::npos) << e.description();
    EXPECT_EQ(remoteRows(" WHERE sys_record = 2 AND importo = 2.5"), 1);
}

TEST_F(LinkTest, WithoutKeyRowsCanBeReadButNotChanged) {
    EXPECT_EQ(archiveRows("SELECT * FROM \"2401011200001a2b\""), 6);
    const Error e = thrownError([&] { db->execute("UPDATE \"2401011200001a2b\" SET descr = 'x' WHERE sys_record = 1"); });
    EXPECT_NE(e.description().find("non ha una chiave primaria"), std::string::npos) << e.description();
    EXPECT_THROW(db->execute("DELETE FROM \"2401011200001a2b\""), Error);
    EXPECT_EQ(remoteRows(), 6);
    EXPECT_EQ(remoteRows(" WHERE descr = 'x'"), 0);
    db->execute("INSERT INTO \"2401011200001a2b\"(anno) VALUES(2030)");  // inserting needs no key
    EXPECT_EQ(remoteRows(" WHERE anno = 2030 AND sys_record = 7"), 1);
    db->execute("INSERT INTO \"2401011200001a2b\" DEFAULT VALUES");  // a row of Nulls, numbered
    EXPECT_EQ(remoteRows(" WHERE sys_record = 8 AND anno IS NULL"), 1);
}

TEST_F(LinkTest, DroppingTheLinkKeepsTheRemoteRows) {
    db->deleteTable("2401011200001a2b");
    EXPECT_FALSE(db->hasTable("2401011200001a2b"));
    EXPECT_EQ(remoteRows(), 6);
}

TEST_F(LinkTest, RenamedLinkStillReads) {
    db->renameTable("2401011200001a2b", "2401011200001a2b_COL");
    EXPECT_EQ(archiveRows("SELECT * FROM \"2401011200001a2b_COL\" WHERE anno = 2021"), 3);
    EXPECT_EQ(db->tableDef("2401011200001a2b_col")->sourceTableName, "a2401011200001a2b");
}

TEST_F(LinkTest, LinksSurviveClosingAndReopening) {
    declareKey();
    db->close();
    db = ArchiveDatabase::open(archiveFile());
    EXPECT_EQ(archiveRows("SELECT * FROM \"2401011200001a2b\""), 6);
    db->execute("DELETE FROM \"2401011200001a2b\" WHERE sys_record = 2");
    EXPECT_EQ(remoteRows(), 5);
    // and through the connection the program opens with the Jet string
    auto c = openArchiveConnection(archiveFile(), "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + archiveFile());
    EXPECT_EQ(c->openRecordset("SELECT * FROM \"2401011200001a2b\"", CursorType::Static, LockType::ReadOnly)->recordCount(), 5);
}

TEST_F(LinkTest, RecordsetChangesThroughTheLinkAddressTheKey) {
    declareKey();
    auto rs = open("SELECT * FROM \"2401011200001a2b\" WHERE sys_record = 3", CursorType::Static, LockType::Optimistic);
    ASSERT_EQ(rs->recordCount(), 1);
    rs->setField(rs->fieldIndex("descr"), Value("via recordset"));
    rs->update();
    EXPECT_EQ(remoteRows(" WHERE sys_record = 3 AND descr = 'via recordset'"), 1);
    EXPECT_EQ(remoteRows(" WHERE descr = 'via recordset'"), 1);
}

TEST_F(LinkTest, TheProgramsStatementsNameTheLinkBareAsJetAllows) {
    declareKey();
    EXPECT_EQ(archiveRows("SELECT * FROM 2401011200001a2b WHERE anno = 2021 AND tipo_doc = 2"), 1);
    auto rs = open("SELECT * FROM 2401011200001a2b ORDER BY sys_record DESC", CursorType::Dynamic, LockType::Optimistic);
    EXPECT_EQ(rs->field("sys_record").toInteger(), 6);
    rs->setField("descr", Value("ultima"));
    rs->update();
    EXPECT_EQ(remoteRows(" WHERE sys_record = 6 AND descr = 'ultima'"), 1);
    db->execute("DELETE FROM 2401011200001a2b WHERE sys_record = 6");
    EXPECT_EQ(remoteRows(), 5);
}

TEST_F(LinkTest, AnotherConnectionSeesTheNewLinkUnderTheOldName) {
    auto c = openArchiveConnection(archiveFile(), "");
    db->renameTable("2401011200001a2b", "2401011200001a2b_COL");
    TableDef local;
    local.name = "2401011200001a2b";
    local.fields = {FieldDef{"solo", dbText, 5, 2, false, 0}};
    db->createTable(local);
    EXPECT_EQ(c->openRecordset("SELECT * FROM 2401011200001a2b", CursorType::Static, LockType::ReadOnly)->fieldCount(), 1);
    db->deleteTable("2401011200001a2b");
    db->renameTable("2401011200001a2b_COL", "2401011200001a2b");
    // c compiled this text against the local table; the link is what it must read now
    auto rs = c->openRecordset("SELECT * FROM 2401011200001a2b", CursorType::ForwardOnly, LockType::ReadOnly);
    ASSERT_EQ(rs->fieldCount(), 6);
    EXPECT_EQ(rs->fieldName(0), "sys_record");
    EXPECT_EQ(rs->field("sys_record").toInteger(), 1);
}

TEST_F(LinkTest, ConstraintsAndOrderArePushedDown) {
    const struct {
        const char* sql;
        std::vector<const char*> planHas;
        std::vector<const char*> planLacks;
        long rows;
    } cases[] = {
        {"SELECT * FROM \"2401011200001a2b\" WHERE anno = 2021 AND tipo_doc = 2", {":2,", ":2|"}, {}, 1},
        {"SELECT sys_record FROM \"2401011200001a2b\" ORDER BY sys_record DESC LIMIT 1", {"0:d"}, {"TEMP B-TREE"}, 1},
        {"SELECT * FROM \"2401011200001a2b\" WHERE importo > 3 AND importo <= 5", {":4", ":8"}, {}, 2},
        {"SELECT * FROM \"2401011200001a2b\" WHERE descr = 'riga 4'", {"3:2"}, {}, 1},
        {"SELECT * FROM \"2401011200001a2b\" WHERE descr IS NULL", {"3:71"}, {}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sql);
        std::string p = plan(c.sql);
        for (const char* has : c.planHas) EXPECT_NE(p.find(has), std::string::npos) << p;
        for (const char* lacks : c.planLacks) EXPECT_EQ(p.find(lacks), std::string::npos) << p;
        EXPECT_EQ(archiveRows(c.sql), c.rows);
    }
    EXPECT_EQ(open(cases[1].sql, CursorType::ForwardOnly)->field(0).toInteger(), 6);
}

TEST_F(LinkTest, QuotesInValuesReachTheRemoteSafely) {
    declareKey();
    // within descr's 20 characters: a server refuses longer text
    db->execute("INSERT INTO \"2401011200001a2b\"(descr) VALUES('l''ape''); DROP x;--')");
    EXPECT_EQ(archiveRows("SELECT * FROM \"2401011200001a2b\" WHERE descr = 'l''ape''); DROP x;--'"), 1);
    EXPECT_EQ(remoteRows(), 7);
}

TEST_F(LinkTest, MissingRemoteTableIsAClearErrorAndWritesNothing) {
    Error e = thrownError([&] { db->createLink("2401011200009999", link(), "a2401011200009999"); });
    EXPECT_NE(e.description().find("a2401011200009999"), std::string::npos) << e.description();
    EXPECT_FALSE(db->hasTable("2401011200009999"));
    company->execute("DROP TABLE a2401011200001a2b");
    e = thrownError([&] { archiveRows("SELECT * FROM \"2401011200001a2b\""); });
    EXPECT_NE(e.description().find("Lettura della tabella collegata 2401011200001a2b"), std::string::npos) << e.description();
    db->deleteTable("2401011200001a2b");  // a dangling link can still be removed
    EXPECT_TRUE(db->tableDefs().empty());
}

TEST_F(LinkTest, WrongCredentialsInTheConnectStringAreReported) {
    std::string bad = link();
    bad.replace(bad.find(";password=" + tarv.password()), std::string(";password=" + tarv.password()).size(),
                ";password=nope");
    const Error e = thrownError([&] { db->createLink("x", bad, "a2401011200001a2b"); });
    EXPECT_NE(e.description().find("password"), std::string::npos) << e.description();
}

TEST_F(LinkTest, RemoteConnectionsAreKeptPerArchiveConnection) {
    EXPECT_EQ(archiveRows("SELECT * FROM \"2401011200001a2b\""), 6);
    // a new password now refuses every new TARV connection ...
    tarv.changePassword("cambiata");
    // ... but the archive connection reads on through the connection it already has
    EXPECT_EQ(archiveRows("SELECT * FROM \"2401011200001a2b\" WHERE anno = 2020"), 3);
    auto other = openArchiveConnection(archiveFile(), "");
    EXPECT_THROW(other->openRecordset("SELECT * FROM \"2401011200001a2b\"", CursorType::Static, LockType::ReadOnly), Error);
}

TEST_F(LinkTest, LinksCannotBeUsedFromViewsOrTriggers) {
    db->execute("CREATE VIEW v AS SELECT * FROM \"2401011200001a2b\"");
    EXPECT_THROW(archiveRows("SELECT * FROM v"), Error);
}

TEST_F(LinkTest, SetLinkConnectPointsTheLinkElsewhere) {
    const std::string other = tarv.companyPath("ditt002");
    tarv.addCompanyDatabase(other);
    tarv.openCompany(other)->execute("CREATE TABLE a2401011200001a2b(sys_record SERIAL,anno SMALLINT,"
                                                "tipo_doc SMALLINT,descr CHAR(20),data DATE,importo MONEY)");
    declareKey();
    db->setLinkConnect("2401011200001a2b", tarv.linkConnectString(other), "");
    EXPECT_EQ(archiveRows("SELECT * FROM \"2401011200001a2b\""), 0);
    auto def = db->tableDef("2401011200001a2b");
    EXPECT_EQ(def->connect, tarv.linkConnectString(other));
    EXPECT_EQ(def->linkKey, std::vector<std::string>{"sys_record"});
}

#ifndef ZQ_LINKS_ON_SERVER
TEST_F(LinkTest, TheSqliteShellReadsALinkWithTheExtension) {
    db->close();
    // run from "/" so that nothing is found through the test's working folder
    const auto run = test::runProgram(
        "sqlite3", {archiveFile(), ".load " ZQ_TARVLINK_PATH, "SELECT count(*), max(sys_record) FROM \"2401011200001a2b\";"},
        "cd / && ZEL_QUIRNOVA_HOME=" + test::shellQuoted(tarv.programFolder().string()));
    EXPECT_EQ(run.exit, 0) << run.err;
    EXPECT_EQ(run.out + run.err, "6|6\n");
}
#endif

}  // namespace
}  // namespace zq
