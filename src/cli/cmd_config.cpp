// zelq config: prints the configuration file's values (the password masked), or sets
// some of them with the configuration form's checks and connection test.

#include "app/config_file.h"
#include "cli/cli_command.h"
#include "cli/terminal_dialogs.h"
#include "config/conf/config_editor.h"
#include "runtime/text.h"

#include <filesystem>
#include <ostream>

namespace zq {
namespace {

const char* const kCaption = "Parametri di Configurazione";
const char* const kNames[] = {"PathTarv", "PathArch", "Azienda",  "Citta",    "Utente",   "Password", "Host",
                              "Server",   "RootOld",  "RootNew",  "ConvBksl", "GrpParm1", "GrpParm2"};
// The grouping parameters have a form of their own.
constexpr int kSettable = 11;

int usage(CliContext& ctx, const std::string& what) {
    ctx.out << "zelq config: " << what << "\n";
    return kExitUsage;
}

// The value a form option stands for; empty when the text names none.
std::string optionValue(int index, const std::string& v) {
    const std::string u = vbUCase(v);
    if (index == 7) {
        if (u == "SCO" || v == ConfigEditor::kServerSco) return ConfigEditor::kServerSco;
        if (u == "LINUX" || v == ConfigEditor::kServerLinux) return ConfigEditor::kServerLinux;
        return {};
    }
    if (u == "S" || u == "SI") return "S";
    if (u == "N" || u == "NO") return "N";
    return {};
}

int run(CliContext& ctx, const std::vector<std::string>& args) {
    ConfigEditor editor(ctx.dialogs, ctx.home, kCaption);
    const bool exists = std::filesystem::exists(editor.configFile());
    Config current = editor.load(Config{});

    if (args.empty()) {
        if (!exists) ctx.out << "# manca " << editor.configFile().string() << ": valori proposti\n";
        auto values = ConfigFile::fields(current);
        for (int i = 0; i < ConfigFile::kLines; ++i) {
            const std::string& v = *values[static_cast<std::size_t>(i)];
            ctx.out << kNames[i] << " = " << (i == 5 && !v.empty() ? std::string("********") : v) << "\n";
        }
        return kExitOk;
    }
    if (args[0] != "--set" || args.size() < 2) return usage(ctx, "uso: zelq config [--set CHIAVE=VALORE ...]");

    Config entered = current;
    auto fields = ConfigFile::fields(entered);
    for (std::size_t a = 1; a < args.size(); ++a) {
        const auto eq = args[a].find('=');
        if (eq == std::string::npos) return usage(ctx, "atteso CHIAVE=VALORE: " + args[a]);
        const std::string key = vbLCase(args[a].substr(0, eq));
        std::string value = args[a].substr(eq + 1);
        int index = -1;
        for (int i = 0; i < ConfigFile::kLines; ++i)
            if (vbLCase(kNames[i]) == key) index = i;
        if (index < 0 || index >= kSettable) return usage(ctx, "chiave non modificabile qui: " + args[a].substr(0, eq));
        if (index == 7 || index == 10) {
            value = optionValue(index, value);
            if (value.empty()) return usage(ctx, "valore non previsto per " + std::string(kNames[index]));
        }
        *fields[static_cast<std::size_t>(index)] = value;
    }
    if (!editor.confirm(entered, entered.Password, current)) return kExitFailed;
    ctx.out << "Configurazione scritta: " << editor.configFile().string() << "\n";
    return kExitOk;
}

const CommandRegistrar reg{{"config", "mostra o modifica la configurazione (zel_QUIRNOVA.CFG)",
                            "uso: zelq [--home CARTELLA] config\n"
                            "     zelq [--home CARTELLA] config --set CHIAVE=VALORE [CHIAVE=VALORE ...]\n\n"
                            "Senza argomenti mostra i 13 valori del file di configurazione (la password\n"
                            "mascherata); senza file mostra i valori proposti.\n"
                            "Con --set cambia i valori indicati come la finestra \"Parametri di\n"
                            "Configurazione\": controlla che PathTarv termini con '/', prova la\n"
                            "connessione al database TARV comune con i nuovi valori e solo se riesce\n"
                            "riscrive il file intero. Chiavi: PathTarv PathArch Azienda Citta Utente\n"
                            "Password Host Server (SCO|LINUX) RootOld RootNew ConvBksl (S|N).\n"
                            "Esce con 1 se un controllo o la connessione non riescono.\n",
                            &run}};

}  // namespace
}  // namespace zq
