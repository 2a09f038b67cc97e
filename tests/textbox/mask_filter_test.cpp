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
        {"L", false, 'a', 'A'},   {"L", false, 'Z', 'Z'},   {"L", false, '1', 0},     {"L", false, 0xE0, 0},
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

TEST(MaskFilter, TypingKeyByKey) {
    const struct {
        const char* mask;
        const char* keys;
        const char* text;
        int beeps;
    } cases[] = {
        {"NN/NN/NNNN", "1212", "12/12", 0},  // the slash comes in on the third key
        {"NN/NN/NNNN", "31122004", "31/12/2004", 0},
        {"L", "abc1def", "ABCDEF", 1},  // one character rules every position
        {"(NNN)", "123456", "(123)", 3},  // "4" brings ")" in; "4", "5", "6" have nowhere to go
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.mask << " " << c.keys);
        int beeps = 0;
        EXPECT_EQ(typeAll(MaskFilter(QString::fromLatin1(c.mask), false), QString::fromLatin1(c.keys), &beeps),
                  QString::fromLatin1(c.text));
        EXPECT_EQ(beeps, c.beeps);
    }
    const MaskResult third = MaskFilter(QStringLiteral("NN/NN/NNNN"), false).filter('1', QStringLiteral("12"), 2);
    EXPECT_EQ(third.text, QStringLiteral("12/"));
    EXPECT_EQ(third.selStart, 3);
    EXPECT_EQ(third.key, '1');
    // "n" is not "N": in normal mode it is a literal put into the text.
    const MaskResult literal = MaskFilter(QStringLiteral("nN"), false).filter('5', QString(), 0);
    EXPECT_EQ(literal.key, '5');
    EXPECT_EQ(literal.text, QStringLiteral("n"));
    EXPECT_EQ(literal.selStart, 1);
    // Query mode lets literals pass: no "/" put in.
    const MaskResult query = MaskFilter(QStringLiteral("NN/NN"), true).filter('1', QStringLiteral("12"), 2);
    EXPECT_EQ(query.key, '1');
    EXPECT_EQ(query.text, QStringLiteral("12"));
}

TEST(MaskFilter, PasteIsFilteredCharacterByCharacter) {
    MaskPaste p = MaskFilter(QStringLiteral("L"), false).paste(QStringLiteral("xyzw"), QStringLiteral("ABCD"), 1, 2, 5);
    EXPECT_EQ(p.text, QStringLiteral("AXYZD"));  // stops at the maximum, replaces the selection
    EXPECT_EQ(p.selStart, 4);
    EXPECT_TRUE(p.rejected);
    p = MaskFilter(QStringLiteral("NN/NN/NNNN"), false).paste(QStringLiteral("31122004"), QString(), 0, 0, 10);
    EXPECT_EQ(p.text, QStringLiteral("31/12/2004"));
    EXPECT_FALSE(p.rejected);

    QString pasted;
    for (int i = 0; i < 100; ++i) pasted += QStringLiteral("1a.2x");  // 500 characters, no maximum
    p = MaskFilter(QStringLiteral("N"), false).paste(pasted, QString(), 0, 0, 0);
    EXPECT_TRUE(p.rejected);
    EXPECT_EQ(p.text.size(), 300);
    EXPECT_TRUE(p.text.startsWith(QStringLiteral("1,21,2")));
    EXPECT_EQ(p.selStart, 300);
}

}  // namespace
}  // namespace zq
