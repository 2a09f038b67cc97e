// zelq unlink: the unlink form's "&Scollega" for the archives named on the command line.

#include "cli/cli_command.h"
#include "cli/company_pick.h"
#include "cli/logged_session.h"
#include "cli/terminal_dialogs.h"
#include "common/textroutines.h"
#include "journal/journal.h"
#include "linking/free_run.h"
#include "linking/link_list.h"
#include "lookups/lookups.h"
#include "runtime/text.h"

#include <algorithm>
#include <ostream>

namespace zq {
namespace {

int run(CliContext& ctx, const std::vector<std::string>& args) {
    std::string company, year;
    std::vector<std::string> serials;
    // Dropping the TARV tables deletes what the company wrote through the links: it is
    // answered Yes by --yes-delete alone, never by --yes.
    if (ctx.dialogs.mode() == TerminalDialogs::Mode::Yes)
        ctx.dialogs.presetAnswer(FreeRun::kDeleteTarvQuestion, Answer::No);
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--keep-tarv") {
            ctx.dialogs.presetAnswer(FreeRun::kDeleteTarvQuestion, Answer::No);
        } else if (args[i] == "--yes-delete") {
            ctx.dialogs.presetAnswer(FreeRun::kDeleteTarvQuestion, Answer::Yes);
        } else if (args[i] == "--company" && i + 1 < args.size()) {
            company = args[++i];
        } else if (args[i] == "--year" && i + 1 < args.size()) {
            year = args[++i];
        } else if (args[i].rfind("-", 0) == 0) {
            ctx.out << "zelq unlink: argomento sconosciuto o incompleto: " << args[i] << "\n";
            return kExitUsage;
        } else {
            serials.push_back(args[i]);
        }
    }
    if (serials.empty()) {
        ctx.out << "zelq unlink: indicare almeno un seriale\n";
        return kExitUsage;
    }
    LoggedSession session(ctx);
    if (!session->CnnArch) return kExitFailed;

    Lookups lookups(*session);
    lookups.LeggDocs();
    Picker companies, years;
    lookups.LeggDitt(companies, /*all=*/true);
    companies.setListIndex(0);
    // Entry 0 is "<TUTTE>": a company named on the command line is one of the others.
    if (!company.empty() && !pickCompany(ctx, "unlink", lookups, companies, company, /*first=*/1)) return kExitFailed;
    if (!reachCompany(ctx, "unlink", company, [&] { lookups.CambDitt(companies, years, /*allYears=*/true); }))
        return kExitFailed;
    if (!year.empty()) {
        years.setListIndex(-1);
        for (int i = 1; i < years.listCount(); ++i)
            if (vbTrim(years.list(i)) == vbTrim(year)) years.setListIndex(i);
        if (years.listIndex() < 1) {
            ctx.out << "zelq unlink: esercizio non in elenco: " << year << "\n";
            return kExitFailed;
        }
    }

    FreeFilter filter;
    if (companies.listIndex() >= 1) filter.companyCode = lookups.aDitte[static_cast<std::size_t>(companies.listIndex())].Codice;
    if (years.listIndex() >= 1) filter.year = CintText(years.text());
    ArchiveModel model;
    auto entries = LinkList::linked(*session, model, filter, lookups.aDocs);
    // An archive this command unlinked before is no longer listed: when that run was
    // interrupted, this one finishes it first; when it had ended, there is nothing to do.
    std::vector<Journal::Entry> unlinks;
    if (Journal::exists(session->cfg.PathArch))
        for (auto& j : Journal(session->cfg.PathArch).all())
            if (j.operation == FreeRun::kJournalOperation) unlinks.push_back(std::move(j));
    bool pending = false, selected = false;
    for (const auto& j : unlinks) pending = pending || j.finished.empty();
    for (const auto& s : serials) {
        const int i = LinkList::find(entries, s);
        const bool unlinkedBefore = std::any_of(unlinks.begin(), unlinks.end(),
                                                [&](const Journal::Entry& j) { return vbLCase(j.archive) == vbLCase(s); });
        if (i < 0 && unlinkedBefore) {
            ctx.out << "zelq unlink: archivio già scollegato: " << s << "\n";
            continue;
        }
        selected = true;
        if (i < 0) {
            ctx.out << "zelq unlink: archivio non collegato o non in elenco: " << s << "\n";
            return kExitFailed;
        }
        entries[static_cast<std::size_t>(i)].selected = true;
    }
    if (!selected && !pending) {
        session.close();
        return kExitOk;
    }
    const auto result = FreeRun(*session).cmdFree_Click(entries, /*allCompanies=*/companies.listIndex() < 1);
    ctx.out << "unlinked\t" << result.unlinked << "\ntarv_dropped\t" << (result.delTarv ? result.unlinked : 0)
            << "\nskipped\t" << result.skipped << "\nstopped\t" << result.stopped << "\n";
    if (result.partial > 0) ctx.out << "partial\t" << result.partial << "\n";
    if (result.resumed > 0) ctx.out << "resumed\t" << result.resumed << "\n";
    session.close();
    return result.completed && result.stopped == 0 && result.partial == 0 ? kExitOk : kExitFailed;
}

const CommandRegistrar reg{{"unlink", "scollega archivi dal database TARV",
                            "uso: zelq [--home CARTELLA] [--yes|--no] unlink [--company DITTA]\n"
                            "           [--year ANNO] [--keep-tarv|--yes-delete] SERIALE ...\n\n"
                            "Come \"&Scollega\" della finestra di scollegamento: chiede una volta se\n"
                            "cancellare anche le tabelle dal TARV, poi per ogni archivio elimina il\n"
                            "collegamento e rida' il nome alla tabella messa da parte. Senza\n"
                            "--company si lavora su tutte le ditte, ciascun archivio con la sua.\n"
                            "La cancellazione delle tabelle dal TARV ha Sì solo con --yes-delete;\n"
                            "con --yes e con --keep-tarv ha No.\n",
                            &run}};

}  // namespace
}  // namespace zq
