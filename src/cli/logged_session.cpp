#include "cli/logged_session.h"

#include "cli/terminal_dialogs.h"
#include "common/error.h"

namespace zq {

bool HeadlessFirstStart::run(Config&) {
    dialogs_.message(Message{"Manca il file di configurazione " + file_.string() + "\r\n" +
                                 "zelq non può mostrare la finestra di configurazione:" + "\r\n" +
                                 "creare il file con il programma, oppure con \"zelq demo CARTELLA\".",
                             "", Buttons::Ok, Icon::Exclamation});
    return false;
}

LoggedSession::LoggedSession(CliContext& ctx) : session_(ctx.dialogs, ctx.home) {
    HeadlessFirstStart firstStart(ctx.dialogs, session_.configFilePath());
    session_.OpenConn(&firstStart);
    // An ignored configuration error leaves nothing connected: no command can go on.
    if (!session_.CnnTarv) throw AbortProgram(kExitFailed);
    open_ = true;
}

void LoggedSession::close() {
    if (!open_) return;
    open_ = false;
    session_.CloseConn();
}

}  // namespace zq
