#include "runtime/value.h"

#include "runtime/calendar.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace zq {
namespace {

TEST(Value, KindsAndEquality) {
    // both integer widths are one kind; a whole double stays a decimal
    EXPECT_EQ(Value(3).kind(), ValueKind::Integer);
    EXPECT_EQ(Value(3.0).kind(), ValueKind::Decimal);
    EXPECT_TRUE(Value().isNullish() && Value::null().isNullish());
    EXPECT_FALSE(Value("").isNullish());
    EXPECT_NE(Value(), Value::null());
    EXPECT_EQ(Value(3), Value(std::int64_t{3}));
    EXPECT_NE(Value(3), Value(3.0));
    ASSERT_NE(Value("ab").textIf(), nullptr);
    EXPECT_EQ(*Value("ab").textIf(), "ab");
    EXPECT_EQ(Value(1).textIf(), nullptr);
}

TEST(Value, TextInItalianConventions) {
    const struct {
        Value value;
        const char* text;
    } cases[] = {
        {Value(), ""}, {Value::null(), ""}, {Value(true), "Vero"}, {Value(false), "Falso"}, {Value(42), "42"},
        {Value(std::int64_t{-7}), "-7"}, {Value(1.5), "1,5"}, {Value(0.1), "0,1"}, {Value(-2.25), "-2,25"},
        {Value(100.0), "100"}, {Value(1.0 / 3.0), "0,333333333333333"}, {Value(123456789012345.0), "123456789012345"},
        {Value(1e20), "1E+20"}, {Value(-0.0), "0"}, {Value("testo"), "testo"},
        {Value(DateTime{2007, 3, 5}), "05/03/2007"}, {Value(DateTime{2007, 3, 5, 14, 9, 30}), "05/03/2007 14.09.30"},
        {Value(DateTime{1899, 12, 30, 14, 9, 30}), "14.09.30"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.value.toText(), c.text);
    }
}

TEST(Value, NumericConversions) {
    EXPECT_EQ(Value("2,5").toInteger(), 2);
    EXPECT_EQ(Value("3,5").toInteger(), 4);
    EXPECT_EQ(Value(2.5).toInteger(), 2);
    EXPECT_EQ(Value(-2.5).toInteger(), -2);
    EXPECT_EQ(Value(true).toInteger(), -1);
    EXPECT_EQ(Value::null().toInteger(), 0);
    EXPECT_EQ(Value().toInteger(), 0);
    EXPECT_EQ(Value(" 1.234 ").toInteger(), 1234);
    EXPECT_THROW(Value("abc").toInteger(), std::invalid_argument);
    EXPECT_THROW(Value("").toDouble(), std::invalid_argument);
    EXPECT_DOUBLE_EQ(Value("1.234,5").toDouble(), 1234.5);
    EXPECT_DOUBLE_EQ(Value(DateTime{2007, 3, 5, 6, 0, 0}).toDouble(), 39146.25);
}

TEST(Value, CurrencyIsExactToFourDecimals) {
    // What each value becomes as an amount, and how that amount reads.
    const struct {
        Value value;
        const char* text;   // Italian, as the program shows it
        const char* plain;  // as SQL and drivers write it
    } cases[] = {
        {Value("99999999999999,99"), "99999999999999,99", "99999999999999.99"},
        {Value("99999999999999.99"), "99999999999999,99", "99999999999999.99"},  // a single dot is a decimal point
        {Value(" 1.234,5678 "), "1234,5678", "1234.5678"},
        {Value("1.234"), "1234", "1234"},                       // a dot that groups thousands
        {Value(0.1 + 0.2), "0,3", "0.3"},                        // the amount the sum means
        {Value(2.00005), "2", "2"},                              // halves to even …
        {Value("2,00015"), "2,0002", "2.0002"},                 // … at the fifth decimal
        {Value("-0,00051"), "-0,0005", "-0.0005"},
        {Value(std::int64_t{-922337203685477}), "-922337203685477", "-922337203685477"},
        {Value(true), "-1", "-1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value.toText());
        const Currency amount = c.value.toCurrency();
        EXPECT_EQ(Value(amount).toText(), c.text);
        EXPECT_EQ(amount.plainText(), c.plain);
        EXPECT_EQ(Currency::parsePlain(c.plain), amount);
    }
    EXPECT_EQ(Value(*Currency::parse("2,5")).toInteger(), 2);
    EXPECT_EQ(Value(*Currency::parse("-3,5")).toInteger(), -4);
    EXPECT_EQ(Value(*Currency::parse("12,5")).toDouble(), 12.5);
    EXPECT_THROW(Value("dodici").toCurrency(), std::invalid_argument);
    EXPECT_THROW(Value::null().toCurrency(), std::invalid_argument);
    EXPECT_THROW(Value("922337203685478").toCurrency(), std::overflow_error);
    EXPECT_FALSE(Currency::parsePlain("1,5"));
}

TEST(Value, BooleanConversions) {
    EXPECT_TRUE(Value(-1).toBool());
    EXPECT_TRUE(Value(0.5).toBool());
    EXPECT_FALSE(Value(0).toBool());
    EXPECT_FALSE(Value::null().toBool());
    EXPECT_TRUE(Value("Vero").toBool());
    EXPECT_TRUE(Value("True").toBool());
    EXPECT_FALSE(Value("Falso").toBool());
    EXPECT_TRUE(Value("1").toBool());
    EXPECT_THROW(Value("forse").toBool(), std::invalid_argument);
}

TEST(Value, DateConversions) {
    EXPECT_EQ(Value("05/03/2007").toDateTime(), (DateTime{2007, 3, 5}));
    EXPECT_EQ(Value("14.30").toDateTime(), (DateTime{1899, 12, 30, 14, 30, 0}));
    EXPECT_EQ(Value(39146.25).toDateTime(), (DateTime{2007, 3, 5, 6, 0, 0}));
    EXPECT_EQ(Value(0).toDateTime(), DateTime{});
    EXPECT_THROW(Value("31/02/2024").toDateTime(), std::invalid_argument);
    EXPECT_THROW(Value::null().toDateTime(), std::invalid_argument);
    EXPECT_THROW(Value(1e10).toDateTime(), std::invalid_argument);
}

TEST(Calendar, SerialNumbers) {
    const struct {
        DateTime date;
        double serial;
    } cases[] = {
        {DateTime{1899, 12, 30}, 0.0}, {DateTime{1899, 12, 31}, 1.0}, {DateTime{1900, 3, 1}, 61.0},
        {DateTime{2007, 3, 5}, 39146.0}, {DateTime{2007, 3, 5, 18, 0, 0}, 39146.75},
        {DateTime{1899, 12, 29, 6, 0, 0}, -1.25},  // before the epoch the time counts forward
        {DateTime{9999, 12, 31}, 2958465.0}, {DateTime{100, 1, 1}, -657434.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.serial);
        EXPECT_DOUBLE_EQ(toSerial(c.date), c.serial);
        EXPECT_EQ(fromSerial(c.serial), c.date);
    }
    EXPECT_EQ(fromSerial(39146.99999999), (DateTime{2007, 3, 6}));  // rounds to the second
    EXPECT_THROW(fromSerial(2958466.0), std::out_of_range);
}

TEST(Calendar, ValidityAndWeekdays) {
    EXPECT_TRUE((DateTime{2024, 2, 29}).isValid());
    EXPECT_FALSE((DateTime{2023, 2, 29}).isValid());
    EXPECT_FALSE((DateTime{1900, 2, 29}).isValid());
    EXPECT_TRUE((DateTime{100, 1, 1}).isValid());
    EXPECT_FALSE((DateTime{99, 12, 31}).isValid());
    EXPECT_FALSE((DateTime{2024, 1, 1, 24, 0, 0}).isValid());
    EXPECT_FALSE((DateTime{2024, 13, 1}).isValid());
    EXPECT_EQ(weekday(DateTime{2007, 3, 5}), 2);   // Monday
    EXPECT_EQ(weekday(DateTime{2024, 12, 1}), 1);  // Sunday
    EXPECT_EQ(weekday(DateTime{1899, 12, 30}), 7); // Saturday
    EXPECT_EQ(dayOfYear(DateTime{2024, 12, 31}), 366);
    EXPECT_FALSE(DateTime::today().hasTime());
}

}  // namespace
}  // namespace zq
