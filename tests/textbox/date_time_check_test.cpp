#include "textbox/date_time_check.h"

#include "scripted_dialogs.h"

#include <gtest/gtest.h>

namespace zq {
namespace {

using test::ScriptedDialogs;

struct CheckCase {
    DataTypes type;
    const char* typed;
    bool valid;
    const char* normalised;  // the text after the check
    const char* message;     // nullptr: no message
    const char* title;
};

constexpr const char* kDate = "Immettere la data nel formato 'gg/mm/aaaa'";
constexpr const char* kTime = "Immettere l'ora nel formato 'HH.MM'";
constexpr const char* kDateTime = "Immettere la data nel formato 'GG/MM/AAAA HH.MM'";
constexpr const char* kDateTimeNoQuote = "Immettere la data nel formato 'GG/MM/AAAA HH.MM";

TEST(DateTimeCheck, NormalisesAndValidates) {
    const CheckCase cases[] = {
        {DataTypes::Data, "31/12/2004", true, "31/12/2004", nullptr, nullptr},
        {DataTypes::Data, "010104", true, "01/01/04", nullptr, nullptr},
        {DataTypes::Data, "31122004", true, "31/12/2004", nullptr, nullptr},
        {DataTypes::Data, "1/2/2024", true, "1/2/2024", nullptr, nullptr},
        {DataTypes::Data, "31/02/2024", false, "31/02/2024", kDate, "DATA NON VALIDA"},
        {DataTypes::Data, "29/02/2023", false, "29/02/2023", kDate, "DATA NON VALIDA"},
        {DataTypes::Data, "29/02/2024", true, "29/02/2024", nullptr, nullptr},
        {DataTypes::Data, "12345", false, "12345", kDate, "DATA NON VALIDA"},
        {DataTypes::Data, "310204", false, "31/02/04", kDate, "DATA NON VALIDA"},
        {DataTypes::ora, "9.5", true, "09.50", nullptr, nullptr},
        {DataTypes::ora, ".3", true, "00.30", nullptr, nullptr},
        {DataTypes::ora, "12.3", true, "12.30", nullptr, nullptr},
        {DataTypes::ora, "930", true, "09.30", nullptr, nullptr},
        {DataTypes::ora, "12", true, "12.00", nullptr, nullptr},
        {DataTypes::ora, "7", true, "07.00", nullptr, nullptr},
        {DataTypes::ora, "2359", true, "23.59", nullptr, nullptr},
        {DataTypes::ora, "25.61", false, "25.61", kTime, "ORA NON VALIDA"},
        {DataTypes::ora, "2400", false, "24.00", kTime, "ORA NON VALIDA"},
        {DataTypes::ora, "123456", false, "123456", kTime, "ORA NON VALIDA"},
        {DataTypes::ora, "123.4", false, "123.400", nullptr, nullptr},  // hour of three digits: silent
        {DataTypes::ora, "12345", false, "12345", nullptr, nullptr},    // five digits: silent
        {DataTypes::ora, "ab", false, "ab.00", kTime, "ORA NON VALIDA"},
        {DataTypes::DataOra, "31/12/2004 930", true, "31/12/2004 09.30", nullptr, nullptr},
        {DataTypes::DataOra, "31122004 9.5", true, "31/12/2004 09.50", nullptr, nullptr},
        {DataTypes::DataOra, "31/12/2004", true, "31/12/2004", nullptr, nullptr},
        {DataTypes::DataOra, "31/12/2004   ", true, "31/12/2004", nullptr, nullptr},
        {DataTypes::DataOra, "31/02/2004 10.00", false, "31/02/2004 10.00", kDate, "DATA NON VALIDA"},
        {DataTypes::DataOra, "31/12/2004 10.30.00", false, "31/12/2004 10.30.00", kDateTime,
         "DATA E ORA NON VALIDE"},
        {DataTypes::DataOra, "31/12/2004 25.61", false, "31/12/2004 25.61", kDateTimeNoQuote, "ORA NON VALIDA"},
        {DataTypes::DataOra, "31/12/2004 12345", false, "31/12/2004 12345", nullptr, nullptr},
        {DataTypes::testo, "31/12/2004", false, "31/12/2004", nullptr, nullptr},
        {DataTypes::intero, "12", false, "12", nullptr, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << int(c.type) << " typed '" << c.typed << "'");
        ScriptedDialogs dialogs;
        dialogs.answerAlways(Answer::Ok);
        int formatErrors = 0;
        const DateTimeCheck check(dialogs, [&] { ++formatErrors; });
        std::string text = c.typed;
        EXPECT_EQ(check.check(c.type, text), c.valid);
        EXPECT_EQ(text, c.normalised);
        if (c.message) {
            ASSERT_EQ(dialogs.messages().size(), 1u);
            const Message& m = dialogs.messages()[0];
            EXPECT_EQ(m.text, c.message);
            EXPECT_EQ(m.title, c.title);
            EXPECT_EQ(m.buttons, Buttons::OkCancel);
            EXPECT_EQ(m.icon, Icon::Exclamation);
            EXPECT_EQ(formatErrors, 1);
        } else {
            EXPECT_TRUE(dialogs.messages().empty());
            EXPECT_EQ(formatErrors, 0);
        }
    }
}

TEST(DateTimeCheck, NormaliseTimeByShape) {
    // The shapes the check above does not reach: a trailing point, four digits, too long.
    const struct {
        const char* typed;
        const char* result;  // nullptr: no time shape, the text is left to the caller
    } cases[] = {{"12.", "12.00"}, {"0930", "09.30"}, {"9.5", "09.50"}, {"123.", nullptr}, {"12345", nullptr}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        std::string t = c.typed;
        EXPECT_EQ(DateTimeCheck::normaliseTime(t), c.result != nullptr);
        if (c.result) { EXPECT_EQ(t, c.result); }
    }
}

}  // namespace
}  // namespace zq
