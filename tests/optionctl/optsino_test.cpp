#include "optionctl/optsino.h"

#include "optionctl/option_layout.h"
#include "textbox/ole_color.h"
#include "textbox/property_bag.h"

#include <QApplication>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace zq {
namespace {

QApplication& app() {
    static int argc = 1;
    static char name[] = "optsino_test";
    static char* argv[] = {name, nullptr};
    static QApplication* a = new QApplication(argc, argv);
    return *a;
}

class OptSiNoTest : public testing::Test {
protected:
    static void SetUpTestSuite() { app(); }
    void SetUp() override {
        form.resize(300, 60);
        opt = new optSiNo(&form);
        opt->initProperties();
        opt->setGeometry(0, 0, 200, 20);
    }
    // On the round indicator: the rest of the button's half is not the button's to take.
    static void click(QRadioButton* b) { QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2)); }

    void showForm() {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }

    QWidget form;
    optSiNo* opt = nullptr;
};

// Captions, codes and colours of a new control, or of one loaded from an empty store.
void expectNewChoices(const optSiNo& o) {
    EXPECT_EQ(o.caption0(), QStringLiteral("&Si"));
    EXPECT_EQ(o.caption1(), QStringLiteral("&No"));
    EXPECT_EQ(o.tag0(), QStringLiteral("S"));
    EXPECT_EQ(o.tag1(), QStringLiteral("N"));
    EXPECT_EQ(o.backColor(), optSiNo::kButtonFace);
    EXPECT_EQ(o.foreColor(), optSiNo::kButtonText);
}

TEST_F(OptSiNoTest, NewControlOffersSiAndNoAndAssigningTheValueIsCaseSensitive) {
    expectNewChoices(*opt);
    EXPECT_EQ(QKeySequence::mnemonic(opt->button(0)->text()), QKeySequence(Qt::ALT | Qt::Key_S));
    EXPECT_EQ(QKeySequence::mnemonic(opt->button(1)->text()), QKeySequence(Qt::ALT | Qt::Key_N));
    EXPECT_EQ(opt->button(0)->palette().color(QPalette::Window), opt->palette().color(QPalette::Button));
    const struct {
        const char* assigned;
        bool firstOn, secondOn;
    } cases[] = {
        {"", false, false}, {"N", false, true}, {"n", false, false}, {"S", true, false}, {"SN", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.assigned);
        optSiNo fresh(&form);
        QSignalSpy changes(&fresh, &optSiNo::Change);
        fresh.setValue(QString::fromLatin1(c.assigned));
        EXPECT_EQ(fresh.value(), QString::fromLatin1(c.assigned));
        EXPECT_EQ(fresh.button(0)->isChecked(), c.firstOn);
        EXPECT_EQ(fresh.button(1)->isChecked(), c.secondOn);
        EXPECT_EQ(changes.count(), 0);  // only the person's picks raise Change
    }
    // A value matching no code leaves the buttons as they were.
    opt->setValue(QStringLiteral("N"));
    opt->setValue(QStringLiteral("n"));
    EXPECT_TRUE(opt->button(1)->isChecked());
    EXPECT_EQ(opt->value(), QStringLiteral("n"));
}

TEST_F(OptSiNoTest, ClickingOrReleasingAKeyOnAButtonRaisesChangeOnce) {
    showForm();
    QSignalSpy changes(opt, &optSiNo::Change);
    click(opt->button(0));
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(opt->value(), QStringLiteral("S"));
    EXPECT_TRUE(opt->button(0)->isChecked());
    click(opt->button(1));
    EXPECT_EQ(changes.count(), 2);
    EXPECT_EQ(opt->value(), QStringLiteral("N"));
    EXPECT_FALSE(opt->button(0)->isChecked());

    // Releasing a key on a button picks it too.
    QTest::keyRelease(opt->button(0), Qt::Key_Tab);
    EXPECT_EQ(changes.count(), 3);
    EXPECT_EQ(opt->value(), QStringLiteral("S"));
}

TEST_F(OptSiNoTest, ButtonsShareTheControlHalfAndHalfAndTakeItsFontAndColours) {
    showForm();
    opt->resize(120, 20);
    opt->resize(200, 25);  // 3000 twips: the second choice starts at 1500
    EXPECT_EQ(opt->button(0)->geometry(), QRect(0, 0, 100, 25));
    EXPECT_EQ(opt->button(1)->geometry(), QRect(100, 0, 100, 25));
    EXPECT_EQ(opt->button(1)->x() * OptionLayout::kTwipsPerPixel, 1500);

    QFont f(QStringLiteral("Arial"), 12);
    f.setBold(true);
    opt->setChoiceFont(f);
    opt->setForeColor(0x0000FF);
    opt->setBackColor(0x00FF00);
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(opt->button(i)->font().family(), QStringLiteral("Arial"));
        EXPECT_TRUE(opt->button(i)->font().bold());
        // Styles paint a radio button with one role or the other: both carry the colours.
        EXPECT_EQ(opt->button(i)->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        EXPECT_EQ(opt->button(i)->palette().color(QPalette::ButtonText), QColor(255, 0, 0));
        EXPECT_EQ(opt->button(i)->palette().color(QPalette::Button), QColor(0, 255, 0));
    }
    // The back colour is painted on the form, not only kept in the palette.
    EXPECT_EQ(form.grab().toImage().pixelColor(195, 2), QColor(0, 255, 0));
    EXPECT_EQ(opt->choiceFont().pointSize(), 12);
}

TEST_F(OptSiNoTest, RelabelledItSurvivesASaveAndLoadButTheValueDoesNotAndMissingKeysGiveDefaults) {
    opt->setCaption0(QStringLiteral("&Mov."));
    opt->setCaption1(QStringLiteral("&Altro"));
    opt->setTag0(QStringLiteral("M"));
    opt->setTag1(QStringLiteral("A"));
    QFont f(QStringLiteral("Arial"), 9);
    f.setItalic(true);
    opt->setChoiceFont(f);
    opt->setForeColor(0x000080);
    opt->setValue(QStringLiteral("A"));
    EXPECT_TRUE(opt->button(1)->isChecked() && !opt->button(0)->isChecked());
    EXPECT_EQ(opt->button(1)->text(), QStringLiteral("&Altro"));
    showForm();
    click(opt->button(0));
    EXPECT_EQ(opt->value(), QStringLiteral("M"));

    PropertyBag bag;
    opt->writeProperties(bag);
    EXPECT_FALSE(bag.contains("Value"));
    PropertyBag reloaded;
    for (const QString& k : bag.keys()) reloaded.write(k.toLower(), bag.read(k));

    optSiNo copy(&form);
    copy.readProperties(reloaded);
    EXPECT_EQ(copy.caption0(), QStringLiteral("&Mov."));
    EXPECT_EQ(copy.caption1(), QStringLiteral("&Altro"));
    EXPECT_EQ(copy.tag0(), QStringLiteral("M"));
    EXPECT_EQ(copy.tag1(), QStringLiteral("A"));
    EXPECT_EQ(copy.choiceFont().family(), QStringLiteral("Arial"));
    EXPECT_TRUE(copy.choiceFont().italic());
    EXPECT_EQ(copy.foreColor(), 0x000080u);
    EXPECT_EQ(copy.backColor(), optSiNo::kButtonFace);
    EXPECT_EQ(copy.value(), QString());

    // Missing keys give the defaults, and the form's font.
    QFont formFont(QStringLiteral("Courier"), 14);
    form.setFont(formFont);
    optSiNo loaded(&form);
    loaded.setCaption0(QStringLiteral("x"));
    loaded.readProperties(PropertyBag());
    expectNewChoices(loaded);
    EXPECT_EQ(loaded.choiceFont().family(), QStringLiteral("Courier"));
    EXPECT_EQ(loaded.choiceFont().pointSize(), 14);
    PropertyBag defaults;
    loaded.writeProperties(defaults);
    EXPECT_FALSE(defaults.contains("Caption0")) << "a default is not written";
    EXPECT_EQ(OleColor::fromStored(defaults.read("ForeColor"), 0), optSiNo::kButtonText) << "colours always are";
    // A control placed anew starts from the defaults whatever it held.
    copy.initProperties();
    expectNewChoices(copy);
}

}  // namespace
}  // namespace zq
