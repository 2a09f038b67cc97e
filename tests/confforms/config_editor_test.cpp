// The configuration form's engine: defaults, the lenient load, the checks, the
// connection test with the entered values and the file written whole.

#include "config/conf/config_editor.h"

#include "app/config_file.h"
#include "conf_fixture.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace zq {
namespace {

using test::ConfFixture;
using test::ScriptedDialogs;
using test::TempDir;

const char* const kCaption = "Parametri di Configurazione";

class ConfigEditorTest : public ::testing::Test, protected ConfFixture {
protected:
    // Confirming `entered` (a new city) is refused: neither the file nor `target` changes.
    void expectRefused(const Config& entered, const std::string& repeated, Config& target) {
        const std::string before = configBytes();
        EXPECT_FALSE(editor.confirm(entered, repeated, target));
        EXPECT_EQ(configBytes(), before);
        EXPECT_EQ(target.Citta, fx.config().Citta);
    }
    ConfigEditor editor{dialogs, fx.dir(), kCaption};
};

TEST(ConfigEditorDefaults, FirstStartProposesTheDefaults) {
    TempDir dir("zq-conf");
    ScriptedDialogs dialogs;
    Config current;
    current.Server = "orvo_se";
    current.RootOld = "D:\\ARCHIVI\\";
    current.GrpParm1 = "12";
    const Config c = ConfigEditor(dialogs, dir.path(), kCaption).load(current);
    EXPECT_EQ(c.PathTarv, "/usr/tarv/");
    EXPECT_EQ(c.PathArch, (dir.path() / "Vizidore.mdb").string());
    EXPECT_EQ(c.Azienda, "Veltra");
    EXPECT_EQ(c.Citta, "Milano");
    EXPECT_EQ(c.Utente, "tarv");
    EXPECT_EQ(c.Password, "");
    EXPECT_EQ(c.Host, "server");
    EXPECT_EQ(c.ConvBksl, "S");
    // Not among the defaults: kept as they were in memory.
    EXPECT_EQ(c.Server, "orvo_se");
    EXPECT_EQ(c.RootOld, "D:\\ARCHIVI\\");
    EXPECT_EQ(c.GrpParm1, "12");
    EXPECT_TRUE(dialogs.messages().empty());
}

TEST(ConfigEditorDefaults, AShortFileLeavesTheLaterDefaults) {
    TempDir dir("zq-conf");
    ScriptedDialogs dialogs;
    { std::ofstream(ConfigFile::pathIn(dir.path()), std::ios::binary) << "/u/tarv/\r\n/x/V.mdb\r\nStudio\r\n"; }
    const Config c = ConfigEditor(dialogs, dir.path(), kCaption).load(Config{});
    EXPECT_EQ(c.PathTarv, "/u/tarv/");
    EXPECT_EQ(c.PathArch, "/x/V.mdb");
    EXPECT_EQ(c.Azienda, "Studio");
    EXPECT_EQ(c.Citta, "Milano");
    EXPECT_EQ(c.Utente, "tarv");
    EXPECT_EQ(c.ConvBksl, "S");
}

TEST_F(ConfigEditorTest, PathMustEndWithSlash) {
    const struct {
        const char* path;
        bool ok;
    } cases[] = {{"/usr/tarv/", true}, {"/", true}, {"/usr/tarv", false}, {"", false}, {"/usr/tarv/ ", false},
                 {"\\usr\\tarv\\", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        dialogs.clear();
        EXPECT_EQ(editor.checkPathTarv(c.path), c.ok);
        if (c.ok) {
            EXPECT_TRUE(dialogs.messages().empty());
            continue;
        }
        test::expectOneMessage(dialogs, "Percorso archivi errato. \r\nDeve terminare con '/'.", kCaption,
                               Icon::Information);
    }
}

TEST_F(ConfigEditorTest, GroupingParametersInMemoryAreWrittenAsTheyAre) {
    Config target = fx.config();
    target.GrpParm1 = "42";
    Config entered = target;
    entered.Citta = "Modena";
    entered.GrpParm1 = "not from the form";
    ASSERT_TRUE(editor.confirm(entered, entered.Password, target));
    const auto lines = ConfigFile::readLines(configFile());
    ASSERT_EQ(lines.size(), 13u);
    EXPECT_EQ(lines[3], "Modena");
    EXPECT_EQ(lines[11], "42");
    EXPECT_EQ(target.Citta, "Modena");
}

// The test uses the entered values, not the stored ones.
TEST_F(ConfigEditorTest, ConnectionTestUsesTheEnteredValues) {
    Config target = fx.config();
    Config entered = target;
    entered.Password = "sbagliata";
    entered.Citta = "Parma";
    expectRefused(entered, "sbagliata", target);
    test::expectOneMessage(dialogs, "Errore nella connessione. Ricontrollare i parametri.", kCaption,
                           Icon::Exclamation);

    // Stored values wrong, entered right: it connects.
    dialogs.clear();
    target.Password = "sbagliata";
    entered.Password = fx.config().Password;
    EXPECT_TRUE(editor.confirm(entered, entered.Password, target));
    EXPECT_EQ(target.Password, "Quirnova24");
    EXPECT_EQ(ConfigFile::readLines(configFile())[3], "Parma");
}

TEST_F(ConfigEditorTest, PasswordsDifferingByATrailingBlankAreRefused) {
    Config target = fx.config();
    Config entered = target;
    entered.Citta = "Parma";
    expectRefused(entered, entered.Password + " ", target);
    test::expectOneMessage(dialogs, "Le password inserite non coincidono!", kCaption, Icon::Exclamation);
}

TEST_F(ConfigEditorTest, AFileThatCannotBeWrittenIsReportedNotConfirmed) {
    Config target = fx.config();
    Config entered = target;
    entered.Citta = "riga\r\nspezzata";  // the writer refuses line breaks inside a value
    dialogs.then(Answer::Ignore);
    expectRefused(entered, entered.Password, target);
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].buttons, Buttons::AbortRetryIgnore);
    EXPECT_NE(dialogs.messages()[0].text.find("frmConf"), std::string::npos);
}

TEST_F(ConfigEditorTest, ConnectionTestReachesTheDatabaseTheEnteredPathNames) {
    Config entered = fx.config();
    entered.PathTarv = "/usr/altro/";
    EXPECT_FALSE(editor.testConnection(entered));
    EXPECT_TRUE(dialogs.saw("Errore nella connessione"));
    EXPECT_EQ(ConfigEditor::testConnectionString(fx.config()),
              "Provider=Ifxoledbc.2;Persist Security Info=False;host=server;serv=sqlexec;srvr=linux_se;"
              "User ID=tarv;password=Quirnova24;Data Source=/usr/tarv/comune@linux_se");
}

}  // namespace
}  // namespace zq
