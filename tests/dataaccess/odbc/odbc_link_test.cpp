// What a link sends to the server: its constraints and order as SQL, and its values as
// typed parameters, seen in the server's own log. (Reading and writing through links on the server is the link suite's server
// build.)

#include "odbc_test_base.h"

#include "dataaccess/archive_db.h"
#include "dataaccess/engine_settings.h"
#include "dataaccess/odbc/odbc_engine.h"
#include "temp_dir.h"


#include <fstream>
#include <regex>
#include <sstream>
#include <unistd.h>

namespace zq::test {
namespace {

class OdbcLinkTest : public OdbcServerTest {
protected:
    void SetUp() override {
        OdbcServerTest::SetUp();
        registerOdbcEngine();
        setInstallation(tarv_->settings());
        // Serial and TARV table name as the link step makes them; unique in the server log.
        serial_ = "2412" + std::to_string(getpid());
        remote_ = "a" + serial_;
        conn_->execute("CREATE TABLE " + remote_ +
                       "(sys_record SERIAL,descr CHAR(50),anno INTEGER,tipo_doc CHAR(3),imp MONEY,data DATE)");
        conn_->execute("CREATE UNIQUE INDEX sys_record1234 ON " + remote_ + "(sys_record)");
        conn_->execute("INSERT INTO " + remote_ +
                       " VALUES (0, 'uno', 2023, 'FT', 10.5, '2023-05-01'), (0, 'due', 2024, 'FT', 20, '2024-02-01'),"
                       " (0, 'tre', 2024, 'NC', 30, NULL), (0, 'quattro', 2024, 'FT', 40, '2024-03-01')");
        archive_ = ArchiveDatabase::create((dir_ / "Vizidore.mdb").string());
        archive_->createLink(serial_, linkConnect(), remote_);
        archive_->execute("ALTER TABLE " + serial_ + " ADD CONSTRAINT PrimaryKey PRIMARY KEY (sys_record)");
    }

    TempDir dir_{"zq-odbc-link"};
    std::string serial_;
    std::string remote_;
    std::unique_ptr<ArchiveDatabase> archive_;
};

TEST_F(OdbcLinkTest, WritesSendTheirValuesAsParametersAndADateKeepsItsDay) {
    const PgServer& srv = tarv_->server();
    ASSERT_FALSE(srv.dir.empty()) << "ZQ_PG_DIR names the server's folder (and its log)";
    // Every statement this account sends from now on goes to the server log. The server
    // reads date text month first (PostgreSQL's MDY, as Informix reads it by DBDATE).
    srv.psql("postgres", "ALTER ROLE " + tarv_->user() + " SET log_statement = 'all'");
    auto fresh = ArchiveDatabase::open(archive_->path());  // new remote sessions pick the setting up
    archive_->close();

    // 4 March 2024, as the archive keeps it and as a person types it: the same day on the server.
    fresh->connection().execute("INSERT INTO \"" + serial_ + "\" (descr, anno, tipo_doc, imp, data)"
                                " VALUES ('cinque', 2024, 'FT', 50, '2024-03-04 00:00:00')");
    fresh->connection().execute("INSERT INTO \"" + serial_ + "\" (descr, anno, tipo_doc, imp, data)"
                                " VALUES ('sei', 2024, 'FT', 60, '04/03/2024')");
    fresh->connection().execute("UPDATE \"" + serial_ + "\" SET data = '2024-03-04' WHERE descr = 'tre'");
    for (const char* descr : {"cinque", "sei", "tre"}) {
        SCOPED_TRACE(descr);
        const Value d = scalar("SELECT data FROM " + remote_ + " WHERE descr = '" + descr + "'");
        ASSERT_EQ(d.kind(), ValueKind::DateTime);
        EXPECT_EQ(d.toDateTime().year, 2024);
        EXPECT_EQ(d.toDateTime().month, 3);
        EXPECT_EQ(d.toDateTime().day, 4);
    }

    auto rs = fresh->connection().openRecordset("SELECT sys_record, descr FROM \"" + serial_ +
                                                    "\" WHERE anno = 2024 AND tipo_doc = 'FT' ORDER BY sys_record DESC",
                                                CursorType::Static, LockType::ReadOnly);
    ASSERT_EQ(rs->recordCount(), 4);
    EXPECT_EQ(rs->field("sys_record").toInteger(), 6);
    rs->moveNext();
    EXPECT_EQ(rs->field("sys_record").toInteger(), 5);

    std::ifstream log(srv.dir + "/server.log");
    ASSERT_TRUE(log) << "cannot read " << srv.dir << "/server.log";
    std::stringstream text;
    text << log.rdbuf();
    const std::string sentText = text.str();
    // NOTE: psqlODBC reads a forward-only result through a DECLARE CURSOR, into which it
    // writes the bound values itself (typed, not as the server's date text): the read
    // shows its WHERE with the values, the writes show their parameters.
    const std::regex sent("FROM \"?" + remote_ + "\"? WHERE [^\\n]*anno\"? = (\\$1|2024)[^\\n]*tipo_doc\"? = (\\$2|'FT')"
                          "[^\\n]*ORDER BY \"?sys_record\"? DESC");
    EXPECT_TRUE(std::regex_search(sentText, sent))
        << "no statement on " << remote_ << " with the WHERE and ORDER BY in the server log";
    const std::regex inserted("INSERT INTO \"?" + remote_ + "\"? \\([^)]*\\) VALUES \\(\\$1[^)]*\\$5::date\\)");
    EXPECT_TRUE(std::regex_search(sentText, inserted)) << "no INSERT with parameters on " << remote_ << " in the server log";
    const std::regex updated("UPDATE \"?" + remote_ + "\"? SET \"?data\"? = \\$1::date WHERE \"?sys_record\"? = \\$2");
    EXPECT_TRUE(std::regex_search(sentText, updated)) << "no UPDATE with parameters on " << remote_ << " in the server log";
}

}  // namespace
}  // namespace zq::test
