#include "app/config_file.h"

#include "common/error.h"
#include "temp_dir.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace zq {
namespace {

void writeRaw(const std::filesystem::path& p, const std::string& bytes) {
    std::ofstream(p, std::ios::binary) << bytes;
}

std::string readRaw(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string joinLines(const std::vector<std::string>& lines, const std::string& eol) {
    std::string out;
    for (const auto& l : lines) out += l + eol;
    return out;
}

const std::vector<std::string> kEight = {"/usr/tarv/", "/arch/Vizidore.mdb", "Studio Rossi", "Modena",
                                          " tarv ", "  pass word ", "server", "linux_se"};

TEST(ConfigFile, EightLinesLeaveTheOptionalValuesAsTheyWere) {
    test::TempDir dir;
    writeRaw(dir / "c.CFG", joinLines(kEight, "\r\n"));
    Config cfg;
    cfg.ConvBksl = "before";
    ConfigFile::readStartup(dir / "c.CFG", cfg);
    EXPECT_EQ(cfg.PathTarv, "/usr/tarv/");
    EXPECT_EQ(cfg.Server, "linux_se");
    EXPECT_EQ(cfg.RootOld, "");
    EXPECT_EQ(cfg.ConvBksl, "before");
    EXPECT_EQ(cfg.GrpParm2, "");
}

TEST(ConfigFile, BlanksAroundValuesAreKept) {
    test::TempDir dir;
    writeRaw(dir / "c.CFG", joinLines(kEight, "\r\n"));
    Config cfg;
    ConfigFile::readStartup(dir / "c.CFG", cfg);
    EXPECT_EQ(cfg.Utente, " tarv ");
    EXPECT_EQ(cfg.Password, "  pass word ");
}

TEST(ConfigFile, ElevenLinesThenWritingGivesThirteen) {
    test::TempDir dir;
    auto lines = kEight;
    lines.insert(lines.end(), {"D:\\ARCHIVI\\", "/dati/archivi/", "S"});
    writeRaw(dir / "c.CFG", joinLines(lines, "\r\n"));
    Config cfg;
    ConfigFile::readStartup(dir / "c.CFG", cfg);
    EXPECT_EQ(cfg.RootOld, "D:\\ARCHIVI\\");
    EXPECT_EQ(cfg.ConvBksl, "S");
    EXPECT_EQ(cfg.GrpParm1, "");

    ConfigFile::write(dir / "c.CFG", cfg);
    auto written = lines;
    written.insert(written.end(), {"", ""});
    EXPECT_EQ(readRaw(dir / "c.CFG"), joinLines(written, "\r\n"));
}

TEST(ConfigFile, LineFeedOrCarriageReturnOnlyAndMissingFinalLineEnd) {
    test::TempDir dir;
    for (const std::string eol : {"\n", "\r"}) {
        SCOPED_TRACE(eol == "\r" ? "CR" : "LF");
        writeRaw(dir / "c.CFG", joinLines(kEight, eol) + "R1" + eol + "R2" + eol + "N" + eol + "7" + eol + "GRP");
        Config cfg;
        ConfigFile::readStartup(dir / "c.CFG", cfg);
        EXPECT_EQ(cfg.PathTarv, "/usr/tarv/");
        EXPECT_EQ(cfg.Server, "linux_se");
        EXPECT_EQ(cfg.ConvBksl, "N");
        EXPECT_EQ(cfg.GrpParm1, "7");
        EXPECT_EQ(cfg.GrpParm2, "GRP");
    }
}

TEST(ConfigFile, Windows1252AndUtf8AreBothRead) {
    test::TempDir dir;
    auto lines = kEight;
    lines[3] = "Forl\xEC";  // Forlì in Windows-1252
    writeRaw(dir / "ansi.CFG", joinLines(lines, "\r\n"));
    lines[3] = "Forl\xC3\xAC";
    writeRaw(dir / "utf8.CFG", "\xEF\xBB\xBF" + joinLines(lines, "\r\n"));
    Config a, b;
    ConfigFile::readStartup(dir / "ansi.CFG", a);
    ConfigFile::readStartup(dir / "utf8.CFG", b);
    EXPECT_EQ(a.Citta, "Forl\xC3\xAC");
    EXPECT_EQ(b.Citta, "Forl\xC3\xAC");
    EXPECT_EQ(b.PathTarv, "/usr/tarv/");
}

TEST(ConfigFile, UnreadableFilesAreRefusedWithoutAssigningAnything) {
    test::TempDir dir;
    struct Case {
        const char* name;
        std::string bytes;
        long number;
        const char* fragment;
    };
    const Case cases[] = {
        {"three lines", "a\r\nb\r\nc\r\n", 62, "ha 3 righe"},
        {"empty", "", 62, "ha 0 righe"},
        {"binary", std::string("\x7F" "ELF\x02\x01\x01\0\0\0\r\n", 14) + joinLines(kEight, "\r\n"), 62,
         "non è un file di testo"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeRaw(dir / "c.CFG", c.bytes);
        Config cfg;
        cfg.PathTarv = "untouched";
        try {
            ConfigFile::readStartup(dir / "c.CFG", cfg);
            ADD_FAILURE() << "no error";
        } catch (const Error& e) {
            EXPECT_EQ(e.number(), c.number);
            EXPECT_NE(e.description().find(c.fragment), std::string::npos) << e.description();
        }
        EXPECT_EQ(cfg.PathTarv, "untouched");
    }
}

TEST(ConfigFile, MissingFileIsAnError) {
    test::TempDir dir;
    Config cfg;
    EXPECT_THROW(ConfigFile::readStartup(dir / "none.CFG", cfg), Error);
    EXPECT_FALSE(ConfigFile::readLenient(dir / "none.CFG", cfg));
}

TEST(ConfigFile, LenientReaderTakesWhatThereIs) {
    test::TempDir dir;
    writeRaw(dir / "c.CFG", "/opt/tarv/\r\n/x.mdb\r\n");
    Config cfg;
    cfg.Utente = "tarv";
    cfg.ConvBksl = "S";
    EXPECT_TRUE(ConfigFile::readLenient(dir / "c.CFG", cfg));
    EXPECT_EQ(cfg.PathTarv, "/opt/tarv/");
    EXPECT_EQ(cfg.PathArch, "/x.mdb");
    EXPECT_EQ(cfg.Utente, "tarv");
    EXPECT_EQ(cfg.ConvBksl, "S");
}

TEST(ConfigFile, WrittenFileIsPrivateAndReplacesAWiderOne) {
    test::TempDir dir;
    writeRaw(dir / "c.CFG", "old\r\n");
    ::chmod((dir / "c.CFG").c_str(), 0644);
    Config cfg;
    cfg.Password = "segreta";
    ConfigFile::write(dir / "c.CFG", cfg);
    struct stat st {};
    ASSERT_EQ(::stat((dir / "c.CFG").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_FALSE(std::filesystem::exists(dir / "c.CFG.tmp"));
    Config back;
    ConfigFile::readStartup(dir / "c.CFG", back);
    EXPECT_EQ(back.Password, "segreta");
}

TEST(ConfigFile, ValueWithLineBreakIsRefusedAndOldFileKept) {
    test::TempDir dir;
    writeRaw(dir / "c.CFG", "old\r\n");
    Config cfg;
    cfg.Citta = "Mo\r\ndena";
    EXPECT_THROW(ConfigFile::write(dir / "c.CFG", cfg), Error);
    EXPECT_EQ(readRaw(dir / "c.CFG"), "old\r\n");
}

TEST(ConfigFile, NameIsProductNameDotCfg) {
    EXPECT_EQ(ConfigFile::pathIn("/opt/zq"), std::filesystem::path("/opt/zq/zel_QUIRNOVA.CFG"));
}

}  // namespace
}  // namespace zq
