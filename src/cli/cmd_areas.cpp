// zelq areas: the areas of the archive as the area pickers show them.

#include "cli/cli_command.h"
#include "cli/logged_session.h"
#include "lookups/lookups.h"

#include <ostream>

namespace zq {
namespace {

int run(CliContext& ctx, const std::vector<std::string>& args) {
    if (!args.empty()) {
        ctx.out << "zelq areas: nessun argomento previsto\n";
        return kExitUsage;
    }
    LoggedSession session(ctx);
    if (!session->CnnArch) return kExitFailed;
    Lookups lookups(*session);
    Picker areas;
    lookups.LeggAree(areas, /*parentId=*/0, /*showParent=*/true, /*all=*/false);
    ctx.out << "id\tarea\n";
    for (const auto& item : areas.items()) ctx.out << item.itemData << "\t" << item.text << "\n";
    session.close();
    return kExitOk;
}

const CommandRegistrar reg{{"areas", "elenca le aree dell'archivio",
                            "uso: zelq [--home CARTELLA] areas\n\n"
                            "Elenca le aree di AREE per nome, con il nome dell'area superiore\n"
                            "dopo \"   -  \". Colonne: id, area.\n",
                            &run}};

}  // namespace
}  // namespace zq
