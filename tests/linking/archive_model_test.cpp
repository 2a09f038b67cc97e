#include "linking/archive_model.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>

namespace zq {
namespace {

ArchiveModel withList(std::vector<std::string> names) {
    ArchiveModel m;
    m.aLinkTab = std::move(names);
    return m;
}

struct SearchCase {
    std::vector<std::string> list;
    std::string name;
    bool found;
};

TEST(CercLink, FindsExactlyTheEntriesOfASortedList) {
    const std::vector<std::string> many = {"b1", "b3", "b5", "b7", "b9", "c1", "c3"};
    const SearchCase cases[] = {
        {{}, "", false},      {{}, "2408010930122c3d", false}, {{"b5"}, "b5", true}, {{"b5"}, "a0", false},
        {{"b5"}, "z9", false}, {{"b1", "b3"}, "b3", true},      {{"b1", "b3"}, "b2", false},
        {many, "b1", true},   {many, "c3", true},               {many, "b4", false}, {many, "d0", false},
        {many, "B1", false},  // capitals: the comparison is exact
        {many, "b", false},   {many, "c", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name + " in a list of " + std::to_string(c.list.size()));
        EXPECT_EQ(withList(c.list).CercLink(c.name), c.found);
    }
    // Every length, so each bisection path is walked.
    std::mt19937 rng(42);
    for (int size = 1; size <= 40; ++size) {
        std::vector<std::string> names;
        for (int i = 0; i < size; ++i) names.push_back("2408" + std::to_string(100000 + rng() % 900000));
        std::sort(names.begin(), names.end());
        names.erase(std::unique(names.begin(), names.end()), names.end());
        const ArchiveModel m = withList(names);
        for (const auto& n : names) {
            EXPECT_TRUE(m.CercLink(n)) << n << " size " << size;
            EXPECT_FALSE(m.CercLink(n + "x")) << n << " size " << size;
        }
        EXPECT_FALSE(m.CercLink("0")) << size;
        EXPECT_FALSE(m.CercLink("9")) << size;
    }
}

TEST(PathServ, RootChangeAndBackslashRule) {
    const struct {
        const char *path, *rootOld, *rootNew, *conv, *expected;
    } cases[] = {
        {"D:\\ARCHIVI\\FATTURE\\", "D:\\ARCHIVI\\", "/dati/archivi/", "S", "/dati/archivi/FATTURE/00000000/"},
        {"C:\\A\\", "", "", "N", "C:\\\\A\\\\00000000\\\\"},
        {"C:\\A\\", "", "", "S", "C:/A/00000000/"},
        // the root is compared exactly: another case is no match
        {"d:\\archivi\\X\\", "D:\\ARCHIVI\\", "/dati/", "S", "d:/archivi/X/00000000/"},
        // RootNew is trimmed
        {"D:\\ARCHIVI\\X\\", "D:\\ARCHIVI\\", "  /dati/ ", "S", "/dati/X/00000000/"},
        {"/srv/docs/f/", "", "", "S", "/srv/docs/f/00000000/"},
        {"/srv/docs/f/", "/srv/docs/", "\\\\nas\\d\\", "N", "\\\\\\\\nas\\\\d\\\\f/00000000\\\\"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        Config cfg;
        cfg.RootOld = c.rootOld;
        cfg.RootNew = c.rootNew;
        cfg.ConvBksl = c.conv;
        EXPECT_EQ(ArchiveModel::PathServ(c.path, cfg), c.expected);
    }
}

TEST(PathDocs, FiveHundredRecordsPerFolder) {
    const struct {
        const char* path;
        long record;
        const char* expected;
    } cases[] = {
        {"C:\\A\\", 2500, "C:\\A\\00000005\\"}, {"/x/", 999, "/x/00000001/"}, {"/x/", 499, "/x/00000000/"},
        {"/x/", 500, "/x/00000001/"},           {"archivio", 0, "00000000"},  {"/x/", 1499, "/x/00000002/"},
        {"D:\\mix/a\\", 1500, "D:\\mix/a\\00000003/"},  // "/" wins when both are there
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.path) + " " + std::to_string(c.record));
        EXPECT_EQ(ArchiveModel::PathDocs(c.path, c.record), c.expected);
    }
}

TEST(LinkConnect, ExactText) {
    Config cfg;
    cfg.Server = "linux_se";
    cfg.Host = "server";
    cfg.Utente = "tarv";
    cfg.Password = " p w ";
    EXPECT_EQ(ArchiveModel::linkConnectString(cfg, "/usr/tarv/ditt001"),
              "ODBC;DRIVER={INFORMIX-CLI 2.5 (32 bit)};PRO=sesoctcp;SRVR=linux_se;SERV=sqlexec;HOST=server;"
              "DATABASE=/usr/tarv/ditt001;DSN=Default;userid=tarv;password= p w ");
}

TableDef table(const std::string& name, const std::string& source = {}) {
    TableDef t;
    t.name = name;
    if (!source.empty()) t.connect = "ODBC;...";
    t.sourceTableName = source;
    return t;
}

TEST(Classify, StatesAsTheArchiveDatabaseShowsThem) {
    const std::string s = "2408010930122C3D";
    const struct {
        const char* name;
        std::vector<TableDef> defs;
        ArchiveState state;
    } cases[] = {
        {"local", {table("AREE"), table(s)}, ArchiveState::Local},
        {"linked", {table("2408010930122c3d_sav"), table(s, "a2408010930122c3d")}, ArchiveState::Linked},
        {"pre-mastering", {table(s), table("2408010930122C3D_COL", "a2408010930122c3d")}, ArchiveState::Premastering},
        {"pre-mastering, lower-case suffix", {table(s), table("2408010930122c3d_col", "a2408010930122c3d")},
         ArchiveState::Premastering},
        {"missing", {table("AREE")}, ArchiveState::Missing},
        {"blank source is local", {table(s, "   ")}, ArchiveState::Local},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ArchiveModel::classify(s, c.defs), c.state);
    }
    EXPECT_STREQ(ArchiveModel::stateName(ArchiveState::Premastering), "premastering");
}

}  // namespace
}  // namespace zq
