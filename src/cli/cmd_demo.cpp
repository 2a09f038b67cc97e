// zelq demo DIR: builds a demo installation a new user can start at once.

#include "app/demo_installation.h"
#include "cli/cli_command.h"
#include "cli/terminal_dialogs.h"
#include "common/error.h"

#include <ostream>

namespace zq {
namespace {

int run(CliContext& ctx, const std::vector<std::string>& args) {
    if (args.size() != 1) {
        ctx.out << "uso: zelq demo CARTELLA\n";
        return kExitUsage;
    }
    const std::filesystem::path dir = std::filesystem::absolute(args[0]);
    try {
        DemoInstallation::build(dir);
    } catch (const Error& e) {
        ctx.dialogs.message(Message{e.description(), "", Buttons::Ok, Icon::Exclamation});
        return kExitFailed;
    }
    ctx.out << "Installazione dimostrativa creata in " << dir.string() << "\n"
            << "utente " << DemoInstallation::kUser << ", password " << DemoInstallation::kPassword << "\n"
            << "prova: zelq --home " << dir.string() << " status\n";
    return kExitOk;
}

const CommandRegistrar reg{{"demo", "crea un'installazione dimostrativa in una cartella",
                            "uso: zelq demo CARTELLA\n\n"
                            "Crea in CARTELLA (anche nuova) un'installazione completa: zel_QUIRNOVA.CFG,\n"
                            "zel_QUIRNOVA.engines (motore TARV incorporato in CARTELLA/tarv), l'archivio\n"
                            "Vizidore.mdb con aree, archivi, record e i loro documenti PDF in\n"
                            "CARTELLA/documenti, il database TARV comune e i database delle ditte.\n"
                            "Non sovrascrive un'installazione già presente (esce con 1).\n",
                            &run}};

}  // namespace
}  // namespace zq
