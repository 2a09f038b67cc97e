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
        {"ÀÈÌÒÙ abc", "àèìòù abc", "ÀÈÌÒÙ ABC"}, {"àÿ", "àÿ", "ÀŸ"}, {"perché", "perché", "PERCHÉ"}, {"Ÿ Œ Š Ž", "ÿ œ š ž", "Ÿ Œ Š Ž"},
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
    EXPECT_EQ(vbLeft("abc", 10), "abc");
    EXPECT_EQ(vbLeft("abc", 0), "");
    EXPECT_EQ(vbMid("perché no", 5, 3), "hé ");
    EXPECT_EQ(vbMid("abc", 2), "bc");
    EXPECT_EQ(vbMid("abc", 3, 5), "c");
    EXPECT_EQ(vbMid("abc", 4), "");
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

// Windows-1252 files are read as well as UTF-8 ones: which is which, and the conversion.
TEST(Encoding, Cp1252ToUtf8AndUtf8Validity) {
    const Case cases[] = {
        {"abc", "abc"}, {"\x80", "€"}, {"citt\xE0", "città"}, {"\x92", "’"}, {"\x81", "\xC2\x81"}, {"\xFF", "ÿ"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        EXPECT_EQ(cp1252ToUtf8(c.input), c.expected);
        EXPECT_EQ(utf8ToCp1252(c.expected), std::string(c.input)) << "and back";
    }
    EXPECT_EQ(utf8ToCp1252("città Ā"), std::nullopt) << "no Windows-1252 code for Ā";
    const struct {
        const char* bytes;
        bool valid;
    } utf8[] = {
        {"", true}, {"àè€", true}, {"\xF0\x9F\x98\x80", true}, {"\xF4\x8F\xBF\xBF", true},  // U+10FFFF, the last
        {"\xC3", false},              // cut short
        {"citt\xE0", false},          // Windows-1252, not UTF-8
        {"\xC0\x80", false},          // overlong
        {"\xE0\x80\x80", false},      // overlong
        {"\xED\xA0\x80", false},      // surrogate
        {"\xF4\x90\x80\x80", false},  // beyond U+10FFFF
        {"\x80", false},              // continuation byte alone
        {"\xFE", false},
    };
    for (const auto& c : utf8) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(isValidUtf8(c.bytes), c.valid);
    }
}

}  // namespace
}  // namespace zq
