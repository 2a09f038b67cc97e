// zelq demo DIR [--server odbc ...]: builds a demo installation a new user can start at
// once, its TARV databases on the embedded engine or on a PostgreSQL server.

#include "app/demo_installation.h"
#include "cli/cli_command.h"
#include "cli/terminal_dialogs.h"
#include "common/error.h"

#include <cstdlib>
#include <map>
#include <ostream>

namespace zq {
namespace {

const char* const kUsage =
    "uso: zelq demo CARTELLA [--server odbc [--pg-host HOST] [--pg-port PORTA]\n"
    "                 [--pg-admin UTENTE] [--pg-admin-password PASSWORD] [--driver NOME]]\n";

std::string envOr(const char* name, const std::string& fallback) {
    const char* v = std::getenv(name);
    return v && *v ? std::string(v) : fallback;
}

// The server options, defaulting to the ZQ_PG_* variables the private test server
// exports, then to a local PostgreSQL.
DemoServerLogin serverDefaults() {
    DemoServerLogin login;
    login.host = envOr("ZQ_PG_HOST", login.host);
    login.port = envOr("ZQ_PG_PORT", login.port);
    login.adminUser = envOr("ZQ_PG_USER", login.adminUser);
    login.adminPassword = envOr("ZQ_PG_PASSWORD", login.adminPassword);
    login.driver = envOr("ZQ_PG_DRIVER", login.driver);
    return login;
}

struct DemoArgs {
    std::string dir;
    std::string server;  ///< empty: embedded engine
    DemoServerLogin login = serverDefaults();
};

// False on anything that is not DIR plus known options, each with its value.
bool parse(const std::vector<std::string>& args, DemoArgs& out) {
    const std::map<std::string, std::string*> options = {
        {"--server", &out.server},         {"--pg-host", &out.login.host},
        {"--pg-port", &out.login.port},    {"--pg-admin", &out.login.adminUser},
        {"--pg-admin-password", &out.login.adminPassword}, {"--driver", &out.login.driver}};
    bool serverOptions = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const auto it = options.find(args[i]);
        if (it == options.end()) {
            if (!out.dir.empty() || args[i].rfind("-", 0) == 0) return false;
            out.dir = args[i];
            continue;
        }
        if (i + 1 == args.size()) return false;
        *it->second = args[++i];
        serverOptions |= it->first != "--server";
    }
    if (out.dir.empty()) return false;
    if (out.server.empty()) return !serverOptions;
    return out.server == "odbc";
}

int run(CliContext& ctx, const std::vector<std::string>& args) {
    DemoArgs a;
    if (!parse(args, a)) {
        ctx.out << kUsage;
        return kExitUsage;
    }
    const std::filesystem::path dir = std::filesystem::absolute(a.dir);
    try {
        if (a.server.empty())
            DemoInstallation::build(dir);
        else
            DemoInstallation::build(dir, a.login);
    } catch (const Error& e) {
        ctx.dialogs.message(Message{e.description(), "", Buttons::Ok, Icon::Exclamation});
        return kExitFailed;
    }
    ctx.out << "Installazione dimostrativa creata in " << dir.string() << "\n";
    if (!a.server.empty())
        ctx.out << "database TARV sul server PostgreSQL " << a.login.host << ":" << a.login.port << "\n";
    ctx.out << "utente " << DemoInstallation::kUser << ", password " << DemoInstallation::kPassword << "\n"
            << "prova: zelq --home " << dir.string() << " status\n";
    return kExitOk;
}

const CommandRegistrar reg{{"demo", "crea un'installazione dimostrativa in una cartella",
                            std::string(kUsage) +
                                "\n"
                                "Crea in CARTELLA (anche nuova) un'installazione completa: zel_QUIRNOVA.CFG,\n"
                                "zel_QUIRNOVA.engines (motore TARV incorporato in CARTELLA/tarv), l'archivio\n"
                                "Vizidore.mdb con aree, archivi, record e i loro documenti PDF in\n"
                                "CARTELLA/documenti, il database TARV comune e i database delle ditte.\n"
                                "Non sovrascrive un'installazione già presente (esce con 1).\n\n"
                                "Con --server odbc i database TARV nascono sul server PostgreSQL indicato\n"
                                "(motore odbc, mapping postgresql): con l'utente amministrativo (un\n"
                                "superutente) crea l'utente tarv e i database comune e dittNNN, resi\n"
                                "compatibili con Informix. Rifiuta, senza creare nulla, se uno di quei\n"
                                "database esiste già. L'archivio e i documenti restano in CARTELLA.\n"
                                "Predefiniti: $ZQ_PG_HOST o localhost, $ZQ_PG_PORT o 5432, $ZQ_PG_USER o\n"
                                "postgres, $ZQ_PG_PASSWORD, $ZQ_PG_DRIVER o \"PostgreSQL Unicode\".\n",
                            &run}};

}  // namespace
}  // namespace zq
