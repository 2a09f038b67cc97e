#include "form_fixture.h"

#include "linking/link_run.h"

#include <QApplication>

namespace zq::test {
namespace {

void ensureApplication() {
    if (QApplication::instance()) return;
    static int argc = 1;
    static char name[] = "zq_linkforms_test";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
}

}  // namespace

void FormTest::SetUp() {
    ensureApplication();
    LinkTest::SetUp();
}

void FormTest::TearDown() {
    EXPECT_EQ(wait.depth, 0) << "the wait window was left open";
    LinkTest::TearDown();
}

void FormTest::pick(QComboBox* combo, int index) {
    ASSERT_NE(combo, nullptr);
    ASSERT_LT(index, combo->count());
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

int FormTest::companyIndex(ListForm& form, const std::string& code) {
    const auto& ditte = form.lookups().aDitte;
    for (std::size_t i = 0; i < ditte.size(); ++i)
        if (ditte[i].Codice == code) return int(i);
    ADD_FAILURE() << "no company " << code;
    return -1;
}

void FormTest::linkArchive(const std::string& serial, const std::string& tipoAss, const std::string& tipoDoc,
                           const std::string& company, const std::string& year) {
    pickCompany(company);
    LinkRequest request;
    request.companyIndex = 0;
    request.companyCode = company;
    request.yearIndex = 0;
    request.yearText = year;
    request.arAttiva = true;
    dialogs.then(Answer::Yes);
    const auto result = LinkRun(*session, lookups->aDocs).cmdColl_Click(request, {entry(serial, tipoAss, tipoDoc)});
    ASSERT_EQ(result.linked, 1) << serial;
    dialogs.clear();
}

std::vector<std::vector<std::string>> FormTest::registry() const {
    return rows(kComune, "SELECT ditt, anno, tipo_ass, tipo_doc, sys_seriale FROM ar_dbelenco ORDER BY sys_seriale");
}

}  // namespace zq::test
