#include "listctl/editor_kind.h"
#include "listctl/key_filter.h"

#include <gtest/gtest.h>

#include <string>

namespace zq {
namespace {

struct MaskCase {
    const char* mask;
    int key;
    int expected;
};

TEST(KeyFilterTest, MaskDecidesByItsFirstCharacter)
{
    const MaskCase cases[] = {
        {"I", 'x', 0}, {"I", '5', '5'}, {"I", ',', 0}, {"I9999", '0', '0'},
        {"A", 'x', 'X'}, {"A", 'X', 'X'}, {"A", '1', '1'}, {"A", 232, 200}, {"A", 224, 192},
        {"A", 249, 217}, {"A", '%', '%'},
        {"L", 'a', 'A'}, {"L", 'Z', 'Z'}, {"L", '1', 0}, {"L", 232, 0}, {"L", ' ', 0},
        {"N", '7', '7'}, {"N", ',', ','}, {"N", '-', '-'}, {"N", '.', 0}, {"N", 'a', 0},
        {"D", '/', '/'}, {"D", '9', '9'}, {"D", ':', 0}, {"D", '.', 0},
        {"H", ':', ':'}, {"H", '0', '0'}, {"H", '/', 0}, {"H", '.', 0},
        {"", 'x', 'x'}, {"", 232, 232}, {"Z", 'x', 'x'}, {"a", 'x', 'x'},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("mask '") + c.mask + "' key " + std::to_string(c.key));
        EXPECT_EQ(KeyFilter::byMask(c.mask, c.key), c.expected);
    }
}

TEST(KeyFilterTest, UpperCaseLeavesNonLettersOfTheAccentedRangeAlone)
{
    // Ý, Þ, ß are no lower-case letters and ÷ is no letter: they must not turn into
    // "½", "¾", "¿" and "×".
    for (int code : {221, 222, 223, 247, 250, 48, 64, 91, 123})
        EXPECT_EQ(KeyFilter::upperLetter(code), code) << code;
    EXPECT_EQ(KeyFilter::upperLetter('q'), 'Q');
    EXPECT_EQ(KeyFilter::upperLetter(242), 210);  // ò → Ò
}

TEST(EditorKindTest, UpperCasedFirstThreeLettersOfTheName)
{
    const struct {
        const char* name;
        EditorKind kind;
    } cases[] = {
        {"txtList", EditorKind::Txt}, {"TXT", EditorKind::Txt}, {"tdbData", EditorKind::Tdb},
        {"cmbTDoc", EditorKind::Cmb}, {"LstScelta", EditorKind::Lst}, {"fmeFlds", EditorKind::Fme},
        {"chkList", EditorKind::Chk}, {"picColl", EditorKind::Other}, {"tx", EditorKind::Other},
        {"", EditorKind::Other}, {"text", EditorKind::Other},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(editorKindOf(c.name), c.kind);
    }
}

}  // namespace
}  // namespace zq
