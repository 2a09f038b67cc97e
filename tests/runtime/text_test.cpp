#include "runtime/text.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace zq {
namespace {

struct Case {
    const char* input;
    const char* expected;
};

TEST(VbTrim, BlanksOnly) {
    const Case cases[] = {
        {"  a b  ", "a b"}, {"\ta\t", "\ta\t"}, {"   ", ""}, {"", ""}, {"x", "x"}, {" \r\n", "\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        EXPECT_EQ(vbTrim(c.input), c.expected);
    }
    EXPECT_EQ(vbLTrim("  a  "), "a  ");
    EXPECT_EQ(vbRTrim("  a  "), "  a");
}

TEST(VbCase, AccentedLettersChangeToo) {
    const struct {
        const char* input;
        const char* lower;
        const char* upper;
    } cases[] = {
        {"ÀÈÌÒÙ abc", "àèìòù abc", "ÀÈÌÒÙ ABC"}, {"perché", "perché", "PERCHÉ"}, {"Ÿ Œ Š Ž", "ÿ œ š ž", "Ÿ Œ Š Ž"},
        {"× ÷ ß 1/2", "× ÷ ß 1/2", "× ÷ ß 1/2"},  // no case: unchanged
        {"A\xFF" "b", "a\xFF" "b", "A\xFF" "B"},   // a stray byte survives
        {"", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        EXPECT_EQ(vbLCase(c.input), c.lower);
        EXPECT_EQ(vbUCase(c.input), c.upper);
    }
}

TEST(VbLeftMid, CountCharactersOneBased) {
    EXPECT_EQ(vbLeft("città", 4), "citt");
    EXPECT_EQ(vbLeft("città", 5), "città");
    EXPECT_EQ(vbLeft("abc", 10), "abc");
    EXPECT_EQ(vbLeft("abc", 0), "");
    EXPECT_EQ(vbMid("perché no", 5, 3), "hé ");
    EXPECT_EQ(vbMid("abc", 2), "bc");
    EXPECT_EQ(vbMid("abc", 3, 5), "c");
    EXPECT_EQ(vbMid("abc", 4), "");
    EXPECT_EQ(vbMid("abc", 9, 1), "");
    EXPECT_EQ(vbMid("àèì", 2, 1), "è");
    EXPECT_THROW(vbMid("abc", 0), std::invalid_argument);
}

TEST(VbInStr, PositionsInCharacters) {
    const struct {
        const char* s;
        const char* needle;
        std::size_t start;
        std::size_t expected;
    } cases[] = {
        {"città là", "là", 1, 7}, {"abcabc", "c", 1, 3}, {"abcabc", "c", 4, 6}, {"abcabc", "c", 7, 0},
        {"abc", "x", 1, 0},       {"", "a", 1, 0},       {"abc", "ABC", 1, 0},  {"O'Brien", "'", 1, 2},
        {"abc", "abc", 1, 1},     {"abc", "abcd", 1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.s) + " / " + c.needle);
        EXPECT_EQ(vbInStr(c.s, c.needle, c.start), c.expected);
    }
    EXPECT_THROW(vbInStr("abc", "a", 0), std::invalid_argument);
}

TEST(Cp1252, ToUtf8) {
    const Case cases[] = {
        {"abc", "abc"}, {"\x80", "€"}, {"citt\xE0", "città"}, {"\xC8 \xE8", "È è"}, {"\x92", "’"}, {"\x9F", "Ÿ"},
        {"\x81", "\xC2\x81"}, {"\xFF", "ÿ"}, {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        EXPECT_EQ(cp1252ToUtf8(c.input), c.expected);
        EXPECT_TRUE(isValidUtf8(cp1252ToUtf8(c.input)));
    }
}

TEST(Utf8, Validity) {
    const struct {
        const char* bytes;
        bool valid;
    } cases[] = {
        {"", true}, {"plain", true}, {"àè€", true}, {"\xF0\x9F\x98\x80", true},
        {"\xC3", false},              // cut short
        {"citt\xE0", false},          // Windows-1252, not UTF-8
        {"\xC0\x80", false},          // overlong
        {"\xE0\x80\x80", false},      // overlong
        {"\xED\xA0\x80", false},      // surrogate
        {"\xF4\x90\x80\x80", false},  // beyond U+10FFFF
        {"\x80", false},              // continuation byte alone
        {"\xFE", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(isValidUtf8(c.bytes), c.valid);
    }
}

}  // namespace
}  // namespace zq
