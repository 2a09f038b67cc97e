// zelq relink: moves every link of the archive to new TARV server values, as the
// "Aggiornamento Percorso" form does, with the same messages and questions.

#include "cli/cli_command.h"
#include "cli/terminal_dialogs.h"
#include "common/progress.h"
#include "config/conf/config_editor.h"
#include "config/conf/link_path_update.h"
#include "runtime/text.h"

#include <ostream>

namespace zq {
namespace {

int usage(CliContext& ctx, const std::string& what) {
    ctx.out << "zelq relink: " << what << "\n";
    return kExitUsage;
}

int run(CliContext& ctx, const std::vector<std::string>& args) {
    // Not logged in first: the old values may reach no server any more, which is why
    // the links are being moved.
    Session session(ctx.dialogs, ctx.home);
    NoProgress progress;
    LinkPathUpdate update(session, progress);
    if (!update.activate()) return kExitFailed;

    LinkPathUpdate::NewValues v{session.cfg.PathTarv, session.cfg.Utente, session.cfg.Password,
                                session.cfg.Password, session.cfg.Host,   session.cfg.Server};
    bool yesDelete = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--yes-delete") {
            yesDelete = true;
            continue;
        }
        if (i + 1 >= args.size()) return usage(ctx, "valore mancante per " + a);
        const std::string& value = args[++i];
        if (a == "--path") {
            v.PathTarv = value;
        } else if (a == "--user") {
            v.Utente = value;
        } else if (a == "--password") {
            v.Password = v.PasswordConfirm = value;
        } else if (a == "--host") {
            v.Host = value;
        } else if (a == "--server") {
            const std::string u = vbUCase(value);
            if (u == "SCO" || value == ConfigEditor::kServerSco) {
                v.Server = ConfigEditor::kServerSco;
            } else if (u == "LINUX" || value == ConfigEditor::kServerLinux) {
                v.Server = ConfigEditor::kServerLinux;
            } else {
                return usage(ctx, "server atteso SCO o LINUX: " + value);
            }
        } else {
            return usage(ctx, "opzione sconosciuta: " + a);
        }
    }

    // Deleting a link is answered by --yes-delete alone: under --yes those questions get
    // No, which keeps the old link; at the terminal the person answers them.
    if (yesDelete || ctx.dialogs.mode() == TerminalDialogs::Mode::Yes) {
        const Answer a = yesDelete ? Answer::Yes : Answer::No;
        ctx.dialogs.presetAnswerStartingWith(LinkPathUpdate::kDeleteLinkQuestion, a);
        ctx.dialogs.presetAnswerStartingWith(LinkPathUpdate::kDeleteWithoutSavQuestion, a);
    }

    const auto outcome = update.cmdConf_Click(v);
    for (const auto& r : update.records()) ctx.out << r.Nome << " -> " << r.Sorgente << "\n";
    for (const auto& s : update.skipped()) ctx.out << s.name << ": escluso (" << s.reason << ")\n";
    for (const auto& n : update.notRemade()) ctx.out << n.name << ": non rifatto (" << n.reason << ")\n";
    if (session.CnnTarv) session.CloseConn();
    return outcome == LinkPathUpdate::Outcome::Done ? kExitOk : kExitFailed;
}

const CommandRegistrar reg{{"relink", "sposta tutti i collegamenti su nuovi valori del server TARV",
                            "uso: zelq [--home CARTELLA] [--yes|--no] relink [--path P] [--user U]\n"
                            "            [--password W] [--host H] [--server SCO|LINUX] [--yes-delete]\n\n"
                            "Come \"Aggiorna Collegamento\": i valori non indicati restano quelli del file\n"
                            "di configurazione. Prova la connessione con i nuovi valori, riscrive il\n"
                            "file, rientra in TARV e riscrive ogni collegamento dell'archivio verso la\n"
                            "stessa tabella della ditta con i nuovi valori (chiede conferma una volta,\n"
                            "e per ogni collegamento che non si riesce a rifare). Esce con 1 se\n"
                            "l'aggiornamento non arriva in fondo o un collegamento non si rifà.\n\n"
                            "Le domande che cancellano un collegamento non rifatto hanno Sì solo con\n"
                            "--yes-delete; con --yes hanno No (resta il collegamento precedente).\n",
                            &run}};

}  // namespace
}  // namespace zq
