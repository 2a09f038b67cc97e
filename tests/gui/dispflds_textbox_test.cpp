// DispFlds on the real formatted text box of the Lumetext library, which it recognises
// by its display() operation and Text property alone.

#include "app/gui/dispflds.h"

#include "guitest.h"
#include "scripted_dialogs.h"
#include "textbox/txtfrmt.h"

namespace zq {
namespace {

using test::GuiTest;
using test::ScriptedDialogs;

class DispFldsTextBoxTest : public GuiTest {
protected:
    ScriptedDialogs dialogs;
};

TEST_F(DispFldsTextBoxTest, ShowsValuesAndClearsOnNull) {
    txtFrmt box;
    DispFlds(dialogs, Value("Rossi S.p.A."), &box);
    EXPECT_EQ(box.property("Text").toString(), QStringLiteral("Rossi S.p.A."));

    DispFlds(dialogs, Value(DateTime{2024, 3, 5, 0, 0, 0}), &box);
    EXPECT_EQ(box.property("Text").toString(), QStringLiteral("05/03/2024"));

    DispFlds(dialogs, Value::null(), &box);
    EXPECT_EQ(box.property("Text").toString(), QString());

    // A number box would show "0" for Null: DispFlds clears it instead of displaying.
    box.setDataType(DataTypes::decimale);
    DispFlds(dialogs, Value(42), &box);
    EXPECT_EQ(box.property("Text").toString(), QStringLiteral("42"));
    DispFlds(dialogs, Value::null(), &box);
    EXPECT_EQ(box.property("Text").toString(), QString());
    EXPECT_TRUE(dialogs.messages().empty());
}

}  // namespace
}  // namespace zq
