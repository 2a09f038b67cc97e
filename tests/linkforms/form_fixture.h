#pragma once
// A demo installation with a logged-in session on scripted dialogs (the link tests'
// fixture), a QApplication, and the list forms opened as a person sees them. The forms
// are the same on every TARV engine, so the suites run on the embedded one only.

#include "form_steps.h"
#include "link_fixture.h"

#include "linking/forms/listform.h"
#include "linking/link_run.h"
#include "listctl/check_column.h"
#include "listctl/flex_grid.h"
#include "listctl/grdcomm.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <memory>
#include <string>

namespace zq::test {

using Rows = std::vector<std::vector<std::string>>;

class FormTest : public LinkTest {
protected:
    void SetUp() override {
        ensureApplication();
        LinkTest::SetUp();
    }
    void TearDown() override {
        EXPECT_EQ(wait.depth, 0) << "the wait window was left open";
        LinkTest::TearDown();
    }

    /// Opens a form as the person sees it: shown, `width` × `height` pixels.
    template <class F>
    std::unique_ptr<F> open(int width = 1100, int height = 520) {
        auto form = std::make_unique<F>(*session, &wait);
        form->resize(width, height);
        form->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        return form;
    }
    /// Entry number (1-based) of archive `serial` in a form's entries; 0 when absent.
    template <class Row>
    static int entryNumber(const std::vector<Row>& rows, const std::string& serial) {
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (rows[i].serial == serial) return int(i) + 1;
        return 0;
    }

    /// Links an archive with the engine, as frmColl would (company connected, one Yes).
    void linkArchive(const std::string& serial, const std::string& tipoAss, const std::string& tipoDoc,
                     const std::string& year = "2024") {
        pickCompany("001");
        dialogs.then(Answer::Yes);
        const auto result = LinkRun(*session, lookups->aDocs)
                                .cmdColl_Click(LinkRequest{0, "001", 0, year, true}, {entry(serial, tipoAss, tipoDoc)});
        ASSERT_EQ(result.linked, 1) << serial;
        dialogs.clear();
    }
    /// Registry rows: ditt, anno, tipo_ass, tipo_doc, sys_seriale, by sys_seriale.
    Rows registry() const {
        return rows(kComune, "SELECT ditt, anno, tipo_ass, tipo_doc, sys_seriale FROM ar_dbelenco ORDER BY sys_seriale");
    }

    RecordingWait wait;
};

}  // namespace zq::test
