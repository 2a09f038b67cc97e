#include "dataaccess/odbc/odbc_text.h"

#include <gtest/gtest.h>

namespace zq {
namespace {

TEST(OdbcText, Utf8AndUtf16RoundTrip) {
    for (const std::string s : {"", "abc", "Società è già attivo", "€ 12,50", "𝄞 clef", "ÀÉÌÒÙ àèìòù"}) {
        SCOPED_TRACE(s);
        EXPECT_EQ(fromOdbcText(toOdbcText(s)), s);
    }
    const auto w = toOdbcText("è€𝄞");
    ASSERT_EQ(w.size(), 4u);  // one unit, one unit, a surrogate pair
    EXPECT_EQ(w[0], 0x00E8);
    EXPECT_EQ(w[1], 0x20AC);
    EXPECT_EQ(w[2], 0xD834);
    EXPECT_EQ(w[3], 0xDD1E);
}

TEST(OdbcText, BrokenInputBecomesReplacementCharacters) {
    EXPECT_EQ(fromOdbcText(toOdbcText("a\xC3")), "a\xEF\xBF\xBD");
    const SQLWCHAR lone[] = {0xD800, 'x'};
    EXPECT_EQ(fromOdbcText(lone, 2), "\xEF\xBF\xBDx");
}

}  // namespace
}  // namespace zq
