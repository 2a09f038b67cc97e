#pragma once
// What the link and duplication form tests share: a QApplication, a wait window that
// records what it was told, a person's pick in a combo, and the main window with the
// program's forms registered behind their menu entries.

#include "app/gui/formregistry.h"
#include "app/gui/formtable.h"
#include "app/gui/frmmain.h"
#include "app/gui/login.h"
#include "common/progress.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

namespace zq::test {

inline void ensureApplication() {
    if (QApplication::instance()) return;
    static int argc = 1;
    static char name[] = "zq_form_test";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
}

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

/// Selects item `index` of a combo the way a person's pick does.
inline void pick(QComboBox* combo, int index) {
    ASSERT_NE(combo, nullptr);
    ASSERT_GE(index, 0);
    ASSERT_LT(index, combo->count());
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

/// Index of the company with `code` in a form's company picker.
template <class Form>
int companyIndex(Form& form, const std::string& code) {
    const auto& ditte = form.lookups().aDitte;
    for (std::size_t i = 0; i < ditte.size(); ++i)
        if (ditte[i].Codice == code) return int(i);
    ADD_FAILURE() << "no company " << code;
    return -1;
}

/// The main window over a logged-in session; it must go before the session does.
class MainWindow {
public:
    /// A menu entry, the form it opens, its caption, and the entry the form holds.
    struct Entry {
        const char* entry;
        const char* form;
        const char* caption;
        const char* holds;
    };

    MainWindow(Session& session, const std::filesystem::path& home)
        : main_(login_, QString::fromStdString(home.string())) {
        registerForms(main_, session);
        main_.show();
    }
    ~MainWindow() { main_.mdiArea()->closeAllSubWindows(); }

    frmMain& main() { return main_; }
    bool enabled(const char* entry) const { return main_.menuEntry(QString::fromLatin1(entry))->isEnabled(); }
    static void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    /// Each entry opens its form, which holds its entry and keeps "&Esci" waiting until
    /// it is closed.
    void expectEachOpensItsForm(std::initializer_list<Entry> entries) {
        for (const auto& e : entries) {
            SCOPED_TRACE(e.entry);
            EXPECT_TRUE(enabled(e.entry));
            main_.menuEntry(QString::fromLatin1(e.entry))->trigger();
            QMdiSubWindow* sub = main_.mdiArea()->activeSubWindow();
            ASSERT_NE(sub, nullptr);
            EXPECT_EQ(sub->widget()->objectName(), e.form);
            EXPECT_EQ(sub->widget()->windowTitle(), QString::fromUtf8(e.caption));
            EXPECT_EQ(nForms(), 1);
            EXPECT_FALSE(enabled(e.holds));
            EXPECT_FALSE(enabled("mnuFileExit"));
            sub->close();
            flushDeletes();
            EXPECT_EQ(nForms(), 0);
            EXPECT_TRUE(enabled(e.holds));
        }
    }

private:
    struct NoLogin : Login {
        void OpenConn() override {}
        void CloseConn() override {}
    } login_;
    frmMain main_;
};

}  // namespace zq::test
