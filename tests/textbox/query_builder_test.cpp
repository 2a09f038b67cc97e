#include "textbox/query_builder.h"

#include "scripted_dialogs.h"

#include <gtest/gtest.h>

namespace zq {
namespace {

using test::ScriptedDialogs;

struct ConditionCase {
    const char* typed;
    const char* field;
    DataTypes type;
    const char* sql;
    const char* crystal;
};

void expectBoth(const ConditionCase& c) {
    for (const QueryDest dialect : {QueryDest::Selezione, QueryDest::Crystal_Reports}) {
        SCOPED_TRACE(testing::Message() << "typed '" << c.typed << "' on " << c.field << " dialect "
                                        << int(dialect));
        ScriptedDialogs dialogs;
        const QueryBuilder builder(dialogs);
        const QueryCondition r = builder.build(c.typed, c.field, c.type, dialect);
        EXPECT_TRUE(r.success);
        EXPECT_EQ(r.condition, dialect == QueryDest::Selezione ? c.sql : c.crystal);
        EXPECT_TRUE(dialogs.messages().empty());
    }
}

TEST(QueryBuilder, ConditionsInBothDialects) {
    const ConditionCase cases[] = {
        {"rossi", "RAGSOC", DataTypes::testo, "RAGSOC LIKE '%rossi%'", "{RAGSOC} LIKE '%rossi%'"},
        {"ro?si", "RAGSOC", DataTypes::testo, "RAGSOC LIKE 'ro?si'", "{RAGSOC} LIKE 'ro?si'"},
        {">=m", "RAGSOC", DataTypes::testo, "RAGSOC >= 'm'", "{RAGSOC} >= 'm'"},
        {"<m", "RAGSOC", DataTypes::testo, "(IsNull(RAGSOC) OR RAGSOC < 'm')", "(IsNull({RAGSOC}) OR {RAGSOC} < 'm')"},
        {"=", "RAGSOC", DataTypes::testo, "Len(Trim(RAGSOC))=0", "Len(Trim({RAGSOC}))=0"},
        {"2003:2005", "ANNO", DataTypes::intero, "ANNO BETWEEN 2003 AND 2005", "{ANNO} IN 2003 TO 2005"},
        {"1|2|3", "ANNO", DataTypes::intero, "ANNO IN ( 1, 2, 3)", "( {ANNO} = 1 OR {ANNO} = 2 OR {ANNO} = 3 )"},
        {"=", "ANNO", DataTypes::intero, "ANNO IS NULL", "{ANNO} IS NULL"},
        {"31/12/2004", "DATA", DataTypes::Data, "DATA = #12/31/2004#", "{DATA} = Date(2004,12,31)"},
        // Edge cases.
        // A colon at either end is no range: the value keeps it (and a number cannot).
        {"a:", "RAGSOC", DataTypes::testo, "RAGSOC LIKE '%a:%'", "{RAGSOC} LIKE '%a:%'"},
        {":a", "RAGSOC", DataTypes::testo, "RAGSOC LIKE '%:a%'", "{RAGSOC} LIKE '%:a%'"},
        {"|a|b|", "RAGSOC", DataTypes::testo, "RAGSOC IN ( 'a', 'b')", "( {RAGSOC} = 'a' OR {RAGSOC} = 'b' )"},
        {"a||b", "RAGSOC", DataTypes::testo, "RAGSOC IN ( 'a', '', 'b')",
         "( {RAGSOC} = 'a' OR {RAGSOC} = '' OR {RAGSOC} = 'b' )"},
        {"O'Brien", "RAGSOC", DataTypes::testo, "RAGSOC LIKE '%O''Brien%'", "{RAGSOC} LIKE '%O''Brien%'"},
        {"ro*si", "RAGSOC", DataTypes::testo, "RAGSOC LIKE '%ro%si%'", "{RAGSOC} LIKE '%ro%si%'"},
        {"50%", "RAGSOC", DataTypes::testo, "RAGSOC LIKE '50%'", "{RAGSOC} LIKE '50%'"},
        {"  rossi  ", "RAGSOC", DataTypes::testo, "RAGSOC LIKE '%rossi%'", "{RAGSOC} LIKE '%rossi%'"},
        {"<> x ", "RAGSOC", DataTypes::testo, "RAGSOC <> 'x'", "{RAGSOC} <> 'x'"},
        {"=<m", "RAGSOC", DataTypes::testo, "(IsNull(RAGSOC) OR RAGSOC =< 'm')", "(IsNull({RAGSOC}) OR {RAGSOC} =< 'm')"},
        {"<=5", "ANNO", DataTypes::intero, "(IsNull(ANNO) OR ANNO <= 5)", "(IsNull({ANNO}) OR {ANNO} <= 5)"},
        {">2003", "ANNO", DataTypes::intero, "ANNO > 2003", "{ANNO} > 2003"},
        {"2004", "ANNO", DataTypes::intero, "ANNO = 2004", "{ANNO} = 2004"},
        {"12,5", "IMPORTO", DataTypes::decimale, "IMPORTO = 12.5", "{IMPORTO} = 12.5"},
        {"930", "ORA", DataTypes::ora, "ORA = #09.30#", "{ORA} = '09.30'"},
        {"9.5:12", "ORA", DataTypes::ora, "ORA BETWEEN #09.50# AND #12.00#", "{ORA} IN '09.50' TO '12.00'"},
        {"010104", "DATA", DataTypes::Data, "DATA = #01/01/2004#", "{DATA} = Date(2004,01,01)"},
        {"1/1/2004:31/12/2004", "DATA", DataTypes::Data, "DATA BETWEEN #01/01/2004# AND #12/31/2004#",
         "{DATA} IN Date(2004,01,01) TO Date(2004,12,31)"},
        {"31/12/2004 930", "QUANDO", DataTypes::DataOra, "QUANDO = #12/31/2004 09.30#",
         "{QUANDO} = Date(2004,12,31 09.30)"},
        {"31/12/2004", "QUANDO", DataTypes::DataOra, "QUANDO = #12/31/2004#", "{QUANDO} = Date(2004,12,31 00.00)"},
        {"=", "QUANDO", DataTypes::DataOra, "QUANDO IS NULL", "{QUANDO} IS NULL"},
        {"True", "FLAG", DataTypes::Booleano, "FLAG = True", "{FLAG} = True"},
        {"x", " RAGSOC ", DataTypes::testo, " RAGSOC  LIKE '%x%'", "{RAGSOC} LIKE '%x%'"},
        // Nothing to search for, or no field to search in: an empty condition and no message.
        {"rossi", "", DataTypes::Data, "", ""},
        {"", "RAGSOC", DataTypes::Data, "", ""},
        {"   ", "RAGSOC", DataTypes::Data, "", ""},
        {"31/02/2024", "", DataTypes::Data, "", ""},
    };
    for (const auto& c : cases) expectBoth(c);
}

struct RefusalCase {
    const char* typed;
    DataTypes type;
    std::vector<std::pair<std::string, std::string>> messages;  // text, title in order
    int formatErrors;
};

const std::pair<std::string, std::string> kDateCheck{"Immettere la data nel formato 'gg/mm/aaaa'", "DATA NON VALIDA"},
    kDate{"Immettere la data nel formato 'GG/MM/AAAA'", "DATA NON VALIDA"},
    kTime{"Immettere l'ora nel formato 'HH.MM'", "ORA NON VALIDA"},
    kNumber{"Immettere un valore numerico", "VALORE NON VALIDO"};

TEST(QueryBuilder, RefusedValuesLeaveNoConditionAndTellThePerson) {
    const RefusalCase cases[] = {
        {"31/02/2024", DataTypes::Data, {kDateCheck, kDate}, 1},
        {"1/1/2004:31/02/2004", DataTypes::Data, {kDateCheck, kDate}, 1},
        {"25.61", DataTypes::ora, {kTime, kTime}, 1},
        // Refused without a message by the check: the builder's own message only.
        {"12345", DataTypes::ora, {kTime}, 0},
        {"31/12/2004 99.99", DataTypes::DataOra,
         {{"Immettere la data nel formato 'GG/MM/AAAA HH.MM", "ORA NON VALIDA"},
          {"Immettere la data nel formato 'GG/MM/AAAA HH.MM'", "DATA NON VALIDA"}},
         1},
        {"1; DROP TABLE x", DataTypes::intero, {kNumber}, 0},
        {">", DataTypes::intero, {kNumber}, 0},
        {"20?", DataTypes::intero, {kNumber}, 0},
        {"1|x y", DataTypes::Booleano, {kNumber}, 0},
    };
    for (const auto& c : cases) {
        for (const QueryDest dialect : {QueryDest::Selezione, QueryDest::Crystal_Reports}) {
            SCOPED_TRACE(testing::Message() << "typed '" << c.typed << "' dialect " << int(dialect));
            ScriptedDialogs dialogs;
            dialogs.answerAlways(Answer::Ok);
            int formatErrors = 0;
            const QueryBuilder builder(dialogs, [&] { ++formatErrors; });
            const QueryCondition r = builder.build(c.typed, "CAMPO", c.type, dialect);
            EXPECT_FALSE(r.success);
            EXPECT_EQ(r.condition, "");
            EXPECT_EQ(formatErrors, c.formatErrors);
            ASSERT_EQ(dialogs.messages().size(), c.messages.size());
            for (std::size_t i = 0; i < c.messages.size(); ++i) {
                EXPECT_EQ(dialogs.messages()[i].text, c.messages[i].first);
                EXPECT_EQ(dialogs.messages()[i].title, c.messages[i].second);
                EXPECT_EQ(dialogs.messages()[i].icon, Icon::Exclamation);
            }
            // The builder's own message (the last) has only OK.
            EXPECT_EQ(dialogs.messages().back().buttons, Buttons::Ok);
        }
    }
}

std::string listOf(int n) {
    std::string s;
    for (int i = 1; i <= n; ++i) s += (i > 1 ? "|" : "") + std::to_string(i);
    return s;
}

TEST(QueryBuilder, AListOfAHundredValuesIsTheMost) {
    ScriptedDialogs dialogs;
    const QueryBuilder builder(dialogs);

    const QueryCondition hundred = builder.build(listOf(100), "ANNO", DataTypes::intero, QueryDest::Selezione);
    ASSERT_TRUE(hundred.success);
    EXPECT_EQ(hundred.condition.rfind("ANNO IN ( 1, 2, ", 0), 0u);
    EXPECT_EQ(hundred.condition.substr(hundred.condition.size() - 9), " 99, 100)");
    EXPECT_TRUE(dialogs.messages().empty());

    const QueryCondition more = builder.build(listOf(101), "ANNO", DataTypes::intero, QueryDest::Selezione);
    EXPECT_FALSE(more.success);
    EXPECT_EQ(more.condition, "");
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].text, "Immettere al massimo 100 valori separati da '|'");
    EXPECT_EQ(dialogs.messages()[0].title, "TROPPI VALORI");
    EXPECT_EQ(dialogs.messages()[0].icon, Icon::Exclamation);
}

}  // namespace
}  // namespace zq
