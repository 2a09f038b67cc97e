#include "app/gui/dispflds.h"

#include "guitest.h"
#include "scripted_dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>

namespace zq {
namespace {

using test::GuiTest;
using test::ScriptedDialogs;

class DispFldsTest : public GuiTest {
protected:
    ScriptedDialogs dialogs;
};

TEST_F(DispFldsTest, CheckBox) {
    const struct {
        const char* what;
        Value value;
        bool ticked;
    } cases[] = {
        {"Null", Value::null(), false},       {"S", Value("S"), true},
        {"1 as text", Value("1"), true},      {"True", Value(true), true},
        {"1 as number", Value(1), true},      {"N", Value("N"), false},
        {"0", Value(0), false},               {"s lower case", Value("s"), false},
        {"False", Value(false), false},       {"empty text", Value(""), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (bool before : {false, true}) {
            QCheckBox box;
            box.setChecked(before);
            DispFlds(dialogs, c.value, &box);
            EXPECT_EQ(box.isChecked(), c.ticked);
        }
    }
}

TEST_F(DispFldsTest, FrameSwitchesOnItsButtonWithTheSameTag) {
    QWidget form;
    auto* frame = new QGroupBox(&form);
    auto* yes = new QRadioButton(frame);
    auto* no = new QRadioButton(frame);
    auto* elsewhere = new QRadioButton(&form);  // same Tag, other container
    yes->setProperty("Tag", "S");
    no->setProperty("Tag", "N");
    elsewhere->setProperty("Tag", "S");
    no->setChecked(true);
    const QList<QAbstractButton*> options{yes, no, elsewhere};

    DispFlds(dialogs, Value("S"), frame, options);
    EXPECT_EQ(frame->property("Tag").toString(), QStringLiteral("S"));
    EXPECT_TRUE(yes->isChecked());
    EXPECT_FALSE(no->isChecked());
    EXPECT_FALSE(elsewhere->isChecked());

    DispFlds(dialogs, Value::null(), frame, options);
    EXPECT_EQ(frame->property("Tag").toString(), QString());
    EXPECT_TRUE(yes->isChecked());  // nothing matches, nothing changes
}

TEST_F(DispFldsTest, LabelWithAndWithoutFormatTag) {
    const struct {
        const char* tag;
        Value value;
        const char* shown;
    } cases[] = {
        {"dd/mm/yyyy", Value(DateTime{2024, 3, 5, 14, 30, 0}), "05/03/2024"},
        {"#,##0.00", Value(1234.5), "1.234,50"},
        {"   ", Value(2.5), "2,5"},
        {nullptr, Value::null(), ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown);
        QLabel label(QStringLiteral("old"));
        if (c.tag)
            label.setProperty("Tag", c.tag);
        DispFlds(dialogs, c.value, &label);
        EXPECT_EQ(label.text(), QString::fromLatin1(c.shown));
    }
}

TEST_F(DispFldsTest, ListBoxByRowNumberAndOverflowThroughTheErrorReport) {
    QListWidget list;
    list.addItems({"a", "b", "c"});
    DispFlds(dialogs, Value("2"), &list);
    EXPECT_EQ(list.currentRow(), 2);
    DispFlds(dialogs, Value("abc"), &list);
    EXPECT_EQ(list.currentRow(), 0);
    DispFlds(dialogs, Value::null(), &list);
    EXPECT_EQ(list.currentRow(), 0);
    EXPECT_TRUE(dialogs.messages().empty());

    // An overflow goes through the error report.
    list.setCurrentRow(1);
    dialogs.then(Answer::Ignore);
    DispFlds(dialogs, Value("99999999999"), &list);
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_TRUE(dialogs.saw("ClngText"));
    EXPECT_EQ(list.currentRow(), 0);  // ignored: the routine gave 0
}

TEST_F(DispFldsTest, ComboBoxByItemData) {
    QComboBox combo;
    combo.addItem(QStringLiteral("Dieci"), 10);
    combo.addItem(QStringLiteral("Venti"), 20);
    combo.addItem(QStringLiteral("Venti bis"), 20);
    combo.addItem(QStringLiteral("Codice"), QStringLiteral("A1"));
    const struct {
        const char* what;
        Value value;
        int index;
    } cases[] = {
        {"text 20", Value("20"), 1}, {"number 10", Value(10), 0}, {"text A1", Value("A1"), 3},
        {"0", Value("0"), -1},       {"empty", Value(""), -1},    {"Null", Value::null(), -1},
        {"absent 99", Value("99"), -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        combo.setCurrentIndex(2);
        DispFlds(dialogs, c.value, &combo);
        EXPECT_EQ(combo.currentIndex(), c.index);
    }
}

TEST_F(DispFldsTest, OtherControlsAndNoControlAreLeftAlone) {
    QLineEdit edit(QStringLiteral("unchanged"));
    DispFlds(dialogs, Value("x"), &edit);
    EXPECT_EQ(edit.text(), QStringLiteral("unchanged"));
    DispFlds(dialogs, Value("x"), nullptr);
    EXPECT_TRUE(dialogs.messages().empty());
}

}  // namespace
}  // namespace zq

