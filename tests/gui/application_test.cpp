// The program's application object: an error that escapes an event handler ends the
// program at once. Each case runs in a child process (a death test), as the program
// really ends.

#include "app/gui/application.h"

#include "common/error.h"

#include <QMessageBox>
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

}  // namespace
}  // namespace zq

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    zq::Application app(argc, argv);
    return RUN_ALL_TESTS();
}
