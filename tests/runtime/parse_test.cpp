#include "runtime/datetime_parse.h"

#include <gtest/gtest.h>

namespace zq {
namespace {

struct DateCase {
    const char* text;
    DateTime expected;
};

TEST(ParseDate, DayMonthYearTable) {
    const DateCase cases[] = {
        {"05/03/2007", DateTime{2007, 3, 5}}, {"5/3/07", DateTime{2007, 3, 5}}, {"5/3/7", DateTime{2007, 3, 5}},
        {"01/01/00", DateTime{2000, 1, 1}},
        {"1/1/29", DateTime{2029, 1, 1}},  // 00-29: this century
        {"1/1/30", DateTime{1930, 1, 1}},  // 30-99: the last one
        {"31/12/99", DateTime{1999, 12, 31}}, {"29/02/2024", DateTime{2024, 2, 29}},
        {"29/02/2000", DateTime{2000, 2, 29}}, {"31-12-2004", DateTime{2004, 12, 31}},
        {"31.12.2004", DateTime{2004, 12, 31}}, {"  05/03/2007  ", DateTime{2007, 3, 5}},
        {"05/03/2007 14.09", DateTime{2007, 3, 5, 14, 9, 0}},
        {"05/03/2007 14:09:30", DateTime{2007, 3, 5, 14, 9, 30}}, {"05/03/2007 0.00", DateTime{2007, 3, 5}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(parseDate(c.text), c.expected);
    }
    for (const char* text : {"31/02/2024", "29/02/2023", "29/02/1900", "31/04/2024", "32/01/2024", "00/01/2024",
                             "01/13/2024", "01/00/2024", "05/03/207", "05/03/02007", "05/03", "05/03/2007/1",
                             "05/03-2007", "5//2007", "a5/03/2007", "05/03/2007 25.00", "05/03/2007 abc", "010104",
                             "", "abc"})
        EXPECT_EQ(parseDate(text), std::nullopt) << text;
}

TEST(ParseTime, Table) {
    const DateCase cases[] = {
        {"14.09", DateTime{1899, 12, 30, 14, 9, 0}}, {"14:09", DateTime{1899, 12, 30, 14, 9, 0}},
        {"9.05", DateTime{1899, 12, 30, 9, 5, 0}}, {"00.00", DateTime{1899, 12, 30, 0, 0, 0}},
        {"23.59.59", DateTime{1899, 12, 30, 23, 59, 59}}, {"12:30:45", DateTime{1899, 12, 30, 12, 30, 45}},
        {" 08.15 ", DateTime{1899, 12, 30, 8, 15, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(parseTime(c.text), c.expected);
    }
    for (const char* text :
         {"24.00", "25.61", "23.60", "12.30.61", "123.30", "1230", "12", "12.", "12.3a", "12.30.00.00", ""})
        EXPECT_EQ(parseTime(text), std::nullopt) << text;
}

TEST(ParseNumber, ItalianAndPlainTable) {
    const struct {
        const char* text;
        double expected;
    } cases[] = {
        {"12", 12.0}, {"-4", -4.0}, {"+4", 4.0}, {"0", 0.0}, {"12,5", 12.5}, {"-0,25", -0.25}, {"1.234,5", 1234.5},
        {"1.234", 1234.0},  // "." groups thousands in the Italian reading
        {"1.234.567", 1234567.0},
        {"12.5", 12.5},     // a dot that groups nothing is a decimal point
        {"1.2345", 1.2345}, {",5", 0.5}, {"5,", 5.0}, {"1e3", 1000.0}, {"1,5E2", 150.0}, {"2E-2", 0.02}, {" 7 ", 7.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto got = parseNumber(c.text);
        ASSERT_TRUE(got.has_value());
        EXPECT_DOUBLE_EQ(*got, c.expected);
        EXPECT_TRUE(isNumeric(c.text));
    }
    for (const char* text : {"1.23.4", "1.2.3", "1,2,3", "12.34,5", "1234.567,8", "abc", "12a", "", "   ", ",", "-",
                             "--1", "1 000", "0x10", "1e", "1e400", "e5"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(parseNumber(text), std::nullopt);
        EXPECT_FALSE(isNumeric(text));
    }
}

}  // namespace
}  // namespace zq
