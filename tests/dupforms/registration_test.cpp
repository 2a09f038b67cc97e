// The four forms in the main window: the three "&Gestione" entries open their child
// forms, each holding its own entry, and "&Raggruppamento Aree" under "&Imposta" is
// available.

#include "dupform_fixture.h"

namespace zq::test {
namespace {

using DupRegistrationTest = DupFormTest;

TEST_F(DupRegistrationTest, EveryEntryOpensItsForm) {
    MainWindow w(*session, home());
    EXPECT_TRUE(w.enabled("mnuFileCGru"));
    w.expectEachOpensItsForm({
        {"mnuGestCopy", "frmCopy", "Duplicazione AREE", "mnuGestCopy"},
        {"mnuGestAnno", "frmAnno", "Duplicazione ANNUALITA'", "mnuGestAnno"},
        {"mnuGestGrup", "frmGrup", "Duplicazione AREE", "mnuGestGrup"},
    });
}

}  // namespace
}  // namespace zq::test
