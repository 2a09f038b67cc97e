// Naming rules of the duplication operations: serials, folder names, identity file.

#include "duplication/archive_serial.h"
#include "duplication/folder_names.h"
#include "duplication/identity_file.h"
#include "process_run.h"
#include "scripted_dialogs.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace zq {
namespace {

TEST(ArchiveSerialTest, DayBeforeMonthAndFourUpperCaseHexDigits) {
    const struct {
        DateTime moment;
        unsigned random;
        const char* serial;
    } cases[] = {
        {{2007, 3, 5, 14, 9, 30}, 163, "07050314093000A3"},
        {{2008, 12, 31, 23, 59, 59}, 0xABCD, "083112235959ABCD"},
        {{2010, 1, 2, 0, 0, 0}, 1, "1002010000000001"},
        {{2024, 7, 9, 8, 5, 3}, 65535, "240907080503FFFF"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.serial);
        EXPECT_EQ(ArchiveSerial::make(c.moment, c.random), c.serial);
        EXPECT_TRUE(ArchiveSerial::wellFormed(c.serial));
    }
    EXPECT_EQ(ArchiveSerial::make({2008, 12, 31, 23, 59, 59}, 5).substr(0, 12), "083112235959");
}

TEST(ArchiveSerialTest, DefaultRandomStaysWithinOneTo65535) {
    auto r = ArchiveSerial::defaultRandom();
    for (int i = 0; i < 2000; ++i) {
        const unsigned v = r();
        ASSERT_GE(v, 1u);
        ASSERT_LE(v, 65535u);
    }
}

TEST(FolderNamesTest, AreaAndArchiveFolders) {
    const struct {
        const char* what;
        std::string (*rule)(const std::string&, const std::string&);
        const char *parent, *name, *folder;
    } cases[] = {
        {"area of three words", &FolderNames::areaFolder, "D:\\Archivi\\", "Fatture Acquisto 2005", "D:\\Archivi\\Fatt_Acqu_2005"},
        {"area parent without separator", &FolderNames::areaFolder, "D:\\Archivi", "Fatture Acquisto 2005", "D:\\Archivi\\Fatt_Acqu_2005"},
        {"underscore is a word break in an area", &FolderNames::areaFolder, "/srv/arch/", "Doc_Vari", "/srv/arch/Doc_Vari"},
        {"two blanks give a doubled underscore", &FolderNames::areaFolder, "/a/", "Fatture  Acquisto", "/a/Fatt__Acqu"},
        {"one word", &FolderNames::areaFolder, "/a", "Contabilità", "/a/Cont"},
        {"underscore is no word break in an archive", &FolderNames::archiveFolder, "/srv/arch/Doc_Vari/", "Doc_Vari", "/srv/arch/Doc_Vari/Doc_"},
        {"archive name trimmed", &FolderNames::archiveFolder, "/a/B/", "  Fatture Fornitori 2024 ", "/a/B/Fatt_Forn_2024"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.rule(c.parent, c.name), c.folder);
    }
}

TEST(FolderNamesTest, NomeCartReadsUnderscoresAsBreaks) {
    test::ScriptedDialogs dialogs;
    const std::string year = FolderNames::NomeCart(dialogs, "ANNO", "D:\\Arch", "2009");
    EXPECT_EQ(year, "D:\\Arch\\2009");
    EXPECT_EQ(FolderNames::NomeCart(dialogs, "AREA", year, "Fatture_Acquisto"), "D:\\Arch\\2009\\Fatt_Acqu");
    EXPECT_EQ(FolderNames::NomeCart(dialogs, "DOCUMENTI", "/x/2009/Fatt_Acqu/", "Doc_Vari"), "/x/2009/Fatt_Acqu/Doc_Vari");
    EXPECT_TRUE(dialogs.messages().empty());
}

TEST(FolderNamesTest, NomeCartWithBlankParentSaysSoAndGivesNothing) {
    test::ScriptedDialogs dialogs;
    EXPECT_EQ(FolderNames::NomeCart(dialogs, "AREA", "   ", "Fatture"), "");
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].text,
              "Creazione cartella AREA.\r\nIl percorso dell'area parent è obbligatorio.");
    EXPECT_EQ(dialogs.messages()[0].title, "zel_QUIRNOVA: Duplicazione annualità.");
    EXPECT_EQ(dialogs.messages()[0].icon, Icon::Information);
}

TEST(FolderNamesTest, GroupingFolderOfTheCompany) {
    const struct {
        const char *grp, *code, *name, *folder;
    } cases[] = {
        {"/dati/ragg/", "12", "Z.edo Vurir Avi", "/dati/ragg/12_Z_edo_Vuri/"},
        {"D:\\Ragg\\", " 001 ", "Rossi Mario & Figli srl", "D:\\Ragg\\001_Rossi_Mari\\"},
        {"/r/", "002", "A.B.", "/r/002_A_B_/"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FolderNames::groupingFolder(c.grp, c.code, c.name), c.folder);
    }
}

TEST(FolderNamesTest, MakeFolderCreatesAndRefusesAFileInTheWay) {
    test::TempDir dir;
    EXPECT_TRUE(FolderNames::makeFolder((dir.path() / "a" / "b").string()));
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "a" / "b"));
    EXPECT_TRUE(FolderNames::makeFolder((dir.path() / "a").string()));
    std::ofstream(dir.path() / "file") << "x";
    EXPECT_FALSE(FolderNames::makeFolder((dir.path() / "file" / "sub").string()));
    EXPECT_FALSE(FolderNames::makeFolder(""));
}

TEST(IdentityFileTest, SevenCrLfLinesNeverWrittenOverAnother) {
    test::TempDir dir;
    const std::string folder = dir.path().string() + "/";
    const std::string first = "\r\n083112235959ABCD\r\nFatture Acquisto\r\n31/12/2008\r\n\r\n\r\n\r\n";
    IdentityFile::write(folder, "083112235959ABCD", "Fatture Acquisto", {2008, 12, 31, 23, 59, 59});
    EXPECT_EQ(test::readFile(folder + "DURuv.id"), first);
    EXPECT_THROW(IdentityFile::write(folder, "X", "Y", {2009, 1, 2}), std::exception);
    EXPECT_EQ(test::readFile(folder + "DURuv.id"), first);
    EXPECT_THROW(IdentityFile::write("/nonexistent-folder-zq/", "S", "N", {2009, 1, 2}), std::exception);
}

TEST(FolderNamesTest, NamesThatCannotBecomeAFolderInsideItsParent) {
    for (const char* name : {"Fatture Acquisto 2025", "Doc_Vari", "Rossi & C. s.n.c.", "Contabilità", ".. e altro", "_"})
        EXPECT_TRUE(FolderNames::usableName(name)) << name;
    for (const char* name : {"", "   ", "..", ".", "../../../escape", "a/b", "..\\x", "N:1", "Tab\tella",
                             "Nome \"X\""})
        EXPECT_FALSE(FolderNames::usableName(name)) << name;
}

TEST(FolderNamesTest, OwnFolderIsNumberedWhenTheNameIsTaken) {
    test::TempDir dir;
    const std::string base = (dir.path() / "Docu_Soci").string();
    EXPECT_EQ(FolderNames::makeOwnFolder(base + "/"), base + "/");
    std::ofstream(base + "_2") << "a file in the way";
    EXPECT_EQ(FolderNames::makeOwnFolder(base), base + "_3");
    EXPECT_EQ(FolderNames::makeOwnFolder((dir.path() / "nuova" / "Cont").string()), (dir.path() / "nuova" / "Cont").string());
    EXPECT_EQ(FolderNames::makeOwnFolder("/proc/zq-not-here"), "");
}

}  // namespace
}  // namespace zq
