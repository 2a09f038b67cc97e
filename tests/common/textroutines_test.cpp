#include "common/textroutines.h"

#include "common/docs_folder.h"
#include "common/error.h"
#include "scripted_dialogs.h"

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>

namespace zq {
namespace {

// Integer (16-bit) and Long (32-bit) conversions of typed text; nothing: error 6 Overflow.
TEST(IntegerText, CintAndClngTable) {
    const struct {
        const char* text;
        std::optional<long> cint;
        std::optional<long> clng;
    } cases[] = {
        {"", 0, 0}, {"   ", 0, 0}, {"abc", 0, 0}, {"12a", 0, 0}, {" 12 ", 12, 12}, {"-12", -12, -12},
        {"12,5", 12, 12}, {"13,5", 14, 14}, {"-2,5", -2, -2}, {"1.234", 1234, 1234},
        {"32767", 32767, 32767}, {"-32768", -32768, -32768}, {"32767,5", std::nullopt, 32768},
        {"-40000", std::nullopt, -40000}, {"2147483647", std::nullopt, 2147483647},
        {"-2147483648", std::nullopt, -2147483647L - 1}, {"2147483648", std::nullopt, std::nullopt},
        {"1e12", std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("[") + c.text + "]");
        if (c.clng) EXPECT_EQ(ClngText(c.text), *c.clng);
        else EXPECT_THROW(ClngText(c.text), Error);
        if (c.cint) {
            EXPECT_EQ(CintText(c.text), *c.cint);
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

TEST(IntegerText, ClngTrapsItsOwnOverflow) {
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

TEST(Quoting, RaddApicAndSqlTextDoubleEverySingleQuote) {
    const struct {
        const char* text;
        const char* doubled;
    } cases[] = {
        {"O'Brien", "O''Brien"}, {"nessun apice", "nessun apice"}, {"", ""}, {"''", "''''"},
        {"l'area dell'anno'", "l''area dell''anno''"}, {"perché'è", "perché''è"},
        {"x' OR '1'='1", "x'' OR ''1''=''1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(sqlText(c.text), std::string("'") + c.doubled + "'");
        std::string text = c.text;
        EXPECT_EQ(&RaddApic(text), &text) << "in place";
        EXPECT_EQ(text, c.doubled);
    }
}

TEST(SostChar, ReplacesEveryOccurrenceInPlaceAndRefusesWhatWouldNeverEnd) {
    const struct {
        const char* text;
        const char* search;
        const char* replacement;
        const char* expected;
    } cases[] = {
        {"C:\\arch\\doc\\", "\\", "/", "C:/arch/doc/"}, {"a_b_c", "_", "", "abc"}, {"niente", "x", "y", "niente"},
        {"", "x", "y", ""}, {"più più", "ù", "u'", "piu' piu'"}, {"aaa", "a", "bb", "bbbbbb"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::string text = c.text;
        EXPECT_EQ(SostChar(text, c.search, c.replacement), c.expected);
        EXPECT_EQ(text, c.expected);
    }
    std::string text = "a'b";
    EXPECT_THROW(SostChar(text, "'", "''"), std::invalid_argument);  // the replacement holds the search
    EXPECT_THROW(SostChar(text, "", "x"), std::invalid_argument);
    EXPECT_THROW(SostChar(text, "ab", "x"), std::invalid_argument);  // one character only
    EXPECT_EQ(text, "a'b");
}

// Record folders and the names allowed inside one: a wrong answer here writes documents
// outside the archive's folder.
TEST(DocsFolder, RecordFolderAndEntryNames) {
    EXPECT_EQ(recordFolder("/srv/docs/", 750), "/srv/docs/00000001/");
    EXPECT_EQ(recordFolder("C:\\arch\\", 499), "C:\\arch\\00000000\\");
    EXPECT_EQ(recordFolder("\\\\srv/x/", 1000), "\\\\srv/x/00000002/") << "\"/\" wins over \"\\\"";
    EXPECT_EQ(recordFolder("docs", 1500), "00000003");
    const struct {
        std::string name;
        const char* problem;
    } cases[] = {
        {"nota 1.pdf", ""}, {"..x", ""}, {"d'Amico è.tif", ""}, {std::string(255, 'a'), ""},
        {"", "il nome è vuoto"}, {".", "il nome esce dalla sua cartella"}, {"..", "il nome esce dalla sua cartella"},
        {"a/b", "il nome esce dalla sua cartella"}, {"a\\b", "il nome esce dalla sua cartella"},
        {"a\tb", "il nome contiene caratteri di controllo"}, {"a\x7F", "il nome contiene caratteri di controllo"},
        {"a?b", "il nome contiene caratteri che i file system non accettano (< > : \" | ? *)"},
        {std::string(256, 'a'), "il nome è più lungo di 255 caratteri"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name.substr(0, 20));
        EXPECT_EQ(entryNameProblem(c.name), c.problem);
    }
}

}  // namespace
}  // namespace zq
