#include "app/session.h"
#include "dataaccess/resolver.h"

#include "app/config_file.h"
#include "common/error.h"
#include "demo_fixture.h"
#include "scripted_dialogs.h"
#include "tarv_queries.h"

#include <fstream>
#include <gtest/gtest.h>

namespace zq {
namespace {

using test::DemoFixture;
using test::ScriptedDialogs;

const std::string kLoginTitle = "zel_QUIRNOVA: Accesso a ZEL QUIRNOVA.";
const std::string kAccessTitle = "Accesso a zel_QUIRNOVA.";

class SessionTest : public ::testing::Test {
protected:
    DemoFixture fx;
    ScriptedDialogs dialogs;
};

TEST_F(SessionTest, LoginMarksTheUserWinUntilLogout) {
    Session s(dialogs, fx.dir());
    const std::string user = fx.loginUser();
    EXPECT_EQ(fx.porta(user), "");
    s.OpenConn(nullptr);
    EXPECT_TRUE(dialogs.messages().empty()) << dialogs.texts().front();
    EXPECT_EQ(fx.porta(user), "WIN");
    EXPECT_EQ(fx.porta("bianchi"), "tty03");
    ASSERT_TRUE(s.CnnTarv);
    ASSERT_TRUE(s.CnnArch);
    EXPECT_EQ(s.CnnArch->state(), 1);
    EXPECT_TRUE(s.TransOk);
    EXPECT_EQ(s.DataLogin, DateTime::today());
    EXPECT_EQ(s.StrTarv, test::tarvConnectionString(fx.config(), "/usr/tarv/comune"));

    s.CloseConn();
    EXPECT_EQ(fx.porta(user), "");
    EXPECT_FALSE(s.CnnTarv);
    EXPECT_FALSE(s.CnnArch);
    EXPECT_FALSE(s.CnnDitt);
}

TEST_F(SessionTest, EightLineFileLogsInWithTheOptionalValuesEmpty) {
    const Config c = fx.config();
    std::ofstream(ConfigFile::pathIn(fx.dir()), std::ios::binary)
        << c.PathTarv << "\n" << c.PathArch << "\n" << c.Azienda << "\n" << c.Citta << "\n" << c.Utente << "\n"
        << c.Password << "\n" << c.Host << "\n" << c.Server << "\n";
    Session s(dialogs, fx.dir());
    s.OpenConn(nullptr);
    EXPECT_TRUE(dialogs.messages().empty());
    EXPECT_EQ(fx.porta(fx.loginUser()), "WIN");
    EXPECT_EQ(s.cfg.RootOld, "");
    EXPECT_EQ(s.cfg.ConvBksl, "");
    EXPECT_EQ(s.cfg.GrpParm2, "");
    s.CloseConn();
}

TEST_F(SessionTest, LoginNameIsTrimmedInSqlButNotInTheConnectionString) {
    const std::string user = fx.loginUser();
    fx.editConfig([&](Config& c) { c.Utente = "  " + user + " "; });
    Session s(dialogs, fx.dir());
    s.OpenConn(nullptr);
    EXPECT_EQ(fx.porta(user), "WIN");
    EXPECT_EQ(tarvTargetOf(s.StrTarv).user, "  " + user + " ");
    s.CloseConn();
    EXPECT_EQ(fx.porta(user), "");
}

TEST_F(SessionTest, PasswordBlanksAreKeptAsStored) {
    const std::string stored = fx.config().Password;
    const std::string blanked = " " + stored + " ";
    fx.changeLoginPassword(blanked);
    fx.editConfig([&](Config& c) { c.Password = blanked; });
    {
        Session s(dialogs, fx.dir());
        s.OpenConn(nullptr);
        EXPECT_EQ(fx.porta(fx.loginUser()), "WIN");
        s.CloseConn();
    }
    fx.editConfig([&](Config& c) { c.Password = stored; });
    Session s(dialogs, fx.dir());
    EXPECT_THROW(s.OpenConn(nullptr), AbortProgram);
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].text, "Password errata!");
    EXPECT_EQ(dialogs.messages()[0].title, kAccessTitle);
    EXPECT_EQ(dialogs.messages()[0].icon, Icon::Information);
}

TEST_F(SessionTest, UnknownUserEndsTheProgramWithoutMarkingAnyone) {
    const std::string verdi = fx.addAccount("verdi", "Verdi2024");
    fx.editConfig([&](Config& c) {
        c.Utente = verdi;
        c.Password = "Verdi2024";
    });
    Session s(dialogs, fx.dir());
    EXPECT_THROW(s.OpenConn(nullptr), AbortProgram);
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].text, "Nome utente non valido!");
    EXPECT_EQ(dialogs.messages()[0].title, kLoginTitle);
    EXPECT_EQ(dialogs.messages()[0].icon, Icon::Exclamation);
    EXPECT_FALSE(s.CnnTarv);
    EXPECT_EQ(fx.tarvValue("/usr/tarv/comune", "SELECT count(*) FROM utenti WHERE porta = 'WIN'"), "0");
}

TEST_F(SessionTest, PortaWrittenByAnotherLoginBetweenTheStepsStopsAndIsKept) {
    // Another program logs in with the same name right after this one cleared porta.
    const std::string user = fx.loginUser();
    fx.rawExec("/usr/tarv/comune",
               fx.onServer()
                   ? "CREATE FUNCTION other_login() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                     "IF trim(NEW.nome) = '" + user + "' AND trim(NEW.porta) = '' THEN NEW.porta := 'tty05'; "
                     "END IF; RETURN NEW; END $$; "
                     "CREATE TRIGGER other_login BEFORE UPDATE OF porta ON utenti "
                     "FOR EACH ROW EXECUTE FUNCTION other_login()"
                   : "CREATE TRIGGER other_login AFTER UPDATE OF porta ON utenti "
                     "WHEN trim(NEW.nome) = '" + user + "' AND trim(NEW.porta) = '' "
                     "BEGIN UPDATE utenti SET porta = 'tty05' WHERE rowid = NEW.rowid; END");
    Session s(dialogs, fx.dir());
    EXPECT_THROW(s.OpenConn(nullptr), AbortProgram);
    ASSERT_EQ(dialogs.messages().size(), 1u);
    const Message& m = dialogs.messages()[0];
    EXPECT_EQ(m.text.rfind("L'Utente " + user + "\r\nè già attivo\r\nsulla porta tty05", 0), 0u) << m.text;
    EXPECT_EQ(m.title, kLoginTitle);
    EXPECT_EQ(m.icon, Icon::Information);
    EXPECT_EQ(fx.porta(user), "tty05");
}

TEST_F(SessionTest, NullPortaPassesAndASecondLoginSucceeds) {
    const std::string user = fx.loginUser();
    fx.rawExec("/usr/tarv/comune", "UPDATE utenti SET porta = NULL WHERE trim(nome) = '" + user + "'");
    Session first(dialogs, fx.dir());
    first.OpenConn(nullptr);
    EXPECT_EQ(fx.porta(user), "WIN");
    Session second(dialogs, fx.dir());
    second.OpenConn(nullptr);
    EXPECT_EQ(fx.porta(user), "WIN");
    EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(SessionTest, LoginNameWithAQuoteNeitherFailsNorTouchesOtherRows) {
    const std::string user = fx.loginUser();
    Session s(dialogs, fx.dir());
    s.OpenConn(nullptr);
    fx.rawExec("/usr/tarv/comune", "INSERT INTO utenti (nome, password, porta) VALUES ('d''amico', 'x', 'tty07')");
    // The name goes into the statement as a quoted literal: no syntax error, and a
    // name built to match every row matches none.
    s.cfg.Utente = "x' OR nome <> 'x";
    EXPECT_NO_THROW(s.LiberaPorta());
    EXPECT_EQ(fx.porta(user), "WIN");
    EXPECT_EQ(fx.porta("bianchi"), "tty03");
    s.cfg.Utente = " d'amico ";
    EXPECT_NO_THROW(s.LiberaPorta());
    EXPECT_EQ(fx.porta("d'amico"), "");
    EXPECT_EQ(fx.porta("bianchi"), "tty03");
    EXPECT_EQ(fx.porta(user), "WIN");
    EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(SessionTest, MissingCommonDatabaseIsAnAccessError) {
    fx.dropTarvDatabase("/usr/tarv/comune");
    Session s(dialogs, fx.dir());
    EXPECT_THROW(s.OpenConn(nullptr), AbortProgram);
    ASSERT_EQ(dialogs.messages().size(), 1u);
    const Message& m = dialogs.messages()[0];
    EXPECT_EQ(m.text.rfind("Errore di accesso al database!\n\nContattare l'assistenza Veltra e citare il seguente "
                           "errore:\n\n",
                           0),
              0u)
        << m.text;
    EXPECT_GT(m.text.size(), 90u);
    EXPECT_EQ(m.title, kAccessTitle);
    EXPECT_EQ(m.icon, Icon::Information);
    EXPECT_FALSE(s.CnnTarv);
}

TEST_F(SessionTest, MissingArchiveFileIsReportedAndTheProgramGoesOn) {
    const auto missing = fx.dir() / "nessuno.mdb";
    fx.editConfig([&](Config& c) { c.PathArch = missing.string(); });
    Session s(dialogs, fx.dir());
    s.OpenConn(nullptr);
    ASSERT_EQ(dialogs.messages().size(), 1u);
    const Message& m = dialogs.messages()[0];
    EXPECT_NE(m.text.find(" - "), std::string::npos);
    EXPECT_EQ(m.title, "");
    EXPECT_EQ(m.icon, Icon::None);
    EXPECT_EQ(m.buttons, Buttons::Ok);
    EXPECT_FALSE(s.CnnArch);
    EXPECT_FALSE(std::filesystem::exists(missing));
    EXPECT_EQ(fx.porta(fx.loginUser()), "WIN");
    s.CloseConn();
    EXPECT_EQ(fx.porta(fx.loginUser()), "");
}

struct BadConfigCase {
    const char* name;
    std::string bytes;
};

TEST_F(SessionTest, UnreadableConfigurationGoesThroughTheErrorReport) {
    const BadConfigCase cases[] = {
        {"three lines", "/usr/tarv/\r\n/x.mdb\r\nStudio\r\n"},
        {"binary", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::ofstream(ConfigFile::pathIn(fx.dir()), std::ios::binary) << c.bytes;
        ScriptedDialogs d;
        d.then(Answer::Retry).then(Answer::Abort);
        Session s(d, fx.dir());
        EXPECT_THROW(s.OpenConn(nullptr), AbortProgram);
        ASSERT_EQ(d.messages().size(), 2u);
        const Message& m = d.messages()[0];
        EXPECT_EQ(m.title, "zel_QUIRNOVA: Errore non previsto.");
        EXPECT_EQ(m.buttons, Buttons::AbortRetryIgnore);
        EXPECT_EQ(m.icon, Icon::Critical);
        EXPECT_NE(m.text.find("nel modulo: garInizio,\r\nalla routine: OpenConn,"), std::string::npos) << m.text;
        EXPECT_EQ(m.text.find("Query:"), std::string::npos);
        EXPECT_FALSE(s.CnnTarv);
        EXPECT_EQ(fx.porta(fx.loginUser()), "");
    }
}

TEST_F(SessionTest, IgnoredConfigurationErrorConnectsNothing) {
    std::ofstream(ConfigFile::pathIn(fx.dir()), std::ios::binary) << "a\r\nb\r\nc\r\n";
    dialogs.then(Answer::Ignore);
    Session s(dialogs, fx.dir());
    s.OpenConn(nullptr);
    EXPECT_EQ(dialogs.messages().size(), 1u);
    EXPECT_FALSE(s.CnnTarv);
    EXPECT_FALSE(s.CnnArch);
    EXPECT_EQ(s.cfg.PathTarv, "");
    s.CloseConn();
}

class Confirming : public FirstStartForm {
public:
    explicit Confirming(Config values, bool confirm) : values_(std::move(values)), confirm_(confirm) {}
    bool run(Config& cfg) override {
        ++calls;
        if (confirm_) cfg = values_;
        return confirm_;
    }
    int calls = 0;

private:
    Config values_;
    bool confirm_;
};

TEST_F(SessionTest, FirstStartCancelledEndsSilently) {
    std::filesystem::remove(ConfigFile::pathIn(fx.dir()));
    Confirming form(fx.config(), /*confirm=*/false);
    Session s(dialogs, fx.dir());
    EXPECT_THROW(s.OpenConn(&form), AbortProgram);
    EXPECT_EQ(form.calls, 1);
    EXPECT_TRUE(dialogs.messages().empty());
    EXPECT_EQ(fx.porta(fx.loginUser()), "");
}

TEST_F(SessionTest, FirstStartConfirmedUsesTheFormsValuesWithoutRereading) {
    std::filesystem::remove(ConfigFile::pathIn(fx.dir()));
    Confirming form(fx.config(), /*confirm=*/true);
    Session s(dialogs, fx.dir());
    s.OpenConn(&form);
    EXPECT_EQ(form.calls, 1);
    EXPECT_EQ(fx.porta(fx.loginUser()), "WIN");
    EXPECT_TRUE(s.CnnArch);
    s.CloseConn();
}

TEST_F(SessionTest, NoConfigurationAndNoFormEndsTheProgram) {
    std::filesystem::remove(ConfigFile::pathIn(fx.dir()));
    Session s(dialogs, fx.dir());
    EXPECT_THROW(s.OpenConn(nullptr), AbortProgram);
}

TEST_F(SessionTest, ConnDittFollowsVolumi) {
    Session s(dialogs, fx.dir());
    s.OpenConn(nullptr);
    struct Case {
        const char* code;
        const char* dbDitt;
    };
    const Case cases[] = {{"001", "/usr/tarv/ditt001"},  // volumi row with Null volume
                          {"002", "/usr/tarv/ditt002"},  // no volumi row
                          {"003", "/u2/tarv/ditt003"}};  // another volume
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        s.ConnDitt(c.code);
        EXPECT_EQ(s.DbDitt, c.dbDitt);
        ASSERT_TRUE(s.CnnDitt);
        EXPECT_EQ(s.CnnDitt->state(), 1);
        EXPECT_TRUE(s.TransOk);
        auto rs = s.CnnDitt->openRecordset("SELECT * FROM regditta", CursorType::Static, LockType::ReadOnly);
        EXPECT_GT(rs->recordCount(), 0);
    }
    const Config c = fx.config();
    EXPECT_EQ(s.StrDitt, "Provider=Ifxoledbc.2;Persist Security Info=False;host=" + c.Host +
                             ";serv=sqlexec;srvr=" + c.Server + ";User ID=" + c.Utente + ";password=" + c.Password +
                             ";Data Source=/u2/tarv/ditt003@" + c.Server);
    for (const char* closing : {"000", ""}) {
        s.ConnDitt("001");
        ASSERT_TRUE(s.CnnDitt);
        s.ConnDitt(closing);
        EXPECT_FALSE(s.CnnDitt) << closing;
    }
    s.CloseConn();
}

TEST_F(SessionTest, ConnDittBlankVolumeAndLowerCasedCode) {
    fx.rawExec("/usr/tarv/comune", "INSERT INTO volumi (cod_ditta, volume) VALUES ('004', '   ')");
    Session s(dialogs, fx.dir());
    s.OpenConn(nullptr);
    EXPECT_THROW(s.ConnDitt("004"), Error);
    EXPECT_EQ(s.DbDitt, "/ditt004");
    EXPECT_FALSE(s.CnnDitt);

    EXPECT_THROW(s.ConnDitt(" AB1 "), Error);
    EXPECT_EQ(s.DbDitt, "/usr/tarv/dittab1");
    EXPECT_TRUE(dialogs.messages().empty());
    s.CloseConn();
}

TEST_F(SessionTest, RecordsetRoutinesReportThroughTheErrorReport) {
    Session s(dialogs, fx.dir());
    s.OpenConn(nullptr);
    const std::string bad = "SELECT * FROM tabella_inesistente";
    dialogs.then(Answer::Retry).then(Answer::Ignore);
    auto rs = s.OpenReadRst(bad, *s.CnnTarv);
    ASSERT_EQ(dialogs.messages().size(), 2u);
    const Message& m = dialogs.messages()[0];
    EXPECT_NE(m.text.find("nel modulo: ,\r\nalla routine: OpenReadRst,"), std::string::npos) << m.text;
    EXPECT_NE(m.text.find(",\r\nQuery: " + bad), std::string::npos);
    ASSERT_TRUE(rs);
    EXPECT_FALSE(rs->isOpen());
    EXPECT_TRUE(rs->eof());
    s.CloseRst(rs);
    EXPECT_FALSE(rs);

    dialogs.clear();
    dialogs.then(Answer::Abort);
    EXPECT_THROW(s.OpenUpdateRst(bad, *s.CnnTarv), AbortProgram);
    EXPECT_NE(dialogs.messages().at(0).text.find("alla routine: OpenUpdateRst,"), std::string::npos);

    auto ok = s.OpenUpdateRst("SELECT * FROM utenti", *s.CnnTarv);
    EXPECT_EQ(std::to_string(ok->recordCount()),
              fx.tarvValue("/usr/tarv/comune", "SELECT count(*) FROM utenti"));
    EXPECT_GE(ok->recordCount(), 2);
    s.CloseRst(ok);
    s.CloseConn();
}

}  // namespace
}  // namespace zq
