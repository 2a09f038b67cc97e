// zelq login: logs in with the configuration file's user and out again.

#include "cli/cli_command.h"
#include "cli/logged_session.h"

#include <ostream>

namespace zq {
namespace {

int run(CliContext& ctx, const std::vector<std::string>& args) {
    if (!args.empty()) {
        ctx.out << "zelq login: nessun argomento previsto\n";
        return kExitUsage;
    }
    LoggedSession session(ctx);
    const bool archive = session->CnnArch != nullptr;
    ctx.out << "Accesso eseguito: utente " << session->cfg.Utente << ", database "
            << session->cfg.PathTarv << "comune" << (session->TransOk ? ", transazioni disponibili" : "")
            << "\n";
    if (archive) ctx.out << "Archivio aperto: " << session->cfg.PathArch << "\n";
    session.close();
    ctx.out << "Uscita eseguita.\n";
    return archive ? kExitOk : kExitFailed;
}

const CommandRegistrar reg{{"login", "accede a TARV con l'utente configurato ed esce",
                            "uso: zelq [--home CARTELLA] login\n\n"
                            "Legge zel_QUIRNOVA.CFG, accede al database TARV comune con l'utente\n"
                            "configurato (utenti.porta = WIN), apre l'archivio, poi esce di nuovo\n"
                            "(utenti.porta vuota). Esce con 1 se l'accesso o l'archivio non riescono.\n",
                            &run}};

}  // namespace
}  // namespace zq
