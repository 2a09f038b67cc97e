#pragma once
// A demo installation logged in on scripted dialogs (the duplication tests' fixture), a
// QApplication, and the steps a person takes on the forms; the wait window's texts are
// recorded.

#include "../linkforms/form_steps.h"
#include "dup_fixture.h"

#include "app/config_file.h"
#include "listctl/check_column.h"
#include "listctl/flex_grid.h"
#include "listctl/grdcomm.h"
#include "runtime/text.h"
#include "textbox/txtfrmt.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <filesystem>
#include <string>
#include <vector>

namespace zq::test {

namespace fs = std::filesystem;

class DupFormTest : public DupTest {
protected:
    void SetUp() override {
        ensureApplication();
        DupTest::SetUp();
    }
    void TearDown() override {
        EXPECT_EQ(wait.depth, 0) << "the wait window was left open";
        DupTest::TearDown();
    }

    /// Shows a form as the person sees it.
    template <class F>
    static void show(F& form, int width = 1000, int height = 560) {
        form.resize(width, height);
        form.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
    }
    /// Index of the item whose ItemData is `id`; -1 when absent.
    static int itemOf(const QComboBox* combo, long id) {
        for (int i = 0; i < combo->count(); ++i)
            if (combo->itemData(i).toLongLong() == id) return i;
        return -1;
    }
    /// Rows of a table of the archive file.
    long rowCount(const std::string& table) const {
        return std::stol(archiveRows("SELECT COUNT(*) FROM " + table)[0][0]);
    }
    std::vector<std::string> configLines() const { return ConfigFile::readLines(session->configFilePath()); }

    RecordingWait wait;
};

}  // namespace zq::test
