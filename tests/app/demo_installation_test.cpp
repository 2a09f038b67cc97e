#include "app/demo_installation.h"

#include "app/config_file.h"
#include "common/error.h"
#include "dataaccess/archive_db.h"
#include "dataaccess/resolver.h"
#include "demo_fixture.h"

#include <fstream>
#include <gtest/gtest.h>
#include <poppler-document.h>
#include <sstream>

namespace zq {
namespace {

namespace fs = std::filesystem;

class DemoInstallationTest : public ::testing::Test {
protected:
    test::DemoFixture fx;
};

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST_F(DemoInstallationTest, ConfigurationNamesTheInstallation) {
    Config c;
    ConfigFile::readStartup(ConfigFile::pathIn(fx.dir()), c);
    EXPECT_EQ(c.PathTarv, "/usr/tarv/");
    EXPECT_EQ(c.PathArch, (fx.dir() / "Vizidore.mdb").string());
    EXPECT_EQ(c.Utente, "tarv");
    EXPECT_EQ(c.Password, DemoInstallation::kPassword);
    EXPECT_EQ(c.GrpParm1, "8");
    EXPECT_TRUE(fs::is_directory(c.GrpParm2));
    EXPECT_EQ(c.GrpParm2.back(), '/');
    const auto engines = EngineSettings::load(fx.dir());
    EXPECT_EQ(engines.tarvEngine, EngineSettings::Tarv::Embedded);
    EXPECT_EQ(engines.embeddedRoot, fx.dir() / "tarv");
}

TEST_F(DemoInstallationTest, ArchiveTablesLookLikeDocumentArchives) {
    auto db = ArchiveDatabase::open(fx.config().PathArch);
    const auto archives = DemoInstallation::archives(fx.dir());
    ASSERT_GE(archives.size(), 8u);
    for (const auto& a : archives) {
        SCOPED_TRACE(a.name);
        const auto def = db->tableDef(a.serial);
        ASSERT_TRUE(def);
        EXPECT_TRUE(def->sourceTableName.empty());
        const FieldDef* record = def->findField("sys_record");
        ASSERT_TRUE(record);
        EXPECT_EQ(record->type, dbLong);
        EXPECT_EQ(record->attributes, 17);
        ASSERT_TRUE(def->findField("sys_filename"));
        EXPECT_EQ(def->findField("sys_filename")->type, dbText);
        ASSERT_FALSE(def->indexes.empty());
        EXPECT_TRUE(def->indexes[0].primary);
        EXPECT_EQ(def->indexes[0].fields, std::vector<std::string>{"sys_record"});
    }
    const auto purchases = db->tableDef("2408010930122C3D");
    bool slashIndex = false;
    for (const auto& i : purchases->indexes) slashIndex |= i.name == "Forn/Data";
    EXPECT_TRUE(slashIndex);
    EXPECT_EQ(purchases->findField("importo")->type, dbCurrency);
    EXPECT_EQ(purchases->findField("note")->type, dbMemo);
    EXPECT_EQ(purchases->findField("data_doc")->type, dbDate);
    EXPECT_EQ(db->tableDef("2106051045116A71")->findField("firma_digitale")->type, dbLongBinary);
    EXPECT_TRUE(db->tableDef("2106051045127B82")->findField("data firma"));
}

TEST_F(DemoInstallationTest, EveryRecordHasItsPdfInItsRecordFolder) {
    auto db = ArchiveDatabase::open(fx.config().PathArch);
    int documents = 0, multiPage = 0;
    for (const auto& a : DemoInstallation::archives(fx.dir())) {
        SCOPED_TRACE(a.name);
        auto rs = db->connection().openRecordset("SELECT * FROM [" + a.serial + "] ORDER BY sys_record",
                                                 CursorType::Static, LockType::ReadOnly);
        EXPECT_EQ(rs->recordCount(), static_cast<long>(a.records.size()));
        if (a.docs.empty()) continue;
        EXPECT_EQ(a.docs.back(), '/');
        EXPECT_EQ(slurp(fs::path(a.docs) / "DURuv.id").substr(0, 2 + a.serial.size() + 2), "\r\n" + a.serial + "\r\n");
        for (; !rs->eof(); rs->moveNext()) {
            const long n = static_cast<long>(rs->field("sys_record").toInteger());
            char sub[24];
            std::snprintf(sub, sizeof sub, "%08ld", n / 500);
            const fs::path file = fs::path(a.docs) / sub / rs->field("sys_filename").toText();
            ASSERT_TRUE(fs::exists(file)) << file;
            const std::string bytes = slurp(file);
            std::unique_ptr<poppler::document> doc(
                poppler::document::load_from_raw_data(bytes.data(), static_cast<int>(bytes.size())));
            ASSERT_TRUE(doc) << file;
            EXPECT_EQ(doc->pages(), rs->field("sys_pagine").toInteger()) << file;
            ++documents;
            multiPage += doc->pages() > 1;
        }
    }
    EXPECT_GE(documents, 20);
    EXPECT_GE(multiPage, 5);
    EXPECT_TRUE(fs::exists(fx.dir() / "documenti/2024/Fatt_Acqu/Fatt_Forn_2024/00000001/00000501.pdf"));
}

TEST_F(DemoInstallationTest, ElencoRowsAndAreaTree) {
    auto cnn = openConnection("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + fx.config().PathArch +
                              ";Persist Security Info=False;Jet OLEDB:Database Password=zzpergola31");
    auto rs = cnn->openRecordset("SELECT * FROM DB_ELENCO WHERE sys_path_docs IS NULL", CursorType::Static,
                                 LockType::ReadOnly);
    EXPECT_EQ(rs->recordCount(), 1);
    EXPECT_EQ(rs->field("ARCHIVIO").toText(), "Statuti");
    EXPECT_EQ(rs->field("SYS_VERSIONE").toInteger(), 900);
    auto years = cnn->openRecordset("SELECT a.AREA FROM AREE a JOIN AREE p ON a.ID_PARENT = p.ID_AREA "
                                    "WHERE p.AREA = '2024' ORDER BY a.AREA",
                                    CursorType::Static, LockType::ReadOnly);
    ASSERT_EQ(years->recordCount(), 2);
    EXPECT_EQ(years->field("AREA").toText(), "Fatture Acquisto");
    years->moveNext();
    EXPECT_EQ(years->field("AREA").toText(), "Fatture Vendita");
}

TEST_F(DemoInstallationTest, TarvDatabasesHoldTheRegistryEmptyAndTheCompanies) {
    EXPECT_EQ(fx.tarvValue("/usr/tarv/comune", "SELECT count(*) FROM ar_dbelenco"), "0");
    EXPECT_EQ(fx.tarvValue("/usr/tarv/comune", "SELECT count(*) FROM anaditta WHERE anno < 2002"), "1");
    EXPECT_EQ(fx.tarvValue("/usr/tarv/comune", "SELECT count(*) FROM clifo WHERE codice_studio = 'S00001'"), "2");
    EXPECT_EQ(fx.tarvValue("/usr/tarv/comune", "SELECT trim(volume) FROM volumi WHERE cod_ditta = '003'"), "/u2/tarv");
    EXPECT_EQ(fx.tarvValue("/u2/tarv/ditt003", "SELECT ar_attiva FROM regditta WHERE anno = 2023"), "U");
    EXPECT_EQ(fx.tarvValue("/usr/tarv/ditt002", "SELECT ar_attiva FROM regditta WHERE anno = 2024"), "N");
    EXPECT_EQ(fx.tarvValue("/usr/tarv/ditt001", "SELECT ar_attiva FROM regditta WHERE anno = 2023"), "S");
    EXPECT_EQ(fs::status(fx.dir() / "tarv" / "tarv.accounts").permissions() & fs::perms::others_read, fs::perms::none);
}

TEST_F(DemoInstallationTest, AnExistingInstallationIsNotOverwritten) {
    const auto before = slurp(ConfigFile::pathIn(fx.dir()));
    try {
        DemoInstallation::build(fx.dir());
        ADD_FAILURE() << "built over an installation";
    } catch (const Error& e) {
        EXPECT_NE(e.description().find("contiene già un'installazione"), std::string::npos) << e.description();
    }
    EXPECT_EQ(slurp(ConfigFile::pathIn(fx.dir())), before);
}

}  // namespace
}  // namespace zq

namespace zq {
namespace {

TEST(DemoInstallationFailure, AFailedBuildLeavesTheFolderAsItWas) {
    test::TempDir tmp("zq-demo-fail");
    // A file where the documents folder must go: the build fails half-way.
    std::ofstream(tmp / "documenti") << "occupato";
    try {
        DemoInstallation::build(tmp.path());
        ADD_FAILURE() << "built over a file";
    } catch (const Error& e) {
        EXPECT_EQ(e.description().rfind("Impossibile creare l'installazione dimostrativa in " + tmp.path().string() + ": ", 0),
                  0u)
            << e.description();
    }
    EXPECT_FALSE(fs::exists(tmp / "tarv"));
    EXPECT_FALSE(fs::exists(tmp / "Vizidore.mdb"));
    EXPECT_FALSE(fs::exists(tmp / "zel_QUIRNOVA.CFG"));
    EXPECT_EQ(slurp(tmp / "documenti"), "occupato");

    fs::remove(tmp / "documenti");
    DemoInstallation::build(tmp.path());
    EXPECT_TRUE(fs::exists(tmp / "zel_QUIRNOVA.CFG"));
}

}  // namespace
}  // namespace zq
