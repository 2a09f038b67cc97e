// zelq group-params: shows or sets the grouping parameters (configuration lines 12-13).

#include "cli/cli_command.h"
#include "cli/logged_session.h"
#include "cli/terminal_dialogs.h"
#include "app/config_file.h"
#include "duplication/copy_row.h"
#include "duplication/group_params.h"
#include "duplication/group_run.h"

#include <ostream>

namespace zq {
namespace {

int run(CliContext& ctx, const std::vector<std::string>& args) {
    std::optional<long> area;
    std::string folder;
    bool setting = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& o = args[i];
        if (o == "--area" && i + 1 < args.size()) {
            try {
                area = std::stol(args[++i]);
            } catch (const std::exception&) {
                ctx.out << "zelq group-params: area non numerica: " << args[i] << "\n";
                return kExitUsage;
            }
            setting = true;
        } else if (o == "--folder" && i + 1 < args.size()) {
            folder = args[++i];
            setting = true;
        } else {
            ctx.out << "zelq group-params: argomento sconosciuto o incompleto: " << o << "\n";
            return kExitUsage;
        }
    }
    const auto file = ConfigFile::pathIn(ctx.home);
    LoggedSession session(ctx);
    Config cfg = GroupParams::load(file, session->cfg);
    if (setting) {
        // As the form's picker: only an area of the archive database can be chosen.
        bool known = false;
        for (const auto& a : GroupRun::LeggList(*session)) known = known || (area && a.Id_Area == *area);
        if (area && !known) {
            ctx.out << "zelq group-params: area non presente in AREE: " << *area << "\n";
            return kExitFailed;
        }
        if (!GroupParams::confirm(ctx.dialogs, cfg, known ? area : std::nullopt, folder, file)) return kExitFailed;
    }
    ctx.out << "area\t" << cfg.GrpParm1 << "\nfolder\t" << cfg.GrpParm2 << "\n";
    session.close();
    return kExitOk;
}

const CommandRegistrar reg{{"group-params", "mostra o imposta area e cartella di raggruppamento",
                            "uso: zelq [--home CARTELLA] group-params [--area ID --folder CARTELLA]\n\n"
                            "Senza opzioni stampa i parametri di raggruppamento (righe 12 e 13 del\n"
                            "file di configurazione). Con --area e --folder fa come \"Con&ferma\" della\n"
                            "finestra \"Parametri Raggruppamento Aree\": la cartella riceve il\n"
                            "separatore finale e il file di configurazione e' riscritto per intero.\n",
                            &run}};

}  // namespace
}  // namespace zq
