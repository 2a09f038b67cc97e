#include "runtime/datetime_parse.h"

#include <gtest/gtest.h>

#include <optional>

namespace zq {
namespace {

struct DateCase {
    const char* text;
    std::optional<DateTime> expected;
};

TEST(ParseDate, DayMonthYearTable) {
    const DateCase cases[] = {
        {"05/03/2007", DateTime{2007, 3, 5}},
        {"5/3/07", DateTime{2007, 3, 5}},
        {"5/3/7", DateTime{2007, 3, 5}},
        {"01/01/00", DateTime{2000, 1, 1}},
        {"1/1/29", DateTime{2029, 1, 1}},   // 00-29: this century
        {"1/1/30", DateTime{1930, 1, 1}},   // 30-99: the last one
        {"31/12/99", DateTime{1999, 12, 31}},
        {"29/02/2024", DateTime{2024, 2, 29}},
        {"29/02/2000", DateTime{2000, 2, 29}},
        {"31-12-2004", DateTime{2004, 12, 31}},
        {"31.12.2004", DateTime{2004, 12, 31}},
        {"  05/03/2007  ", DateTime{2007, 3, 5}},
        {"05/03/2007 14.09", DateTime{2007, 3, 5, 14, 9, 0}},
        {"05/03/2007 14:09:30", DateTime{2007, 3, 5, 14, 9, 30}},
        {"05/03/2007 0.00", DateTime{2007, 3, 5}},
        {"31/02/2024", std::nullopt},
        {"29/02/2023", std::nullopt},
        {"29/02/1900", std::nullopt},
        {"31/04/2024", std::nullopt},
        {"32/01/2024", std::nullopt},
        {"00/01/2024", std::nullopt},
        {"01/13/2024", std::nullopt},
        {"01/00/2024", std::nullopt},
        {"05/03/207", std::nullopt},
        {"05/03/02007", std::nullopt},
        {"05/03", std::nullopt},
        {"05/03/2007/1", std::nullopt},
        {"05/03-2007", std::nullopt},
        {"5//2007", std::nullopt},
        {"a5/03/2007", std::nullopt},
        {"05/03/2007 25.00", std::nullopt},
        {"05/03/2007 abc", std::nullopt},
        {"010104", std::nullopt},
        {"", std::nullopt},
        {"abc", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(parseDate(c.text), c.expected);
    }
}

TEST(ParseTime, Table) {
    const DateCase cases[] = {
        {"14.09", DateTime{1899, 12, 30, 14, 9, 0}},
        {"14:09", DateTime{1899, 12, 30, 14, 9, 0}},
        {"9.05", DateTime{1899, 12, 30, 9, 5, 0}},
        {"00.00", DateTime{1899, 12, 30, 0, 0, 0}},
        {"23.59.59", DateTime{1899, 12, 30, 23, 59, 59}},
        {"12:30:45", DateTime{1899, 12, 30, 12, 30, 45}},
        {" 08.15 ", DateTime{1899, 12, 30, 8, 15, 0}},
        {"24.00", std::nullopt},
        {"25.61", std::nullopt},
        {"23.60", std::nullopt},
        {"12.30.61", std::nullopt},
        {"123.30", std::nullopt},
        {"1230", std::nullopt},
        {"12", std::nullopt},
        {"12.", std::nullopt},
        {"12.3a", std::nullopt},
        {"12.30.00.00", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(parseTime(c.text), c.expected);
    }
}

struct NumberCase {
    const char* text;
    std::optional<double> expected;
};

TEST(ParseNumber, ItalianAndPlainTable) {
    const NumberCase cases[] = {
        {"12", 12.0},
        {"-4", -4.0},
        {"+4", 4.0},
        {"0", 0.0},
        {"12,5", 12.5},
        {"-0,25", -0.25},
        {"1.234,5", 1234.5},
        {"1.234", 1234.0},        // "." groups thousands in the Italian reading
        {"1.234.567", 1234567.0},
        {"12.5", 12.5},           // a dot that groups nothing is a decimal point
        {"1.2345", 1.2345},
        {",5", 0.5},
        {"5,", 5.0},
        {"1e3", 1000.0},
        {"1,5E2", 150.0},
        {"2E-2", 0.02},
        {" 7 ", 7.0},
        {"1.23.4", std::nullopt},
        {"1.2.3", std::nullopt},
        {"1,2,3", std::nullopt},
        {"12.34,5", std::nullopt},
        {"1234.567,8", std::nullopt},
        {"abc", std::nullopt},
        {"12a", std::nullopt},
        {"", std::nullopt},
        {"   ", std::nullopt},
        {",", std::nullopt},
        {"-", std::nullopt},
        {"--1", std::nullopt},
        {"1 000", std::nullopt},
        {"0x10", std::nullopt},
        {"1e", std::nullopt},
        {"1e400", std::nullopt},
        {"e5", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto got = parseNumber(c.text);
        ASSERT_EQ(got.has_value(), c.expected.has_value());
        if (got) EXPECT_DOUBLE_EQ(*got, *c.expected);
        EXPECT_EQ(isNumeric(c.text), c.expected.has_value());
    }
}

}  // namespace
}  // namespace zq
