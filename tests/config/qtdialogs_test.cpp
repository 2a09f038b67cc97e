#include "config/qtdialogs.h"

#include "common/product.h"
#include "guitest.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>

#include <memory>

namespace zq {
namespace {

using test::GuiTest;
using test::whenModal;

QStringList buttonTexts(QMessageBox* box) {
    // In the order they were added, which is the order the original shows them.
    QStringList out;
    for (QAbstractButton* b : box->buttons())
        out << b->text();
    return out;
}

class QtDialogsTest : public GuiTest {};

TEST_F(QtDialogsTest, ButtonsAndAnswersAsTheStyleSays) {
    const struct {
        Buttons buttons;
        QStringList texts;
        std::vector<Answer> answers;
    } cases[] = {
        {Buttons::Ok, {"OK"}, {Answer::Ok}},
        {Buttons::OkCancel, {"OK", "Annulla"}, {Answer::Ok, Answer::Cancel}},
        {Buttons::AbortRetryIgnore, {"Interrompi", "Riprova", "Ignora"},
         {Answer::Abort, Answer::Retry, Answer::Ignore}},
        {Buttons::YesNoCancel, {"Sì", "No", "Annulla"}, {Answer::Yes, Answer::No, Answer::Cancel}},
        {Buttons::YesNo, {"Sì", "No"}, {Answer::Yes, Answer::No}},
        {Buttons::RetryCancel, {"Riprova", "Annulla"}, {Answer::Retry, Answer::Cancel}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.buttons));
        std::unique_ptr<QMessageBox> box(QtDialogs::createBox(Message{"x", "", c.buttons}, nullptr));
        QStringList texts = buttonTexts(box.get());
        std::sort(texts.begin(), texts.end());
        QStringList expected = c.texts;
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(texts, expected);
        EXPECT_EQ(box->defaultButton()->text(), c.texts.first());

        // Pressing each button gives its answer.
        for (std::size_t i = 0; i < c.answers.size(); ++i) {
            const QString wanted = c.texts[int(i)];
            whenModal([wanted](QWidget* w) {
                auto* b = qobject_cast<QMessageBox*>(w);
                ASSERT_NE(b, nullptr);
                for (QAbstractButton* btn : b->buttons())
                    if (btn->text() == wanted)
                        btn->click();
            });
            QtDialogs dialogs;
            EXPECT_EQ(dialogs.message(Message{"domanda", "", c.buttons}), c.answers[i]) << wanted.toStdString();
        }
    }
}

TEST_F(QtDialogsTest, TitleTextAndIcon) {
    std::unique_ptr<QMessageBox> plain(QtDialogs::createBox(
        Message{"Riga uno\r\nRiga due", "", Buttons::Ok, Icon::Exclamation}, nullptr));
    EXPECT_EQ(plain->windowTitle(), QString::fromUtf8(kAppTitle));
    EXPECT_EQ(plain->text(), QStringLiteral("Riga uno\nRiga due"));
    EXPECT_EQ(plain->icon(), QMessageBox::Warning);

    const struct {
        Icon icon;
        QMessageBox::Icon qt;
    } icons[] = {{Icon::None, QMessageBox::NoIcon},
                 {Icon::Critical, QMessageBox::Critical},
                 {Icon::Question, QMessageBox::Question},
                 {Icon::Exclamation, QMessageBox::Warning},
                 {Icon::Information, QMessageBox::Information}};
    for (const auto& i : icons) {
        std::unique_ptr<QMessageBox> box(
            QtDialogs::createBox(Message{"t", "Titolo del form", Buttons::Ok, i.icon}, nullptr));
        EXPECT_EQ(box->icon(), i.qt);
        EXPECT_EQ(box->windowTitle(), QStringLiteral("Titolo del form"));
    }
}

TEST_F(QtDialogsTest, MsgBoxStyleReachesTheBox) {
    // 18 = Abort/Retry/Ignore + critical, the error report's style.
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    whenModal([&](QWidget* w) {
        auto* b = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(b, nullptr);
        title = b->windowTitle();
        text = b->text();
        icon = b->icon();
        buttons = buttonTexts(b);
        for (QAbstractButton* btn : b->buttons())
            if (btn->text() == QLatin1String("Ignora"))
                btn->click();
    });
    QtDialogs dialogs;
    EXPECT_EQ(dialogs.msgBox("Errore 3 x", 18, "zel_QUIRNOVA: Errore non previsto."), Answer::Ignore);
    EXPECT_EQ(title, QStringLiteral("zel_QUIRNOVA: Errore non previsto."));
    EXPECT_EQ(text, QStringLiteral("Errore 3 x"));
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_EQ(buttons.size(), 3);
}

TEST_F(QtDialogsTest, EscapeOnlyWhereWindowsAllowsIt) {
    // Yes/No has no escape: closing the box is not an answer the engine can mistake for No.
    std::unique_ptr<QMessageBox> yesNo(QtDialogs::createBox(Message{"t", "", Buttons::YesNo}, nullptr));
    EXPECT_EQ(yesNo->escapeButton(), nullptr);
    std::unique_ptr<QMessageBox> okCancel(QtDialogs::createBox(Message{"t", "", Buttons::OkCancel}, nullptr));
    ASSERT_NE(okCancel->escapeButton(), nullptr);
    EXPECT_EQ(okCancel->escapeButton()->text(), QStringLiteral("Annulla"));

    whenModal([](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
    QtDialogs dialogs;
    EXPECT_EQ(dialogs.message(Message{"t", "", Buttons::OkCancel}), Answer::Cancel);
}

}  // namespace
}  // namespace zq
