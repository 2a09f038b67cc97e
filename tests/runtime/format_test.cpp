#include "runtime/format.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace zq {
namespace {

struct FormatCase {
    Value value;
    const char* format;
    const char* expected;
};

void runCases(const std::vector<FormatCase>& cases) {
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("value \"") + c.value.toText() + "\" format \"" + c.format + "\"");
        EXPECT_EQ(formatValue(c.value, c.format), c.expected);
    }
}

TEST(FormatNumber, PaddingAndWholeNumbers) {
    runCases({
        {5, "0000", "0005"}, {0, "0000", "0000"},
        {9999.6, "0000", "10000"},  // at least four digits, never cut
        {9999.4, "0000", "9999"},
        {12.5, "0000", "0013"},     // halves away from zero, unlike CInt
        {0.5, "0", "1"}, {2.5, "0", "3"}, {-2.5, "0", "-3"}, {5, "00000000", "00000005"},
        {std::int64_t{2}, "00000000", "00000002"}, {12345678, "00000000", "12345678"},
        {123456789, "00000000", "123456789"}, {std::int64_t{123456789012345678}, "0", "123456789012345678"},
        {true, "0", "-1"}, {1234567, "000-0000", "123-4567"}, {12, "\"N. \"000", "N. 012"}, {7, "\\#0", "#7"},
    });
}

TEST(FormatNumber, DecimalsAndThousands) {
    runCases({
        {2.675, "0.00", "2,68"},  // the decimal reading, not the binary 2.67499…
        {1.005, "0.00", "1,01"}, {1234567.891, "#,##0.00", "1.234.567,89"}, {0, "#,##0.00", "0,00"},
        {0.5, "#,##0.00", "0,50"}, {-1234.5, "#,##0.00", "-1.234,50"}, {1234, "#,##0", "1.234"},
        {123, "#,##0", "123"}, {1000000, "#,##0", "1.000.000"}, {-999.995, "#,##0.00", "-1.000,00"},
        {1234.5678, "0.0#", "1234,57"}, {1234.5, "0.0#", "1234,5"}, {0.5, "#.##", ",5"}, {3, "0.00", "3,00"},
        {1500000, "#,##0,", "1.500"}, {0.256, "0.0%", "25,6%"}, {1, "0%", "100%"}, {1234.5, "0.00E+00", "1,23E+03"},
        {0.00012, "0.0E-00", "1,2E-04"}, {99999, "0.0E+0", "1,0E+5"}, {1.5, "0.0E+00", "1,5E+00"}, {5, "0 -", "5 -"}, {5.5, ".00", "5,50"},
        {1234.5, "\"€ \"#,##0.00", "€ 1.234,50"}, {5, "0,000", "0.005"}, {1234.5, "#,##0.00 \"EUR\"", "1.234,50 EUR"},
    });
}

TEST(FormatNumber, SignsAndSections) {
    runCases({
        {-0.001, "0.00", "0,00"},  // no "-0,00" for a value that rounds to nothing
        {-5, "0;(0)", "(5)"}, {5, "0;(0)", "5"}, {0, "0;-0;\"zero\"", "zero"}, {0.0, "0.00;;\"nulla\"", "nulla"},
        {-3, "0;;\"zero\"", "-3"}, {Value::null(), "0;0;0;\"nulla\"", "nulla"}, {Value::null(), "0000", ""},
        {Value(), "0000", ""}, {-7, "0;-0", "-7"}, {-1234.5, "#,##0.00;(#,##0.00)", "(1.234,50)"},
        {1234.5, "#,##0.00;(#,##0.00)", "1.234,50"},
    });
}

TEST(FormatNumber, TextValues) {
    runCases({
        {"12,5", "0.00", "12,50"}, {"1.234,5", "#,##0.00", "1.234,50"}, {"1.234", "0", "1234"},
        {" 42 ", "0000", "0042"},
        // an amount as a list shows it: every digit, from the text and from the value
        {"99999999999999,99", "#,##0.00", "99.999.999.999.999,99"},
        {Value(*Currency::parse("-12345678901234,565")), "#,##0.00", "-12.345.678.901.234,57"},
        {"abc", "0.00", "abc"},   // not a number: shown as it is
        {"", "0.00", ""},
    });
}

TEST(FormatDate, Codes) {
    const DateTime moment{2007, 3, 5, 14, 9, 30};
    runCases({
        {moment, "yyddmmhhmmss", "070503140930"}, {moment, "dd/mm/yyyy", "05/03/2007"},
        {moment, "dd/mm/yyyy hh.mm", "05/03/2007 14.09"}, {moment, "d/m/yy", "5/3/07"},
        {moment, "hh:mm:ss", "14:09:30"}, {moment, "hh.nn", "14.09"}, {moment, "DD/MM/YYYY", "05/03/2007"},
        {moment, "dddd d mmmm yyyy", "lunedì 5 marzo 2007"}, {moment, "ddd dd mmm", "lun 05 mar"},
        {moment, "h:mm AM/PM", "2:09 PM"}, {moment, "h.mm a/p", "2.09 p"}, {moment, "q", "1"}, {moment, "y", "64"},
        {moment, "w", "2"}, {moment, "ww", "10"}, {moment, "ddddd", "05/03/2007"}, {moment, "ttttt", "14.09.30"},
        {moment, "c", "05/03/2007 14.09.30"}, {moment, "\"il \"d", "il 5"},
        {DateTime{2024, 12, 31, 0, 0, 0}, "dd/mm/yyyy hh.mm", "31/12/2024 00.00"},
        {DateTime{2024, 1, 1, 0, 5, 0}, "h:mm AM/PM", "12:05 AM"}, {DateTime{1999, 8, 9}, "Short Date", "09/08/1999"},
    });
}

TEST(FormatDate, OtherValues) {
    runCases({
        {"1/2/2024", "dd/mm/yyyy", "01/02/2024"}, {"05/03/2007 14.09", "yyddmmhhmmss", "070503140900"},
        {"12", "dd/mm/yyyy", "12"},  // a bare number typed in a date box stays as typed
        {"31/02/2024", "dd/mm/yyyy", "31/02/2024"}, {"14.30", "hh.mm", "14.30"},
        {"05/03/2007 14.09.30", "dd/mm/yyyy hh.mm", "05/03/2007 14.09"},
        {39146.25, "dd/mm/yyyy hh.mm", "05/03/2007 06.00"}, {39146, "dd/mm/yyyy", "05/03/2007"},
        {Value::null(), "dd/mm/yyyy", ""},
    });
}

TEST(FormatText, Codes) {
    runCases({
        {"zx", "@@@@", "  zx"}, {"zx", "!@@@@", "zx  "}, {"zx", "&&&&", "zx"}, {"abc", ">", "ABC"},
        {"ÀbC", "<", "àbc"}, {"perché", ">", "PERCHÉ"}, {"abcdef", "@@@", "abcdef"}, {"abcdef", "!@@@", "abcdef"},
        {"12345", "@@-@@@", "12-345"}, {"ab", "(@@@)", "( ab)"}, {"città", "@@@@@@", " città"}, {42, "@@@@", "  42"},
        {"", "@;\"vuoto\"", "vuoto"}, {2.5, "@", "2,5"},
        {"abc", "Cod. @@@", "Cod. abc"},  // letters of a literal do not make a date format
        {DateTime{2007, 3, 5}, "@@@@@@@@@@@", " 05/03/2007"},
    });
}

TEST(FormatValue, EmptyAndNamedFormats) {
    runCases({
        {1.5, "", "1,5"}, {DateTime{2007, 3, 5}, "", "05/03/2007"}, {Value::null(), "", ""},
        {1234.5, "Standard", "1.234,50"}, {1234.5, "Fixed", "1234,50"}, {0.125, "Percent", "12,50%"},
        {true, "Yes/No", "Sì"}, {0, "Yes/No", "No"}, {false, "True/False", "Falso"},
        {1234.5, "General Number", "1234,5"},
    });
}

}  // namespace
}  // namespace zq
