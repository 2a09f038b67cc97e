#include "check/check_dialog.h"

#include "check/archive_check.h"
#include "common/gesterr.h"
#include "journal/run_log.h"
#include "journal/writer_lock.h"
#include "linking/message_lines.h"

namespace zq {
namespace {

// A message box holds a screenful: the rest is counted, and zelq check lists it all.
constexpr std::size_t kShown = 12;

std::string listing(const std::vector<Finding>& findings) {
    std::string text;
    for (std::size_t i = 0; i < findings.size() && i < kShown; ++i) {
        const Finding& f = findings[i];
        text += "\r\n- " + f.archive + ": " + f.problem;
    }
    if (findings.size() > kShown) text += "\r\n... e altre " + std::to_string(findings.size() - kShown) + ".";
    return text;
}

void say(Session& session, const std::string& text, Icon icon) {
    session.dialogs().message(Message{text, ArchiveCheck::caption(), Buttons::Ok, icon});
}

}  // namespace

void runArchiveCheck(Session& session) {
    if (!session.CnnArch || !session.CnnTarv) {
        say(session, messageLines({"Verifica impossibile:", "il programma non è connesso agli archivi e al TARV."}),
            Icon::Exclamation);
        return;
    }
    ArchiveCheck check(session);
    std::vector<Finding> findings;
    if (!runGuarded(session.dialogs(), "frmMain", "mnuHelpCheck", "", [&] { findings = check.run(); })) return;
    if (findings.empty()) {
        say(session, "Nessuna incongruenza trovata.", Icon::Information);
        return;
    }
    bool repairable = false;
    for (const auto& f : findings) repairable = repairable || static_cast<bool>(f.fix);
    const std::string found = "Incongruenze trovate: " + std::to_string(findings.size()) + listing(findings);
    if (!repairable) {
        say(session, found + "\r\n\r\nNessuna si può riparare da sola.", Icon::Exclamation);
        return;
    }
    if (session.dialogs().message(Message{found + "\r\n\r\nVuoi riparare quelle che si possono riparare?",
                                          ArchiveCheck::caption(), Buttons::YesNo, Icon::Question}) != Answer::Yes)
        return;
    const auto lock =
        WriterLock::acquire(session.cfg.PathArch, session.cfg.Utente, session.dialogs(), ArchiveCheck::caption());
    if (!lock) return;
    RunLog log(session.cfg.PathArch, "check-repair", session.cfg.Utente);
    if (!runGuarded(session.dialogs(), "frmMain", "mnuHelpCheck", "", [&] {
            check.repair(findings);
            findings = check.run();
        }))
        return;
    log.end(findings.empty() ? RunLog::kDone : RunLog::kPartly);
    if (findings.empty())
        say(session, "Riparazione effettuata: nessuna incongruenza rimasta.", Icon::Information);
    else
        say(session, "Incongruenze rimaste: " + std::to_string(findings.size()) + listing(findings), Icon::Exclamation);
}

void offerArchiveCheck(Session& session) {
    if (session.cfg.PathArch.empty() || !ArchiveCheck::interrupted(session.cfg.PathArch)) return;
    const Answer a = session.dialogs().message(
        Message{messageLines({"ATTENZIONE!", "Un'operazione sugli archivi è stata interrotta prima della fine.", "",
                              "Vuoi verificare gli archivi ora?"}),
                ArchiveCheck::caption(), Buttons::YesNo, Icon::Question});
    if (a == Answer::Yes) runArchiveCheck(session);
}

}  // namespace zq
