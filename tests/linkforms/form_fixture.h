#pragma once
// A demo installation with a logged-in session on scripted dialogs (the link tests'
// fixture), a QApplication, and the steps a person takes on the list forms: pick in a
// combo, tick a row's box, press a button.

#include "link_fixture.h"

#include "common/progress.h"
#include "linking/forms/listform.h"

#include <QComboBox>
#include <QTest>

#include <memory>
#include <string>

namespace zq::test {

/// Counts how often the wait window was shown and how deep it is now.
class CountingProgress : public Progress {
public:
    void begin(const std::string&) override { ++begins, ++depth; }
    void end() override { --depth; }
    int begins = 0;
    int depth = 0;
};

class FormTest : public LinkTest {
protected:
    void SetUp() override;
    void TearDown() override;

    /// Opens a form as the person sees it: shown, `width` × `height` pixels.
    template <class F>
    std::unique_ptr<F> open(int width = 1100, int height = 520) {
        auto form = std::make_unique<F>(*session, &wait);
        form->resize(width, height);
        form->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        return form;
    }

    /// Selects item `index` of a combo the way a person's pick does.
    static void pick(QComboBox* combo, int index);
    /// Index of the company with `code` in the form's company picker.
    static int companyIndex(ListForm& form, const std::string& code);
    /// Entry number (1-based) of archive `serial` in a form's entries; 0 when absent.
    template <class Row>
    static int entryNumber(const std::vector<Row>& rows, const std::string& serial) {
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (rows[i].serial == serial) return int(i) + 1;
        return 0;
    }

    /// Links an archive with the engine, as frmColl would (company connected, one Yes).
    void linkArchive(const std::string& serial, const std::string& tipoAss, const std::string& tipoDoc,
                     const std::string& company = "001", const std::string& year = "2024");
    /// Registry rows: ditt, anno, tipo_ass, tipo_doc, sys_seriale, by sys_seriale.
    std::vector<std::vector<std::string>> registry() const;

    CountingProgress wait;
};

}  // namespace zq::test
