#include "common/dialogs.h"

#include "scripted_dialogs.h"

#include <gtest/gtest.h>

namespace zq {
namespace {

TEST(MsgBox, StyleSplitsIntoButtonsAndIcon) {
    const struct {
        int style;
        Buttons buttons;
        Icon icon;
    } cases[] = {
        {0, Buttons::Ok, Icon::None}, {18, Buttons::AbortRetryIgnore, Icon::Critical},
        {64, Buttons::Ok, Icon::Information}, {35, Buttons::YesNoCancel, Icon::Question},
        {49, Buttons::OkCancel, Icon::Exclamation}, {5, Buttons::RetryCancel, Icon::None},
        {4 + 32 + 256, Buttons::YesNo, Icon::Question},  // a default-button flag changes neither
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.style);
        test::ScriptedDialogs dialogs;
        dialogs.then(Answer::No);
        EXPECT_EQ(dialogs.msgBox("Continuare?", c.style, "Titolo"), Answer::No);
        ASSERT_EQ(dialogs.messages().size(), 1u);
        const Message& m = dialogs.messages().front();
        EXPECT_EQ(m.text, "Continuare?");
        EXPECT_EQ(m.title, "Titolo");
        EXPECT_EQ(m.buttons, c.buttons);
        EXPECT_EQ(m.icon, c.icon);
    }
}

}  // namespace
}  // namespace zq
