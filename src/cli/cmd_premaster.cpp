// zelq premaster: the pre-mastering form's "&Masterizza" for the archives named.

#include "cli/cli_command.h"
#include "cli/logged_session.h"
#include "linking/archive_model.h"
#include "linking/link_list.h"
#include "lookups/lookups.h"
#include "premastering/premaster_run.h"

#include <ostream>

namespace zq {
namespace {

int run(CliContext& ctx, const std::vector<std::string>& args) {
    if (args.empty()) {
        ctx.out << "zelq premaster: indicare almeno un seriale\n";
        return kExitUsage;
    }
    for (const auto& a : args)
        if (a.rfind("-", 0) == 0) {
            ctx.out << "zelq premaster: argomento sconosciuto: " << a << "\n";
            return kExitUsage;
        }
    LoggedSession session(ctx);
    if (!session->CnnArch) return kExitFailed;

    Lookups lookups(*session);
    lookups.LeggDocs();
    ArchiveModel model;
    auto entries = LinkList::premastering(*session, model, FreeFilter{}, lookups.aDocs);
    std::vector<TableDef> defs;
    {
        auto db = ArchiveDatabase::open(session->cfg.PathArch);
        defs = db->tableDefs();
        db->close();
    }
    bool selected = false;
    for (const auto& s : args) {
        const int i = LinkList::find(entries, s);
        // Named again after a run that was interrupted later: this one is done already.
        if (i < 0 && ArchiveModel::classify(s, defs) == ArchiveState::Premastering) {
            ctx.out << "zelq premaster: archivio già pre-masterizzato: " << s << "\n";
            continue;
        }
        selected = true;
        if (i < 0) {
            ctx.out << "zelq premaster: archivio non collegato o non in elenco: " << s << "\n";
            return kExitFailed;
        }
        entries[static_cast<std::size_t>(i)].selected = true;
    }
    if (!selected) {
        session.close();
        return kExitOk;
    }
    const auto result = PremasterRun(*session).cmdMast_Click(entries);
    ctx.out << "premastered\t" << result.premastered << "\nrows\t" << result.rowsCopied << "\nskipped\t" << result.skipped
            << "\nstopped\t" << result.stopped << "\n";
    session.close();
    return result.completed && result.stopped == 0 ? kExitOk : kExitFailed;
}

const CommandRegistrar reg{{"premaster", "pre-masterizza archivi collegati",
                            "uso: zelq [--home CARTELLA] [--yes|--no] premaster SERIALE ...\n\n"
                            "Come \"&Masterizza\" della finestra di pre-masterizzazione: copia le righe\n"
                            "TARV nella tabella locale, rinomina il collegamento seriale_COL e rida'\n"
                            "alla tabella locale il nome dell'archivio.\n",
                            &run}};

}  // namespace
}  // namespace zq
