// zelq import: an office's Access archive database into the installation's archive.

#include "app/config_file.h"
#include "cli/cli_command.h"
#include "cli/terminal_dialogs.h"
#include "common/progress.h"
#include "import/access_import.h"
#include "import/mdb_file.h"
#include "import/startup_offer.h"

#include <atomic>
#include <csignal>
#include <iostream>
#include <ostream>
#include <unistd.h>

namespace zq {
namespace {

std::atomic<bool> interrupted{false};
void onInterrupt(int) { interrupted = true; }

// Rows per table with a bar, rewritten in place on a terminal; nothing on a pipe.
class BarProgress final : public Progress {
public:
    explicit BarProgress(bool shown) : shown_(shown) {}
    ~BarProgress() override { end(); }

    void end() override {
        if (shown_ && drawn_) std::cerr << "\n" << std::flush;
        drawn_ = false;
    }
    void setRange(long maximum) override { maximum_ = maximum; }
    void setValue(long value) override { value_ = value; }
    void setLabel(const std::string& text) override {
        if (!shown_) return;
        if (text.rfind(table_, 0) != 0 && drawn_) std::cerr << "\n";  // a new table starts a new line
        table_ = text.substr(0, text.find(':'));
        constexpr int kWidth = 30;
        const int filled = maximum_ > 0 ? static_cast<int>(kWidth * value_ / maximum_) : kWidth;
        std::cerr << "\r" << text << " [" << std::string(static_cast<std::size_t>(filled), '#')
                  << std::string(static_cast<std::size_t>(kWidth - filled), '.') << "]" << std::flush;
        drawn_ = true;
    }
    bool cancelRequested() const override { return interrupted; }

private:
    bool shown_;
    bool drawn_ = false;
    long maximum_ = 0;
    long value_ = 0;
    std::string table_;
};

struct Options {
    std::string source;
    std::string into;
    std::string report;
};

// How each option is read: one row per option.
struct OptionRow {
    const char* name;
    std::string Options::*field;
};
const OptionRow kOptions[] = {{"--into", &Options::into}, {"--report", &Options::report}};

bool parse(const std::vector<std::string>& args, Options& o, std::ostream& err) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        bool known = false;
        for (const auto& row : kOptions) {
            const std::string eq = std::string(row.name) + "=";
            if (args[i] == row.name && i + 1 < args.size()) o.*row.field = args[++i], known = true;
            else if (args[i].rfind(eq, 0) == 0) o.*row.field = args[i].substr(eq.size()), known = true;
        }
        if (known) continue;
        if (args[i].rfind("-", 0) == 0 || !o.source.empty()) {
            err << "zelq import: argomento sconosciuto o incompleto: " << args[i] << "\n";
            return false;
        }
        o.source = args[i];
    }
    if (o.source.empty()) err << "zelq import: indicare il file Access da importare\n";
    return !o.source.empty();
}

// The archive the import writes: --into, else the configured archive; a configured
// archive that is still the Access file becomes the new file beside it, and the
// configuration is pointed at it once the import is complete.
std::filesystem::path targetOf(const CliContext& ctx, const Options& o, Config& cfg, bool& repoint) {
    repoint = false;
    if (!o.into.empty()) return std::filesystem::absolute(o.into);
    if (!ConfigFile::readLenient(ConfigFile::pathIn(ctx.home), cfg) || cfg.PathArch.empty())
        return ctx.home / "Vizidore.mdb";
    if (!looksLikeAccessFile(cfg.PathArch)) return cfg.PathArch;
    repoint = true;
    return importedArchivePath(cfg.PathArch);
}

int run(CliContext& ctx, const std::vector<std::string>& args) {
    Options o;
    if (!parse(args, o, ctx.out)) return kExitUsage;
    Config cfg;
    bool repoint = false;
    const auto target = targetOf(ctx, o, cfg, repoint);

    if (repoint && importedArchiveInPlace(target)) {
        // an earlier run imported and was stopped before the configuration was written
        cfg.PathArch = target.string();
        ConfigFile::write(ConfigFile::pathIn(ctx.home), cfg);
        ctx.out << "archivio\t" << target.string() << " (già importato)\nconfigurazione\tla riga 2 indica ora "
                << target.string() << "\n";
        return kExitOk;
    }
    std::signal(SIGINT, onInterrupt);
    std::signal(SIGTERM, onInterrupt);
    BarProgress progress(::isatty(STDERR_FILENO) != 0);
    const ImportReport report = AccessImport(ctx.dialogs, progress).run(o.source, target);
    progress.end();

    const std::string tsv = report.tsv();
    ctx.out << "archivio\t" << report.target << "\n" << tsv;
    if (!o.report.empty()) report.writeTsv(o.report);
    if (!report.completed) return kExitFailed;
    if (repoint) {
        cfg.PathArch = target.string();
        ConfigFile::write(ConfigFile::pathIn(ctx.home), cfg);
        ctx.out << "configurazione\tla riga 2 indica ora " << target.string() << "\n";
    }
    return report.everythingImported() ? kExitOk : kExitFailed;
}

const CommandRegistrar reg{
    {"import", "importa un archivio Access (.mdb, .accdb) nell'archivio del programma",
     "uso: zelq [--home CARTELLA] import FILE.mdb [--into ARCHIVIO] [--report FILE.tsv]\n\n"
     "Copia tabelle (tutte le righe, tipi, indici, contatori) e collegamenti ODBC del\n"
     "file Access nell'archivio dell'installazione, che non deve esistere o deve essere\n"
     "vuoto; --into indica un altro archivio. Se la configurazione indica ancora il file\n"
     "Access come archivio, l'archivio nuovo e' NOME_importato.mdb accanto a esso e la\n"
     "configurazione viene aggiornata. Il file Access non viene mai modificato.\n"
     "Query, maschere, report, relazioni e collegamenti ad altri file Access non sono\n"
     "importati: il rapporto li elenca con il motivo. --report scrive il rapporto in TSV.\n"
     "Esce con 0 solo se ogni tabella e ogni collegamento e' stato importato.\n",
     &run}};

}  // namespace
}  // namespace zq
