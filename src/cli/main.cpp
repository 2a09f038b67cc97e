// zelq: the engines of zel_QUIRNOVA from the command line.
//
//   zelq [--home DIR] [--yes|--no] COMMAND [ARGS]
//
// The global options may also stand after the command, among its arguments.
// --home names the installation folder (default: ZEL_QUIRNOVA_HOME, else the folder
// of the program). Messages are printed on standard error as "TYPE title: text";
// results on standard output. Exit status: 0 done, 1 refused or failed, 2 usage error.

#include "app/program_folder.h"
#include "cli/cli_command.h"
#include "cli/terminal_dialogs.h"
#include "common/error.h"
#include "common/gesterr.h"
#include "common/product.h"
#include "dataaccess/odbc/odbc_engine.h"

#include <iostream>
#include <unistd.h>

namespace {

using namespace zq;

void printUsage(std::ostream& os) {
    os << "uso: zelq [--home CARTELLA] [--yes|--no] COMANDO [ARGOMENTI]\n"
          "     zelq COMANDO --help\n\n"
          "  --home CARTELLA  cartella dell'installazione (predefinita: $"
       << kHomeVariable
       << ",\n                   altrimenti la cartella del programma)\n"
          "  --yes            risponde Sì (OK) a ogni domanda\n"
          "  --no             risponde No (Annulla) a ogni domanda\n"
          "  Senza --yes/--no le domande si pongono sul terminale; senza terminale\n"
          "  la risposta è No (Annulla; Interrompi per il rapporto di errore).\n"
          "  Queste opzioni valgono anche se scritte dopo il comando.\n\n"
          "comandi:\n";
    std::size_t width = 0;
    for (const auto& c : CommandRegistry::all()) width = std::max(width, c.name.size());
    for (const auto& c : CommandRegistry::all()) {
        std::string name = c.name;
        name.resize(width + 2, ' ');
        os << "  " << name << c.summary << "\n";
    }
}

bool wantsHelp(const std::vector<std::string>& args) {
    for (const auto& a : args)
        if (a == "--help" || a == "-h") return true;
    return false;
}

/// What the options that hold for every command ask for.
struct GlobalOptions {
    std::filesystem::path home;
    TerminalDialogs::Mode mode = TerminalDialogs::Mode::Ask;
};

/// Takes --yes, --no and --home (with its folder) out of `args`, wherever they stand, so
/// that "zelq link ... --yes" means what "zelq --yes link ..." means. Returns the empty
/// string, or the option that is incomplete.
std::string takeGlobalOptions(std::vector<std::string>& args, GlobalOptions& global) {
    std::vector<std::string> kept;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--yes") {
            global.mode = TerminalDialogs::Mode::Yes;
        } else if (a == "--no") {
            global.mode = TerminalDialogs::Mode::No;
        } else if (a == "--home") {
            if (i + 1 == args.size()) return a;
            global.home = args[++i];
        } else if (a.rfind("--home=", 0) == 0) {
            global.home = a.substr(7);
        } else {
            kept.push_back(a);
        }
    }
    args = std::move(kept);
    return {};
}

}  // namespace

int main(int argc, char** argv) {
    // zelq opens the TARV databases of whatever installation it is pointed at, those on
    // a server included (tarv.engine = odbc), as the program does.
    zq::registerOdbcEngine();
    std::vector<std::string> args(argv + 1, argv + argc);
    GlobalOptions global;
    if (const std::string bad = takeGlobalOptions(args, global); !bad.empty()) {
        std::cerr << "zelq: opzione sconosciuta o incompleta: " << bad << "\n";
        printUsage(std::cerr);
        return kExitUsage;
    }

    std::size_t i = 0;
    for (; i < args.size() && args[i].rfind("-", 0) == 0; ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            printUsage(std::cout);
            return kExitOk;
        }
        std::cerr << "zelq: opzione sconosciuta o incompleta: " << a << "\n";
        printUsage(std::cerr);
        return kExitUsage;
    }
    if (i == args.size()) {
        printUsage(std::cerr);
        return kExitUsage;
    }
    const CliCommand* command = CommandRegistry::find(args[i]);
    if (!command) {
        std::cerr << "zelq: comando sconosciuto: " << args[i] << "\n";
        printUsage(std::cerr);
        return kExitUsage;
    }
    const std::vector<std::string> rest(args.begin() + static_cast<long>(i) + 1, args.end());
    if (wantsHelp(rest)) {
        std::cout << command->help;
        return kExitOk;
    }

    TerminalDialogs dialogs(global.mode, std::cerr, std::cin, ::isatty(STDIN_FILENO) != 0);
    CliContext ctx{global.home.empty() ? programFolder() : std::filesystem::absolute(global.home), dialogs,
                   std::cout};
    try {
        return command->run(ctx, rest);
    } catch (const AbortProgram& e) {
        return e.exitCode() == 0 ? kExitFailed : e.exitCode();
    } catch (const std::exception& e) {
        // An error no routine traps ends the program, as it did in the original.
        const Error err = toError(e);
        dialogs.message(Message{std::to_string(err.number()) + " - " + err.description(), "",
                                Buttons::Ok, Icon::Critical});
        return kExitFailed;
    }
}
