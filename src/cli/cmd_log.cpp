// zelq log: the log of the changing runs on this installation, read from the archive
// database without logging in to TARV (an office reads it also when the server is down).

#include "app/config_file.h"
#include "app/session.h"
#include "cli/cli_command.h"
#include "journal/run_log.h"
#include "runtime/datetime_parse.h"

#include <cstdio>
#include <ostream>

namespace zq {
namespace {

struct Options {
    std::string since;    ///< "yyyy-mm-dd", empty for the whole log
    std::string archive;  ///< a serial, empty for every archive
};

// How each option is read: one row per option.
struct OptionRow {
    const char* name;
    std::string Options::*field;
};
const OptionRow kOptions[] = {{"--since", &Options::since}, {"--archive", &Options::archive}};

bool parse(const std::vector<std::string>& args, Options& o, std::ostream& out) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        bool known = false;
        for (const auto& row : kOptions)
            if (args[i] == row.name && i + 1 < args.size()) o.*row.field = args[++i], known = true;
        if (!known) {
            out << "zelq log: argomento sconosciuto o incompleto: " << args[i] << "\n";
            return false;
        }
    }
    if (o.since.empty()) return true;
    const auto date = parseDate(o.since);
    if (!date) {
        out << "zelq log: data non valida (gg/mm/aaaa): " << o.since << "\n";
        return false;
    }
    char iso[16];
    std::snprintf(iso, sizeof iso, "%04d-%02d-%02d", date->year, date->month, date->day);
    o.since = iso;
    return true;
}

int run(CliContext& ctx, const std::vector<std::string>& args) {
    Options o;
    if (!parse(args, o, ctx.out)) return kExitUsage;
    Config cfg;
    try {
        ConfigFile::readStartup(ConfigFile::pathIn(ctx.home), cfg);
    } catch (const std::exception&) {
        ctx.out << "zelq log: file di configurazione mancante o illeggibile in " << ctx.home.string() << "\n";
        return kExitFailed;
    }
    std::vector<RunLog::Entry> entries;
    try {
        entries = RunLog::read(cfg.PathArch, o.since, o.archive);
    } catch (const std::exception&) {
        ctx.out << "zelq log: impossibile leggere il database degli archivi " << cfg.PathArch << "\n";
        return kExitFailed;
    }
    const auto line = [&](const std::vector<std::string>& cells) {
        for (std::size_t i = 0; i < cells.size(); ++i) ctx.out << (i ? "\t" : "") << cells[i];
        ctx.out << "\n";
    };
    line(RunLog::columns());
    for (const auto& e : entries) line(e.cells());
    return kExitOk;
}

const CommandRegistrar reg{{"log", "elenca le operazioni eseguite sugli archivi (chi, quando, cosa, esito)",
                            "uso: zelq [--home CARTELLA] log [--since GG/MM/AAAA] [--archive SERIALE]\n\n"
                            "Una riga per ogni esecuzione di un'operazione che modifica archivi, TARV o\n"
                            "cartelle, dal programma o da zelq, separata da tabulazioni:\n"
                            "  inizio fine utente-TARV utente-di-sistema programma operazione archivi\n"
                            "  ditta anno esito righe documenti\n"
                            "Esito: completata, completata in parte, non eseguita, annullata, errore;\n"
                            "interrotta quando il processo è stato fermato prima della fine (fine vuota).\n"
                            "--since tiene le operazioni iniziate da quella data; --archive quelle che\n"
                            "hanno modificato l'archivio con quel seriale. Il registro non si cancella.\n",
                            &run}};

}  // namespace
}  // namespace zq
