#include "linking/archive_model.h"

#include "dataaccess/resolver.h"
#include "demo_fixture.h"
#include "runtime/text.h"

#include <gtest/gtest.h>

namespace zq {
namespace {

class LeggLinkTest : public ::testing::Test {
protected:
    void SetUp() override { setInstallation(fx.engines()); }

    std::string pathArch() const { return fx.config().PathArch; }

    // What the link step leaves: the TARV table, the local table set aside, the link.
    void linkArchive(ArchiveDatabase& db, const std::string& serial, const std::string& dbDitt) {
        const std::string s = vbLCase(serial);
        auto cnn = openConnection("Provider=Ifxoledbc.2;Persist Security Info=False;host=server;User ID=tarv;"
                                  "password=Quirnova24;Data Source=" + dbDitt + "@linux_se",
                                  fx.engines());
        cnn->execute("CREATE TABLE a" + s + " (sys_record SERIAL, sys_filename CHAR(100))");
        cnn->close();
        db.renameTable(serial, s + "_sav");
        db.createLink(s, ArchiveModel::linkConnectString(fx.config(), dbDitt), "a" + s);
    }

    test::DemoFixture fx;
};

TEST_F(LeggLinkTest, LinksAreListedLowerCasedAndSortedAndStatesFollow) {
    ArchiveModel m;
    m.aLinkTab = {"stale"};
    m.LeggLink(pathArch());
    EXPECT_EQ(m.nLinkTab(), 0);
    EXPECT_FALSE(m.CercLink("2408010930122c3d"));
    {
        auto db = ArchiveDatabase::open(pathArch());
        linkArchive(*db, "2408010935155F60", "/usr/tarv/ditt001");
        linkArchive(*db, "2215032010150A1F", "/usr/tarv/ditt001");
        linkArchive(*db, "2408010930122C3D", "/u2/tarv/ditt003");
        // pre-mastering: the link takes the _COL name, the local table its own again
        db->renameTable("2408010930122c3d", "2408010930122C3D_COL");
        db->renameTable("2408010930122c3d_sav", "2408010930122C3D");
        db->close();
    }
    m.LeggLink(pathArch());
    EXPECT_EQ(m.aLinkTab, (std::vector<std::string>{"2215032010150a1f", "2408010930122c3d_col", "2408010935155f60"}));
    for (const auto& name : m.aLinkTab) EXPECT_TRUE(m.CercLink(name)) << name;
    EXPECT_FALSE(m.CercLink("2408010935155F60"));
    EXPECT_FALSE(m.CercLink("2408010930122c3d"));

    auto db = ArchiveDatabase::open(pathArch());
    const auto defs = db->tableDefs();
    EXPECT_EQ(ArchiveModel::classify("2408010935155F60", defs), ArchiveState::Linked);
    EXPECT_EQ(ArchiveModel::classify("2408010930122C3D", defs), ArchiveState::Premastering);
    EXPECT_EQ(ArchiveModel::classify("2106051045127B82", defs), ArchiveState::Local);
}

}  // namespace
}  // namespace zq
