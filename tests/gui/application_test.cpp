// The program's application object: an error that escapes an event handler ends the
// program at once (each such case runs in a child process, a death test, as the
// program really ends), and the toolkit's dialogs speak Italian.

#include "app/gui/application.h"

#include "common/error.h"
#include "config/sceltadir.h"

#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace zq {
namespace {

class Thrower : public QObject {
public:
    enum class What { Abort, Error };
    explicit Thrower(What w) : what_(w) {}

protected:
    bool event(QEvent* e) override {
        if (e->type() != QEvent::User)
            return QObject::event(e);
        if (what_ == What::Abort)
            throw AbortProgram(5);
        throw Error(3021, "Nessun record corrente");
    }

private:
    What what_;
};

TEST(ApplicationDeathTest, AbortInAnEventHandlerEndsAtOnceWithItsCode) {
    EXPECT_EXIT(
        {
            Thrower t(Thrower::What::Abort);
            QCoreApplication::postEvent(&t, new QEvent(QEvent::User));
            // Nothing after the abort may run.
            QTimer::singleShot(0, [] { std::fputs("still running", stderr); });
            QCoreApplication::exec();
            std::exit(0);
        },
        ::testing::ExitedWithCode(5), ::testing::Not(::testing::HasSubstr("still running")));
}

TEST(ApplicationDeathTest, OtherErrorIsShownThenEndsWithCodeOne) {
    EXPECT_EXIT(
        {
            Thrower t(Thrower::What::Error);
            QCoreApplication::postEvent(&t, new QEvent(QEvent::User));
            // Answer the box the error shows, reporting what it said.
            QTimer::singleShot(50, [] {
                if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                    std::fprintf(stderr, "[%s]", qPrintable(box->text()));
                    box->accept();
                }
            });
            QCoreApplication::exec();
            std::exit(0);
        },
        ::testing::ExitedWithCode(1), "\\[3021 - Nessun record corrente\\]");
}

TEST(ApplicationTest, TheFolderPickerSpeaksItalianAndOpensAtTheFieldsFolder) {
    QTemporaryDir home;
    const QString folder = home.path() + QStringLiteral("/Aree comuni d'Italià");
    ASSERT_TRUE(QDir().mkpath(folder));
    // As the grouping parameters store it: with a final backslash.
    for (const QString& field : {folder + QStringLiteral("\\"), folder + QStringLiteral("/manca")}) {
        SCOPED_TRACE(field.toStdString());
        QString openedAt, lookIn;
        QStringList buttons;
        QTimer::singleShot(0, [&] {
            auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dlg) return;
            openedAt = dlg->directory().absolutePath();
            if (auto* l = dlg->findChild<QLabel*>(QStringLiteral("lookInLabel"))) lookIn = l->text();
            for (const QPushButton* b : dlg->findChildren<QPushButton*>())
                if (b->isVisible()) buttons << b->text().remove(QChar('&'));
            dlg->reject();
        });
        EXPECT_EQ(SceltaDir(nullptr, QStringLiteral("Parametri Raggruppamento Aree"), field), QString());
        EXPECT_EQ(openedAt, folder);
        EXPECT_EQ(lookIn, QStringLiteral("Cerca in:"));
        EXPECT_TRUE(buttons.contains(QStringLiteral("Annulla"))) << buttons.join(QChar('|')).toStdString();
        EXPECT_TRUE(buttons.contains(QStringLiteral("Scegli"))) << buttons.join(QChar('|')).toStdString();
    }
}

}  // namespace
}  // namespace zq

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    zq::Application app(argc, argv);
    return RUN_ALL_TESTS();
}
