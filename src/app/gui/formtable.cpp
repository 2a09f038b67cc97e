#include "app/gui/formtable.h"

#include "app/gui/frmmain.h"
#include "app/gui/run_log_window.h"
#include "app/session.h"
#include "journal/writer_lock.h"
#ifdef ZQ_HAVE_LINKFORMS
#include "linking/forms/frmcdav.h"
#include "linking/forms/frmcoll.h"
#include "linking/forms/frmfree.h"
#include "premastering/forms/frmmast.h"
#endif
#ifdef ZQ_HAVE_CONVFORMS
#include "conversion/forms/frmtiff.h"
#endif
#ifdef ZQ_HAVE_DUPFORMS
#include "duplication/forms/frmanno.h"
#include "duplication/forms/frmcgru.h"
#include "duplication/forms/frmcopy.h"
#include "duplication/forms/frmgrup.h"
#endif
#ifdef ZQ_HAVE_CHECK
#include "check/check_dialog.h"
#endif
#ifdef ZQ_HAVE_CONFFORMS
#include "config/conf/frmaggp.h"
#include "config/conf/frmconf.h"
#endif

namespace zq {

void registerForms(frmMain& main, Session& session) {
    // One line per form, for example:
    //   main.registerChildForm("mnuGestColl", [&] { return new frmColl(session); });
    //   main.registerModalForm("mnuFileConf", [&] { return new frmConf(session); });
    // Entries without a line stay disabled with the tooltip "Non ancora disponibile".
    // The folder of the form links its form library into the program from its own
    // CMakeLists.txt (this folder is read before it):
    //   if(TARGET zq_guisession)
    //     target_link_libraries(zq_guisession PUBLIC zq_linkforms)
    //   endif()
#ifdef ZQ_HAVE_CONVFORMS
    main.registerChildForm("mnuGestTiff", [&] { return new frmTiff(session); });
#endif
#ifdef ZQ_HAVE_CONFFORMS
    main.registerModalForm("mnuFileConf", [&] { return new frmConf(session); });
    main.registerModalForm("mnuFileAggP", [&] { return new frmAggP(session); });
#endif
#ifdef ZQ_HAVE_DUPFORMS
    main.registerChildForm("mnuGestCopy", [&] { return new frmCopy(session); });
    main.registerChildForm("mnuGestAnno", [&] { return new frmAnno(session); });
    main.registerChildForm("mnuGestGrup", [&] { return new frmGrup(session); });
    main.registerModalForm("mnuFileCGru", [&] { return new frmCGru(session); });
#endif
#ifdef ZQ_HAVE_CHECK
    main.registerSessionEntry("mnuHelpCheck", [&] { runArchiveCheck(session); });
#endif
    // The rule between processes holds inside the program too: while an operation holds
    // the installation's writer lock, no configuration form starts under it.
    main.registerChangeGuard([&](const QString& caption, bool tell) {
        const auto holder = WriterLock::holder(session.cfg.PathArch);
        if (!holder) return true;
        if (tell)
            session.dialogs().message(
                Message{WriterLock::refusal(*holder), caption.toStdString(), Buttons::Ok, Icon::Exclamation});
        return false;
    });
    main.registerSessionEntry("mnuHelpLog", [&main, &session] { showRunLog(&main, session.cfg.PathArch); });
    (void)main;
    (void)session;
#ifdef ZQ_HAVE_LINKFORMS
    main.registerChildForm("mnuGestColl", [&] { return new frmColl(session); });
    main.registerChildForm("mnuGestCDAV", [&] { return new frmCDAV(session); }, "mnuGestColl");
    main.registerChildForm("mnuGestFree", [&] { return new frmFree(session); });
    main.registerChildForm("mnuGestMast", [&] { return new frmMast(session); }, "mnuGestFree");
#endif
}

void offerCheckAtStart(Session& session) {
#ifdef ZQ_HAVE_CHECK
    offerArchiveCheck(session);
#endif
    (void)session;
}

}  // namespace zq
