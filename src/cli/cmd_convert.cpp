// zelq convert SERIAL ...: converts the PDF documents of archives to TIFF, as the
// "&Converti" button of the conversion form does, with the same question and messages.
// The progress label is written on standard output: rewritten in place when that is a
// terminal, one line per document otherwise. Ctrl+C stops the run after the documents
// in progress, as the form's "Annulla" does.

#include "cli/cli_command.h"
#include "cli/logged_session.h"
#include "cli/terminal_dialogs.h"
#include "common/progress.h"
#include "conversion/conv_table.h"
#include "conversion/conversion_settings.h"
#include "conversion/pdf_converter.h"
#include "conversion/tiff_list.h"
#include "runtime/text.h"
#include "journal/run_log.h"
#include "journal/writer_lock.h"

#include <atomic>
#include <csignal>
#include <ostream>
#include <set>
#include <unistd.h>

namespace zq {
namespace {

std::atomic<bool> interrupted{false};

extern "C" void onInterrupt(int) { interrupted = true; }

// The run's progress on the terminal. A terminal sees one line rewritten in place; a
// file or a pipe gets one line per report, so a log shows every document.
class TerminalProgress final : public Progress {
public:
    TerminalProgress(std::ostream& out, bool inPlace) : out_(out), inPlace_(inPlace) {}

    void begin(const std::string& text) override { show(text); }
    void end() override { breakLine(); }
    void setLabel(const std::string& text) override { show(text); }
    bool cancelRequested() const override { return interrupted; }

    /// Ends a line being rewritten, so what comes next starts on a line of its own.
    void breakLine() {
        if (inPlace_ && width_ > 0) out_ << "\n" << std::flush;
        width_ = 0;
    }

private:
    void show(const std::string& text) {
        if (!inPlace_) {
            out_ << text << "\n" << std::flush;
            return;
        }
        // Blanks over what a longer previous label left on the line.
        std::string line = text;
        if (line.size() < width_) line.append(width_ - line.size(), ' ');
        width_ = text.size();
        out_ << "\r" << line << std::flush;
    }

    std::ostream& out_;
    bool inPlace_;
    std::size_t width_ = 0;
};

// The run's messages on a terminal that also shows the progress line: the line is
// ended first, so a question never starts after a label.
class ProgressAwareDialogs final : public Dialogs {
public:
    ProgressAwareDialogs(Dialogs& target, TerminalProgress& progress) : target_(target), progress_(progress) {}

    Answer message(const Message& m) override {
        progress_.breakLine();
        return target_.message(m);
    }
    std::optional<std::string> pickFolder(const std::string& title, const std::string& start) override {
        progress_.breakLine();
        return target_.pickFolder(title, start);
    }
    std::optional<std::string> pickFile(const std::string& title, const std::string& filter,
                                        const std::string& start) override {
        progress_.breakLine();
        return target_.pickFile(title, filter, start);
    }

private:
    Dialogs& target_;
    TerminalProgress& progress_;
};

// Ctrl+C asks the run to stop instead of ending the program, for the run's lifetime.
class InterruptGuard {
public:
    InterruptGuard() {
        interrupted = false;
        struct sigaction sa {};
        sa.sa_handler = onInterrupt;
        sigemptyset(&sa.sa_mask);
        sigaction(SIGINT, &sa, &previous_);
    }
    ~InterruptGuard() { sigaction(SIGINT, &previous_, nullptr); }
    InterruptGuard(const InterruptGuard&) = delete;
    InterruptGuard& operator=(const InterruptGuard&) = delete;

private:
    struct sigaction previous_ {};
};

const char* outcomeOf(const ConvTableResult& r) {
    if (r.refused) return "nome non valido";
    if (r.counted < 1) return "nessuno";
    if (!r.confirmed) return "rifiutato";
    if (r.cancelled) return "interrotto";
    return "completato";
}

int run(CliContext& ctx, const std::vector<std::string>& args) {
    if (args.empty()) {
        ctx.out << "zelq convert: indicare il seriale di almeno un archivio\n";
        return kExitUsage;
    }
    LoggedSession session(ctx);
    if (!session->CnnArch) return kExitFailed;

    // Every serial must name a listed archive before anything is converted.
    const std::vector<TiffEntry> listed = loadTiffEntries(*session->CnnArch);
    std::set<std::string> wanted;
    for (const std::string& a : args) {
        const std::string serial = vbLCase(vbTrim(a));
        bool known = false;
        for (const TiffEntry& e : listed) known = known || vbTrim(e.tabella) == serial;
        if (!known) {
            ctx.out << "zelq convert: archivio sconosciuto o senza percorso dei documenti: " << a << "\n";
            session.close();
            return kExitUsage;
        }
        wanted.insert(serial);
    }

    const auto lock = WriterLock::acquire(session->cfg.PathArch, session->cfg.Utente, ctx.dialogs, ConvTable::kCaption);
    if (!lock) {
        session.close();
        return kExitFailed;
    }
    RunLog log(session->cfg.PathArch, "convert", session->cfg.Utente);
    const PdfConverter converter(loadConversionSettings(session->programFolder()));
    TerminalProgress progress(ctx.out, ::isatty(STDOUT_FILENO) != 0);
    ProgressAwareDialogs dialogs(ctx.dialogs, progress);
    ConvTable conv(*session->CnnArch, dialogs, progress, converter);
    InterruptGuard ctrlC;
    std::vector<std::pair<const TiffEntry*, ConvTableResult>> done;
    // In list order, as the form converts its ticked archives.
    for (const TiffEntry& e : listed) {
        if (!wanted.count(vbTrim(e.tabella))) continue;
        if (interrupted) break;
        done.emplace_back(&e, conv.run(e.archivio, e.pathDocs, e.tabella, e.pathDocs));
    }

    std::vector<ConvTableResult> results;
    for (const auto& d : done) results.push_back(d.second);
    logConversions(log, results, interrupted);
    bool allDone = !interrupted;
    ctx.out << "serial\tarchive\tfound\tconverted\tunreadable\tfailed\tresult\n";
    for (const auto& [e, r] : done) {
        ctx.out << vbTrim(e->tabella) << "\t" << e->archivio << "\t" << r.counted << "\t" << r.converted << "\t"
                << r.unreadable << "\t" << r.failed << "\t" << outcomeOf(r) << "\n";
        if (r.refused || (r.counted >= 1 && (!r.completed || r.failed > 0))) allDone = false;
    }
    session.close();
    return allDone ? kExitOk : kExitFailed;
}

const CommandRegistrar reg{{"convert", "converte in TIFF i documenti PDF di archivi",
                            "uso: zelq [--home CARTELLA] [--yes|--no] convert SERIALE [SERIALE ...]\n\n"
                            "Converte in TIFF i documenti PDF degli archivi indicati per seriale,\n"
                            "nell'ordine dell'elenco (area, archivio), come il tasto \"Converti\" della\n"
                            "finestra \"Conversione da PDF a TIF\": stessa domanda \"Continuo?\" per\n"
                            "ogni archivio, stessi messaggi. Ogni record punta poi al suo file TIFF,\n"
                            "scritto accanto al PDF, che resta al suo posto.\n\n"
                            "L'avanzamento si legge sull'uscita standard; Ctrl+C interrompe dopo i\n"
                            "documenti in corso. Al termine una riga per archivio: serial, archive,\n"
                            "found, converted, unreadable, failed, result (completato, rifiutato,\n"
                            "nessuno, interrotto, nome non valido: un documento il cui nome uscirebbe\n"
                            "dalla sua cartella ferma l'archivio prima di ogni conversione). Uscita 0\n"
                            "quando ogni archivio con documenti è stato convertito per intero, 1\n"
                            "altrimenti.\n",
                            &run}};

}  // namespace
}  // namespace zq
