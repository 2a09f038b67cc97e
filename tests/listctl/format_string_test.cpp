#include "listctl/format_string.h"

#include <gtest/gtest.h>

namespace zq {
namespace {

struct FormatCase {
    const char* text;
    std::vector<FormatColumn> columns;
};

TEST(FormatStringTest, SplitsColumnsAlignmentAndHeaders)
{
    using A = GridAlign;
    const FormatCase cases[] = {
        {"    |  N.  |<Area|<Descrizione|Ditta",
         {{"    ", A::General}, {"  N.  ", A::General}, {"Area", A::LeftCenter},
          {"Descrizione", A::LeftCenter}, {"Ditta", A::General}}},
        {"     |     |  N.  |<Descrizione| ",
         {{"     ", A::General}, {"     ", A::General}, {"  N.  ", A::General},
          {"Descrizione", A::LeftCenter}, {" ", A::General}}},
        {"^Centro|>Importo|<", {{"Centro", A::CenterCenter}, {"Importo", A::RightCenter}, {"", A::LeftCenter}}},
        {"a<b|", {{"a<b", A::General}, {"", A::General}}},
        {"", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(FormatString::parse(c.text).columns(), c.columns);
        EXPECT_TRUE(FormatString::parse(c.text).rowHeaders().empty());
    }
}

TEST(FormatStringTest, RowHeaderSectionAfterSemicolon)
{
    const FormatString fs = FormatString::parse("|<Nome;|uno|due");
    ASSERT_EQ(fs.columns().size(), 2u);
    EXPECT_EQ(fs.columns()[1].header, "Nome");
    EXPECT_EQ(fs.rowHeaders(), (std::vector<std::string>{"", "uno", "due"}));
}

}  // namespace
}  // namespace zq
