#include "listctl/format_string.h"

#include <gtest/gtest.h>

namespace zq {
namespace {

TEST(FormatStringTest, SplitsColumnsAlignmentHeadersAndRowHeaders)
{
    using A = GridAlign;
    const struct {
        const char* text;
        std::vector<FormatColumn> columns;
        std::vector<std::string> rowHeaders;
    } cases[] = {
        {"    |  N.  |<Area|<Descrizione|Ditta",
         {{"    ", A::General}, {"  N.  ", A::General}, {"Area", A::LeftCenter},
          {"Descrizione", A::LeftCenter}, {"Ditta", A::General}}, {}},
        {"^Centro|>Importo|<", {{"Centro", A::CenterCenter}, {"Importo", A::RightCenter}, {"", A::LeftCenter}}, {}},
        {"a<b|", {{"a<b", A::General}, {"", A::General}}, {}},
        {"", {}, {}},
        {"|<Nome;|uno|due", {{"", A::General}, {"Nome", A::LeftCenter}}, {"", "uno", "due"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const FormatString fs = FormatString::parse(c.text);
        EXPECT_EQ(fs.columns(), c.columns);
        EXPECT_EQ(fs.rowHeaders(), c.rowHeaders);
    }
}

}  // namespace
}  // namespace zq
