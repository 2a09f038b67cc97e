#pragma once
// A demo installation logged in on scripted dialogs (the duplication tests' fixture), a
// QApplication, and the steps a person takes on the forms: pick in a combo, press a
// button; the wait window's texts are recorded.

#include "dup_fixture.h"

#include "common/progress.h"

#include <QComboBox>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

namespace zq::test {

/// Records the wait window: how often it opened, whether it is open, what it said.
/// Closing a closed window does nothing, as with the program's wait window.
class RecordingWait : public Progress {
public:
    void begin(const std::string&) override { ++begins, ++depth; }
    void end() override {
        if (depth > 0) --depth;
    }
    void setLabel(const std::string& text) override { labels.push_back(text); }
    int begins = 0;
    int depth = 0;
    std::vector<std::string> labels;
};

class DupFormTest : public DupTest {
protected:
    void SetUp() override;
    void TearDown() override;

    /// Shows a form as the person sees it.
    template <class F>
    static void show(F& form, int width = 1000, int height = 560) {
        form.resize(width, height);
        form.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
    }
    /// Selects item `index` of a combo the way a person's pick does.
    static void pick(QComboBox* combo, int index);
    /// Index of the item whose ItemData is `id`; -1 when absent.
    static int itemOf(const QComboBox* combo, long id);
    /// Index of the item with text `text`; -1 when absent.
    static int textOf(const QComboBox* combo, const std::string& text);

    /// The configuration file as lines.
    std::vector<std::string> configLines() const;

    RecordingWait wait;
};

}  // namespace zq::test
