#include "cli/terminal_dialogs.h"

#include <gtest/gtest.h>
#include <sstream>

namespace zq {
namespace {

TEST(TerminalDialogs, PrintedFormByIcon) {
    struct Case {
        Message m;
        const char* expected;
    };
    const Case cases[] = {
        {{"Collegamento tabelle effettuato con successo.", "Collegamento tabelle al database TARV", Buttons::Ok,
          Icon::Information},
         "INFO Collegamento tabelle al database TARV: Collegamento tabelle effettuato con successo."},
        {{"ATTENZIONE!\r\nEsiste già un'altra tabella collegata\r\ncon gli stessi parametri.", "T", Buttons::Ok,
          Icon::Exclamation},
         "WARNING T: ATTENZIONE!\n    Esiste già un'altra tabella collegata\n    con gli stessi parametri."},
        {{"Errore 3 x\r\nnel modulo: m,", "zel_QUIRNOVA: Errore non previsto.", Buttons::AbortRetryIgnore,
          Icon::Critical},
         "ERROR zel_QUIRNOVA: Errore non previsto.: Errore 3 x\n    nel modulo: m,"},
        {{"Vuoi collegare?", "", Buttons::YesNo, Icon::Question}, "QUESTION zel_QUIRNOVA: Vuoi collegare?"},
        {{"53 - File non trovato", "", Buttons::Ok, Icon::None}, "INFO zel_QUIRNOVA: 53 - File non trovato"},
        {{"a\n\nb", "", Buttons::Ok, Icon::None}, "INFO zel_QUIRNOVA: a\n    \n    b"},
        {{"Scegli", "", Buttons::OkCancel, Icon::None}, "QUESTION zel_QUIRNOVA: Scegli"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.m.text);
        EXPECT_EQ(TerminalDialogs::format(c.m), c.expected);
    }
}

struct AnswerCase {
    TerminalDialogs::Mode mode;
    bool interactive;
    std::string input;
    Buttons buttons;
    Answer expected;
};

TEST(TerminalDialogs, AnswersByFlagTerminalOrDefault) {
    using M = TerminalDialogs::Mode;
    const AnswerCase cases[] = {
        {M::Yes, false, "", Buttons::YesNo, Answer::Yes},
        {M::No, false, "", Buttons::YesNo, Answer::No},
        {M::Yes, false, "", Buttons::YesNoCancel, Answer::Yes},
        {M::No, false, "", Buttons::YesNoCancel, Answer::No},
        {M::Yes, false, "", Buttons::OkCancel, Answer::Ok},
        {M::No, false, "", Buttons::OkCancel, Answer::Cancel},
        {M::Yes, false, "", Buttons::AbortRetryIgnore, Answer::Abort},
        {M::Ask, false, "s\n", Buttons::YesNo, Answer::No},  // no terminal: the input is not read
        {M::Ask, true, "s\n", Buttons::YesNo, Answer::Yes},
        {M::Ask, true, "forse\nNO\n", Buttons::YesNo, Answer::No},
        {M::Ask, true, "a\n", Buttons::YesNoCancel, Answer::Cancel},
        {M::Ask, true, "r\n", Buttons::AbortRetryIgnore, Answer::Retry},
        {M::Ask, true, "ig\n", Buttons::AbortRetryIgnore, Answer::Ignore},
        {M::Ask, true, "", Buttons::YesNo, Answer::No},  // end of input
        {M::Yes, false, "", Buttons::Ok, Answer::Ok},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input + " buttons " + std::to_string(static_cast<int>(c.buttons)));
        std::ostringstream out;
        std::istringstream in(c.input);
        TerminalDialogs d(c.mode, out, in, c.interactive);
        EXPECT_EQ(d.message(Message{"Domanda?", "", c.buttons, Icon::Question}), c.expected);
        if (c.buttons != Buttons::Ok)
            EXPECT_NE(out.str().find(std::string("    -> ") + TerminalDialogs::answerName(c.expected) + "\n"),
                      std::string::npos)
                << out.str();
    }
}

TEST(TerminalDialogs, PickersAreCancelled) {
    std::ostringstream out;
    std::istringstream in;
    TerminalDialogs d(TerminalDialogs::Mode::Yes, out, in, false);
    EXPECT_FALSE(d.pickFolder("Scegli la cartella", "/"));
    EXPECT_FALSE(d.pickFile("Apri", "Database (*.mdb)|*.mdb", "/"));
    EXPECT_NE(out.str().find("Scegli la cartella"), std::string::npos);
}

}  // namespace
}  // namespace zq
