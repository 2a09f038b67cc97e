// zelq check: the consistency check of the installation, one line per inconsistency;
// with --repair, what can be repaired is repaired (deletions asked first).

#include "check/archive_check.h"
#include "cli/cli_command.h"
#include "cli/logged_session.h"
#include "cli/terminal_dialogs.h"
#include "journal/run_log.h"
#include "journal/writer_lock.h"

#include <ostream>

namespace zq {
namespace {

int run(CliContext& ctx, const std::vector<std::string>& args) {
    bool repair = false;
    bool yesDelete = false;
    for (const auto& a : args) {
        if (a == "--repair") {
            repair = true;
        } else if (a == "--yes-delete") {
            yesDelete = true;
        } else {
            ctx.out << "zelq check: argomento sconosciuto: " << a << "\n";
            return kExitUsage;
        }
    }
    // A repair that deletes is answered Yes by --yes-delete alone: under --yes it gets No,
    // so a script never deletes without saying so.
    if (yesDelete || ctx.dialogs.mode() == TerminalDialogs::Mode::Yes)
        ctx.dialogs.presetAnswerStartingWith(ArchiveCheck::kDeleteQuestion, yesDelete ? Answer::Yes : Answer::No);
    LoggedSession session(ctx);
    if (!session->CnnArch) return kExitFailed;
    ArchiveCheck check(*session);
    auto findings = check.run();
    if (repair && !findings.empty()) {
        const auto lock = WriterLock::acquire(session->cfg.PathArch, session->cfg.Utente, ctx.dialogs,
                                              ArchiveCheck::caption());
        if (!lock) return kExitFailed;
        RunLog log(session->cfg.PathArch, "check-repair", session->cfg.Utente);
        check.repair(findings);
        findings = check.run();
        log.end(findings.empty() ? RunLog::kDone : RunLog::kPartly);
    }
    for (const auto& f : findings) ctx.out << f.tsv() << "\n";
    session.close();
    return findings.empty() ? kExitOk : kExitFailed;
}

const CommandRegistrar reg{{"check", "verifica (e ripara) archivi, collegamenti, registro e cartelle",
                            "uso: zelq [--home CARTELLA] [--yes|--no] check [--repair [--yes-delete]]\n\n"
                            "Confronta il database degli archivi (tabelle, collegamenti, tabelle _sav,\n"
                            "DB_ELENCO), il registro ar_dbelenco e le cartelle dei documenti, e legge\n"
                            "nel giornale le operazioni interrotte. Una riga per ogni incongruenza,\n"
                            "separata da tabulazioni:\n"
                            "  tipo archivio problema riparazione\n"
                            "(riparazione vuota: serve l'intervento di una persona).\n"
                            "--repair completa o annulla le operazioni interrotte e ripara il resto\n"
                            "dove è sicuro; prima di cancellare qualcosa chiede: Sì solo con --yes-delete,\n"
                            "No con --yes.\n"
                            "Stampa poi quello che resta. Uscita 0: tutto in ordine; 1: resta qualcosa.\n",
                            &run}};

}  // namespace
}  // namespace zq
