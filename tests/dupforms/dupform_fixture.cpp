#include "dupform_fixture.h"

#include "app/config_file.h"

#include <QApplication>

namespace zq::test {
namespace {

void ensureApplication() {
    if (QApplication::instance()) return;
    static int argc = 1;
    static char name[] = "zq_dupforms_test";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
}

}  // namespace

void DupFormTest::SetUp() {
    ensureApplication();
    DupTest::SetUp();
}

void DupFormTest::TearDown() {
    EXPECT_EQ(wait.depth, 0) << "the wait window was left open";
    DupTest::TearDown();
}

void DupFormTest::pick(QComboBox* combo, int index) {
    ASSERT_NE(combo, nullptr);
    ASSERT_GE(index, 0);
    ASSERT_LT(index, combo->count());
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

int DupFormTest::itemOf(const QComboBox* combo, long id) {
    for (int i = 0; i < combo->count(); ++i)
        if (combo->itemData(i).toLongLong() == id) return i;
    return -1;
}

int DupFormTest::textOf(const QComboBox* combo, const std::string& text) {
    return combo->findText(QString::fromStdString(text));
}

std::vector<std::string> DupFormTest::configLines() const {
    return ConfigFile::readLines(session->configFilePath());
}

}  // namespace zq::test
