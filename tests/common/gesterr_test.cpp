#include "common/gesterr.h"

#include "common/product.h"
#include "scripted_dialogs.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace zq {
namespace {

const std::string kCrLf = "\r\n";

TEST(GestErr, TextHasAQueryLineOnlyForARealQuery) {
    const Error e(kErrProviderFailure, "Tabella inesistente", "Microsoft OLE DB Provider", 0);
    const std::string body = test::lines({"Errore -2147467259 Tabella inesistente", "nel modulo: frmColl,",
                                          "alla routine: CollTable,", "generato da: Microsoft OLE DB Provider,",
                                          "errore DLL: 0"});
    const struct {
        const char* query;
        std::string expected;
    } cases[] = {
        {"", body},
        {"    ", body},
        {"  SELECT 1 ", body + "," + kCrLf + "Query:   SELECT 1 "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("query [") + c.query + "]");
        EXPECT_EQ(gestErrText(e, "frmColl", "CollTable", c.query), c.expected);
    }
}

TEST(GestErr, AnswerTable) {
    const struct {
        Answer answer;
        int result;
    } cases[] = {
        {Answer::Retry, 1}, {Answer::Ignore, 2}, {Answer::Abort, 0}, {Answer::Cancel, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.answer));
        test::ScriptedDialogs dialogs;
        dialogs.then(c.answer);
        EXPECT_EQ(GestErr(dialogs, Error(3021, "Nessun record"), "m", "r", ""), c.result);
        ASSERT_EQ(dialogs.messages().size(), 1u);
        const Message& m = dialogs.messages().front();
        EXPECT_EQ(m.title, "zel_QUIRNOVA: Errore non previsto.");
        EXPECT_EQ(m.buttons, Buttons::AbortRetryIgnore);
        EXPECT_EQ(m.icon, Icon::Critical);
        EXPECT_EQ(m.text.rfind("Errore 3021 Nessun record" + kCrLf, 0), 0u);
    }
}

// Retry runs the statement again, Ignore goes on after it, Abort ends the program.
TEST(RunGuarded, RetryIgnoreAndAbort) {
    test::ScriptedDialogs dialogs;
    int runs = 0;
    EXPECT_TRUE(runGuarded(dialogs, "m", "r", "", [&] { ++runs; }));
    EXPECT_TRUE(dialogs.messages().empty());

    dialogs.then(Answer::Retry).then(Answer::Retry);
    runs = 0;
    EXPECT_TRUE(runGuarded(dialogs, "frmDupl", "CreaArch", "DROP TABLE x", [&] {
        if (++runs < 3) throw Error(-2147217865, "Tabella bloccata");
    }));
    EXPECT_EQ(runs, 3);
    ASSERT_EQ(dialogs.messages().size(), 2u);
    EXPECT_NE(dialogs.messages()[0].text.find("Query: DROP TABLE x"), std::string::npos);

    dialogs.clear();
    dialogs.then(Answer::Ignore);
    runs = 0;
    EXPECT_FALSE(runGuarded(dialogs, "m", "r", "", [&] {
        ++runs;
        throw std::runtime_error("disco pieno");
    }));
    EXPECT_EQ(runs, 1);
    ASSERT_EQ(dialogs.messages().size(), 1u);
    // A foreign exception is reported as a provider failure with its own text.
    EXPECT_EQ(dialogs.messages()[0].text.rfind("Errore -2147467259 disco pieno" + kCrLf, 0), 0u);

    dialogs.clear();
    EXPECT_THROW(runGuarded(dialogs, "m", "r", "", [] { throw AbortProgram(3); }), AbortProgram);
    EXPECT_TRUE(dialogs.messages().empty()) << "an AbortProgram passes through unreported";
    dialogs.then(Answer::Abort);
    EXPECT_THROW(runGuarded(dialogs, "m", "r", "", [] { throw Error(5, "x"); }), AbortProgram);
    EXPECT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.pendingAnswers(), 0u);
}

TEST(ToError, KeepsErrorsAndNamesOverflow) {
    const Error kept = toError(Error(-2147217900, "Sintassi", "Informix", 7).withDriverState("42000", -201));
    EXPECT_EQ(kept.number(), -2147217900);
    EXPECT_EQ(kept.source(), "Informix");
    EXPECT_EQ(kept.systemCode(), 7);
    EXPECT_EQ(kept.sqlState(), "42000");
    EXPECT_EQ(kept.nativeCode(), -201);

    const Error overflow = toError(std::overflow_error("Overflow"));
    EXPECT_EQ(overflow.number(), 6);
    EXPECT_EQ(overflow.source(), kProductName);
    EXPECT_EQ(toError(std::invalid_argument("x")).number(), kErrProviderFailure);
}

// A link's definition travels in SQL texts and errors: its password never shows.
TEST(MaskPasswords, EveryPasswordValueIsHidden) {
    const struct {
        const char* text;
        const char* shown;
    } cases[] = {
        {"connect='ODBC;DATABASE=/d;userid=u;password=Segreto;DSN=x'", "connect='ODBC;DATABASE=/d;userid=u;password=********;DSN=x'"},
        {"x USING tarvlink(connect='ODBC;PWD={a;b}}c};UID=u', source='a1')", "x USING tarvlink(connect='ODBC;PWD=********;UID=u', source='a1')"},
        {"connect='password=d''amico', source='t'", "connect='password=********', source='t'"},
        {"User ID=u;password=;Data Source=x", "User ID=u;password=;Data Source=x"},
        {"PWD=d''", "PWD=********"},  // a doubled quote at the very end is still the password's
        {"La password è errata", "La password è errata"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(maskPasswords(c.text), c.shown);
        EXPECT_EQ(Error(1, c.text).description(), c.shown);
    }
}

}  // namespace
}  // namespace zq
