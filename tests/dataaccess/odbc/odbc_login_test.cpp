// The login of the program (Session::ConnTarv) against a TARV common database on the
// server, through the ODBC engine: the error numbers and texts it branches on.

#include "app/session.h"
#include "common/error.h"
#include "dataaccess/odbc/odbc_engine.h"
#include "pg_server.h"
#include "scripted_dialogs.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

namespace zq::test {
namespace {

class OdbcLoginTest : public ::testing::Test {
protected:
    void SetUp() override {
        registerOdbcEngine();
        tarv_ = std::make_unique<PgTarv>();
        // The common database is PathTarv + "comune": the name every installation uses.
        tarv_->createDatabase("/usr/tarv/comune");
        tarv_->execute("/usr/tarv/comune",
                       "CREATE TABLE utenti (nome CHAR(20), password CHAR(20), porta CHAR(10));"
                       "INSERT INTO utenti VALUES ('" + tarv_->user() + "', '', NULL)");
        session_ = std::make_unique<Session>(dialogs_, dir_.path());
        session_->cfg.PathTarv = "/usr/tarv/";
        session_->cfg.Host = tarv_->host();
        session_->cfg.Server = tarv_->serverName();
        session_->cfg.Utente = tarv_->user();
        session_->cfg.Password = tarv_->password();
        session_->engines = tarv_->settings();
    }

    std::string porta() {
        auto c = openConnection(tarv_->providerString("/usr/tarv/comune"), tarv_->settings());
        auto rs = c->openRecordset("SELECT porta FROM utenti", CursorType::Static, LockType::ReadOnly);
        return rs->field(0).isNull() ? "<null>" : rs->field(0).toText();
    }

    ScriptedDialogs dialogs_;
    TempDir dir_{"zq-odbc-login"};
    std::unique_ptr<PgTarv> tarv_;
    std::unique_ptr<Session> session_;
};

TEST_F(OdbcLoginTest, LogsInAndMarksTheUserActive) {
    session_->ConnTarv();
    EXPECT_TRUE(dialogs_.messages().empty()) << (dialogs_.texts().empty() ? "" : dialogs_.texts().front());
    ASSERT_TRUE(session_->CnnTarv);
    EXPECT_EQ(session_->CnnTarv->engineName(), "odbc");
    EXPECT_TRUE(session_->TransOk);
    EXPECT_EQ(porta(), "WIN       ");
    session_->LiberaPorta();
    EXPECT_EQ(porta(), "          ");
}

TEST_F(OdbcLoginTest, AWrongPasswordShowsPasswordErrata) {
    session_->cfg.Password = "sbagliata";
    EXPECT_THROW(session_->ConnTarv(), AbortProgram);
    ASSERT_EQ(dialogs_.texts().size(), 1u);
    EXPECT_EQ(dialogs_.texts().front(), "Password errata!");
    EXPECT_EQ(porta(), "<null>");
}

TEST_F(OdbcLoginTest, AnUnreachableServerShowsTheDriversText) {
    session_->engines.odbcPort = "1";
    EXPECT_THROW(session_->ConnTarv(), AbortProgram);
    ASSERT_EQ(dialogs_.texts().size(), 1u);
    const std::string text = dialogs_.texts().front();
    EXPECT_EQ(text.rfind("Errore di accesso al database!\n\nContattare l'assistenza Veltra", 0), 0u) << text;
    EXPECT_GT(text.size(), std::string("Errore di accesso al database!\n\nContattare l'assistenza Veltra e citare il "
                                       "seguente errore:\n\n").size());
}

}  // namespace
}  // namespace zq::test
