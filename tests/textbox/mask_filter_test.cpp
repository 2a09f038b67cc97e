#include "textbox/mask_filter.h"

#include <gtest/gtest.h>

namespace zq {
namespace {

// Types the keys one after the other at the end of the text, as a person would.
QString typeAll(const MaskFilter& f, const QString& keys, int* beeps = nullptr) {
    QString text;
    for (const QChar k : keys) {
        const MaskResult r = f.filter(k.unicode(), text, int(text.size()));
        text = r.text;  // literals stay even when the key itself is refused
        if (r.key == 0) {
            if (beeps) ++*beeps;
            continue;
        }
        text.insert(r.selStart, QChar(r.key));
    }
    return text;
}

struct KeyCase {
    const char* mask;
    bool query;
    int key;
    int expected;  // 0 = rejected
};

TEST(MaskFilter, OneKeyByRulingCharacter) {
    const KeyCase cases[] = {
        {"L", false, 'a', 'A'},   {"L", false, 'Q', 'Q'},   {"L", false, '1', 0},     {"L", false, 0xE0, 0},
        {"A", false, 'b', 'B'},   {"A", false, '5', '5'},   {"A", false, 0xE8, 0xC8}, {"A", false, 0xF9, 0xD9},
        {"A", false, 0xF7, 0xF7}, {"A", false, 0xDF, 0xDF}, {"a", false, 'B', 'b'},   {"a", false, '#', '#'},
        {"l", false, 'B', 'b'},   {"l", false, 'z', 'z'},   {"l", false, '2', 0},     {"N", false, '.', ','},
        {"N", false, '7', '7'},   {"N", false, '-', '-'},   {"N", false, 'a', 0},     {"N", false, ' ', 0},
        {"I", false, '-', '-'},   {"I", false, ',', 0},     {"D", false, '/', '/'},   {"D", false, '.', 0},
        {"H", false, '.', '.'},   {"H", false, '/', 0},     {"T", false, ' ', ' '},   {"T", false, '/', '/'},
        {"T", false, 'x', 0},     {"N", true, '>', '>'},    {"N", true, ':', ':'},    {"N", true, '|', '|'},
        {"N", true, '*', '*'},    {"N", true, '?', '?'},    {"N", true, 'x', 0},      {"", false, 'x', 'x'},
        {"N", false, 8, 8},       {"N", false, '>', 0},     {"n", false, 'x', 0},  // a mask of one literal holds nothing
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "mask " << c.mask << (c.query ? " query" : "") << " key " << c.key);
        const MaskFilter f(QString::fromLatin1(c.mask), c.query);
        const MaskResult r = f.filter(c.key, QString(), 0);
        EXPECT_EQ(r.key, c.expected);
    }
}

TEST(MaskFilter, LowerCaseMaskCharacterIsALiteralNotAnUpperCaseRule) {
    // "n" is not "N": in normal mode it is a literal put into the text.
    const MaskFilter f(QStringLiteral("nN"), false);
    const MaskResult r = f.filter('5', QString(), 0);
    EXPECT_EQ(r.key, '5');
    EXPECT_EQ(r.text, QStringLiteral("n"));
    EXPECT_EQ(r.selStart, 1);
}

TEST(MaskFilter, DateMaskBringsTheSlashInOnTheThirdKey) {
    const MaskFilter f(QStringLiteral("NN/NN/NNNN"), false);
    EXPECT_EQ(typeAll(f, QStringLiteral("1212")), QStringLiteral("12/12"));
    EXPECT_EQ(typeAll(f, QStringLiteral("31122004")), QStringLiteral("31/12/2004"));

    const MaskResult third = f.filter('1', QStringLiteral("12"), 2);
    EXPECT_EQ(third.text, QStringLiteral("12/"));
    EXPECT_EQ(third.selStart, 3);
    EXPECT_EQ(third.key, '1');
}

TEST(MaskFilter, OneCharacterMaskRulesEveryPosition) {
    const MaskFilter f(QStringLiteral("L"), false);
    int beeps = 0;
    EXPECT_EQ(typeAll(f, QStringLiteral("abc1def"), &beeps), QStringLiteral("ABCDEF"));
    EXPECT_EQ(beeps, 1);
}

TEST(MaskFilter, QueryModeLetsLiteralsAndOperatorsPass) {
    const MaskFilter f(QStringLiteral("NN/NN"), true);
    const MaskResult r = f.filter('1', QStringLiteral("12"), 2);
    EXPECT_EQ(r.key, '1');
    EXPECT_EQ(r.text, QStringLiteral("12"));  // no "/" put in
}

TEST(MaskFilter, MaskStartingWithALiteralStopsAtItsEnd) {
    const MaskFilter f(QStringLiteral("(NNN)"), false);
    int beeps = 0;
    EXPECT_EQ(typeAll(f, QStringLiteral("123456"), &beeps), QStringLiteral("(123)"));
    EXPECT_EQ(beeps, 3);  // "4" brings ")" in; "4", "5", "6" have nowhere to go
}

TEST(MaskFilter, LongPasteIsFilteredCharacterByCharacter) {
    const MaskFilter f(QStringLiteral("N"), false);
    QString pasted;
    for (int i = 0; i < 100; ++i) pasted += QStringLiteral("1a.2x");  // 500 characters
    const MaskPaste p = f.paste(pasted, QString(), 0, 0, 0);
    EXPECT_TRUE(p.rejected);
    EXPECT_EQ(p.text.size(), 300);
    EXPECT_TRUE(p.text.startsWith(QStringLiteral("1,21,2")));
    EXPECT_EQ(p.selStart, 300);
}

TEST(MaskFilter, PasteStopsAtMaximumLengthAndReplacesTheSelection) {
    const MaskFilter f(QStringLiteral("L"), false);
    const MaskPaste p = f.paste(QStringLiteral("xyzw"), QStringLiteral("ABCD"), 1, 2, 5);
    EXPECT_EQ(p.text, QStringLiteral("AXYZD"));
    EXPECT_EQ(p.selStart, 4);
    EXPECT_TRUE(p.rejected);
}

TEST(MaskFilter, PasteIntoADateMaskPutsTheLiteralsIn) {
    const MaskFilter f(QStringLiteral("NN/NN/NNNN"), false);
    const MaskPaste p = f.paste(QStringLiteral("31122004"), QString(), 0, 0, 10);
    EXPECT_EQ(p.text, QStringLiteral("31/12/2004"));
    EXPECT_FALSE(p.rejected);
}

}  // namespace
}  // namespace zq
