#pragma once
// What the widget tests share: one QApplication on the offscreen platform, settings
// kept in a fresh folder per test, and a way to act on a modal dialog while it runs.

#include "temp_dir.h"

#include <QApplication>
#include <QSettings>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>

/// Readable QString values in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace zq::test {

inline QApplication& guiApp() {
    static int argc = 1;
    static char name[] = "zq_gui_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    return *app;
}

/// Base fixture: the application, and a settings store of the test's own.
class GuiTest : public ::testing::Test {
protected:
    void SetUp() override {
        guiApp();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QString::fromStdString(settingsDir.path().string()));
    }
    void TearDown() override {
        for (QWidget* w : QApplication::topLevelWidgets())
            w->deleteLater();
        QApplication::processEvents();
    }

    TempDir settingsDir{"zq-settings"};
};

/// Runs `action` on the first modal widget that appears (polling the event loop), so a
/// test can drive a dialog that the code under test shows with exec().
inline void whenModal(std::function<void(QWidget*)> action, int triesLeft = 200) {
    QTimer::singleShot(10, [action = std::move(action), triesLeft] {
        if (QWidget* w = QApplication::activeModalWidget()) {
            action(w);
            return;
        }
        if (triesLeft > 0) {
            whenModal(action, triesLeft - 1);
        } else {
            ADD_FAILURE() << "no modal dialog appeared";
        }
    });
}

}  // namespace zq::test
