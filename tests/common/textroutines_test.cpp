#include "common/textroutines.h"

#include "common/error.h"
#include "scripted_dialogs.h"

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>

namespace zq {
namespace {

struct IntCase {
    const char* text;
    std::optional<long> expected;  // nothing: error 6 Overflow
};

TEST(CintText, Table) {
    const IntCase cases[] = {
        {"", 0},       {"abc", 0},      {"12", 12},     {"-12", -12},    {" 12 ", 12},
        {"12,5", 12},  {"13,5", 14},    {"-2,5", -2},   {"1.234", 1234}, {"12a", 0},
        {"32767", 32767}, {"-32768", -32768}, {"32767,5", std::nullopt},
        {"32768", std::nullopt}, {"-40000", std::nullopt}, {"   ", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("[") + c.text + "]");
        if (c.expected) {
            EXPECT_EQ(CintText(c.text), *c.expected);
            continue;
        }
        try {
            CintText(c.text);
            ADD_FAILURE() << "no overflow";
        } catch (const Error& e) {
            EXPECT_EQ(e.number(), 6);
            EXPECT_EQ(e.description(), "Overflow");
        }
    }
}

TEST(ClngText, Table) {
    const IntCase cases[] = {
        {"", 0},           {"abc", 0},        {"2024", 2024},  {"9999", 9999},
        {"40000", 40000},  {"-1", -1},        {"2,5", 2},      {"3,5", 4},
        {"2147483647", 2147483647}, {"-2147483648", -2147483647L - 1},
        {"2147483648", std::nullopt}, {"1e12", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("[") + c.text + "]");
        if (c.expected) EXPECT_EQ(ClngText(c.text), *c.expected);
        else EXPECT_THROW(ClngText(c.text), Error);
    }
}

TEST(ClngText, TrapsItsOwnOverflow) {
    test::ScriptedDialogs dialogs;
    EXPECT_EQ(ClngText(dialogs, "2024"), 2024);
    EXPECT_TRUE(dialogs.messages().empty());

    dialogs.then(Answer::Retry).then(Answer::Ignore);
    EXPECT_EQ(ClngText(dialogs, "99999999999"), 0);
    ASSERT_EQ(dialogs.messages().size(), 2u);
    EXPECT_EQ(dialogs.messages()[0].text,
              test::lines({"Errore 6 Overflow", "nel modulo: lbComGen,", "alla routine: ClngText,",
                           "generato da: zel_QUIRNOVA,", "errore DLL: 0"}));

    dialogs.then(Answer::Abort);
    EXPECT_THROW(ClngText(dialogs, "-99999999999"), AbortProgram);
}

TEST(RaddApic, DoublesEverySingleQuoteInPlace) {
    const struct {
        const char* text;
        const char* expected;
    } cases[] = {
        {"O'Brien", "O''Brien"}, {"nessun apice", "nessun apice"}, {"", ""}, {"'", "''"}, {"''", "''''"},
        {"l'area dell'anno'", "l''area dell''anno''"}, {"perché'è", "perché''è"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::string text = c.text;
        EXPECT_EQ(&RaddApic(text), &text);
        EXPECT_EQ(text, c.expected);
    }
}

TEST(SqlText, QuotedLiteral) {
    const struct {
        const char* text;
        const char* expected;
    } cases[] = {
        {"O'Brien", "'O''Brien'"}, {"", "''"}, {"x' OR '1'='1", "'x'' OR ''1''=''1'"}, {"città", "'città'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(sqlText(c.text), c.expected);
    }
}

TEST(SostChar, ReplacesEveryOccurrenceInPlace) {
    const struct {
        const char* text;
        const char* search;
        const char* replacement;
        const char* expected;
    } cases[] = {
        {"C:\\arch\\doc\\", "\\", "/", "C:/arch/doc/"}, {"a_b_c", "_", "", "abc"}, {"a b", " ", "%20", "a%20b"},
        {"niente", "x", "y", "niente"}, {"", "x", "y", ""}, {"più più", "ù", "u'", "piu' piu'"},
        {"aaa", "a", "bb", "bbbbbb"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::string text = c.text;
        EXPECT_EQ(SostChar(text, c.search, c.replacement), c.expected);
        EXPECT_EQ(text, c.expected);
    }
}

TEST(SostChar, RefusesWhatWouldNeverEnd) {
    std::string text = "a'b";
    EXPECT_THROW(SostChar(text, "'", "''"), std::invalid_argument);  // the replacement holds the search
    EXPECT_THROW(SostChar(text, "", "x"), std::invalid_argument);
    EXPECT_THROW(SostChar(text, "ab", "x"), std::invalid_argument);  // one character only
    EXPECT_EQ(text, "a'b");  // left untouched
}

}  // namespace
}  // namespace zq
