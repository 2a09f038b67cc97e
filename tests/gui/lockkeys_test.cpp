#include "app/gui/lockkeys.h"

#include "temp_dir.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace zq {
namespace {

class CapsLockLedTest : public ::testing::Test {
protected:
    void led(const char* name, const char* brightness) {
        const QString dir = root() + QLatin1Char('/') + QLatin1String(name);
        ASSERT_TRUE(QDir().mkpath(dir));
        QFile f(dir + QStringLiteral("/brightness"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(brightness);
    }
    QString root() const { return QString::fromStdString(leds.path().string()); }
    test::TempDir leds{"zq-leds"};
};

TEST_F(CapsLockLedTest, NoLedMeansUnknown) {
    EXPECT_EQ(capsLockLed(root()), std::nullopt);
    led("input3::numlock", "1\n");
    EXPECT_EQ(capsLockLed(root()), std::nullopt);
    EXPECT_EQ(capsLockLed(root() + QStringLiteral("/missing")), std::nullopt);
    led("input3::capslock", "n/a");
    EXPECT_EQ(capsLockLed(root()), std::nullopt) << "an unreadable brightness is ignored";
}

TEST_F(CapsLockLedTest, ReadsTheLedAndAnyKeyboardOnCounts) {
    led("input3::capslock", "0\n");
    EXPECT_EQ(capsLockLed(root()), false);
    led("input7::capslock", "1\n");
    EXPECT_EQ(capsLockLed(root()), true);
}

}  // namespace
}  // namespace zq
