#include "app/gui/formtable.h"

#include "app/gui/frmmain.h"
#include "app/session.h"

namespace zq {

void registerForms(frmMain& main, Session& session) {
    // One line per form, for example:
    //   main.registerChildForm("mnuGestColl", [&] { return new frmColl(session); });
    //   main.registerModalForm("mnuFileConf", [&] { return new frmConf(session); });
    // Entries without a line stay disabled with the tooltip "Non ancora disponibile".
    (void)main;
    (void)session;
}

}  // namespace zq
