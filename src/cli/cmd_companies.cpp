// zelq companies: the company list of the company pickers.

#include "cli/cli_command.h"
#include "cli/logged_session.h"
#include "lookups/lookups.h"

#include <ostream>

namespace zq {
namespace {

int run(CliContext& ctx, const std::vector<std::string>& args) {
    if (!args.empty()) {
        ctx.out << "zelq companies: nessun argomento previsto\n";
        return kExitUsage;
    }
    LoggedSession session(ctx);
    Lookups lookups(*session);
    Picker companies;
    lookups.LeggDitt(companies, /*all=*/false);
    ctx.out << "code\tname\tyear\ttax_code\n";
    for (const auto& d : lookups.aDitte) ctx.out << d.Codice << "\t" << d.RagSoc << "\t" << d.Anno << "\t" << d.CodFisc << "\n";
    session.close();
    return kExitOk;
}

const CommandRegistrar reg{{"companies", "elenca le ditte (codice, nome, anno, codice fiscale)",
                            "uso: zelq [--home CARTELLA] companies\n\n"
                            "Elenca, separate da tabulazioni, le ditte che le finestre propongono:\n"
                            "anno dal 2002 in poi, con un nome in clifo (il più recente), ordinate\n"
                            "per nome. Colonne: code, name, year, tax_code.\n",
                            &run}};

}  // namespace
}  // namespace zq
