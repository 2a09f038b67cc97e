// The same behaviour through both psqlODBC drivers Debian registers: the Unicode one
// (text as UTF-16) and the ANSI one (text as UTF-8 bytes through the narrow calls).

#include "odbc_test_base.h"

#include "dataaccess/odbc/odbc_engine.h"

namespace zq::test {
namespace {

class OdbcDriverTest : public OdbcServerTest, public ::testing::WithParamInterface<const char*> {
protected:
    void SetUp() override {
        OdbcServerTest::SetUp();
        EngineSettings s = tarv_->settings();
        s.odbcDriver = GetParam();
        conn_ = openOdbcConnection(target(), "x", s);
    }
};

TEST_P(OdbcDriverTest, TextNumbersAndDatesRoundTrip) {
    const std::string accented = "Società è già là: «€ 12,50» ÀÉÌÒÙ";
    conn_->execute("CREATE TABLE ar_dbelenco (ditt CHAR(3) PRIMARY KEY, descr VARCHAR(80), sys_path_docs CHAR(40),"
                   " imp MONEY, data DATE)");
    conn_->execute("INSERT INTO ar_dbelenco VALUES ('001', '" + accented + "', 'C:\\Archivi\\', 1.5, '2024-12-31')");
    auto rs = conn_->openRecordset("SELECT * FROM ar_dbelenco", CursorType::Static, LockType::Optimistic);
    ASSERT_EQ(rs->recordCount(), 1);
    EXPECT_EQ(rs->field("descr"), Value(accented));
    EXPECT_EQ(rs->field("sys_path_docs").toText(), "C:\\Archivi\\" + std::string(29, ' '));
    EXPECT_DOUBLE_EQ(rs->field("imp").toDouble(), 1.5);
    EXPECT_EQ(rs->field("data"), Value(DateTime{2024, 12, 31, 0, 0, 0}));

    rs->find("descr = '" + accented + "'");
    ASSERT_FALSE(rs->eof());
    rs->setField("descr", Value(accented + " bis"));
    rs->setField("imp", Value(2.75));
    rs->update();
    rs->addNew();
    rs->setField("ditt", Value("002"));
    rs->setField("descr", Value("Perché"));
    rs->update();

    auto check = conn_->openRecordset("SELECT descr, imp FROM ar_dbelenco ORDER BY ditt", CursorType::ForwardOnly,
                                      LockType::ReadOnly);
    ASSERT_FALSE(check->eof());
    EXPECT_EQ(check->field("descr"), Value(accented + " bis"));
    EXPECT_DOUBLE_EQ(check->field("imp").toDouble(), 2.75);
    check->moveNext();
    ASSERT_FALSE(check->eof());
    EXPECT_EQ(check->field("descr"), Value("Perché"));
    EXPECT_TRUE(check->field("imp").isNull());
}

INSTANTIATE_TEST_SUITE_P(Drivers, OdbcDriverTest, ::testing::Values("PostgreSQL Unicode", "PostgreSQL ANSI"),
                         [](const ::testing::TestParamInfo<const char*>& p) {
                             return std::string(p.param).find("ANSI") != std::string::npos ? "ansi" : "unicode";
                         });

}  // namespace
}  // namespace zq::test
