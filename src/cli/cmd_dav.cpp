// zelq dav: the DAV link form's "&Collega" for one archive.

#include "cli/cli_command.h"
#include "cli/company_pick.h"
#include "cli/logged_session.h"
#include "linking/dav_run.h"
#include "linking/link_list.h"
#include "lookups/lookups.h"

#include <ostream>

namespace zq {
namespace {

int run(CliContext& ctx, const std::vector<std::string>& args) {
    std::string company, serial;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--company" && i + 1 < args.size()) {
            company = args[++i];
        } else if (args[i] == "--archive" && i + 1 < args.size()) {
            serial = args[++i];
        } else {
            ctx.out << "zelq dav: argomento sconosciuto o incompleto: " << args[i] << "\n";
            return kExitUsage;
        }
    }
    if (company.empty() || serial.empty()) {
        ctx.out << "zelq dav: servono --company e --archive\n";
        return kExitUsage;
    }
    LoggedSession session(ctx);
    if (!session->CnnArch) return kExitFailed;

    Lookups lookups(*session);
    Picker companies;
    lookups.LeggDitt(companies, /*all=*/false);
    if (!pickCompany(ctx, "dav", lookups, companies, company)) return kExitFailed;
    if (!reachCompany(ctx, "dav", company, [&] { lookups.CambDit1(companies); })) return kExitFailed;

    ArchiveModel model;
    const auto entries = LinkList::archives(*session, model, 0);
    const int chosen = LinkList::find(entries, serial);
    if (chosen < 0) {
        ctx.out << "zelq dav: archivio non in elenco: " << serial << "\n";
        return kExitFailed;
    }
    DavRequest request;
    request.companyIndex = companies.listIndex();
    request.companyCode = lookups.aDitte[static_cast<std::size_t>(companies.listIndex())].Codice;
    request.arAttiva = lookups.ArAttiva;
    const auto result = DavRun(*session).cmdColl_Click(request, entries, chosen);
    ctx.out << "linked\t" << (result.linked ? 1 : 0) << "\n";
    session.close();
    return result.linked ? kExitOk : kExitFailed;
}

const CommandRegistrar reg{{"dav", "collega un archivio come tabella DAV di una ditta",
                            "uso: zelq [--home CARTELLA] [--yes|--no] dav --company DITTA --archive SERIALE\n\n"
                            "Come \"&Collega\" della finestra dei collegamenti DAV: l'archivio diventa\n"
                            "la tabella DAV della ditta (ar_dbelenco: tipo M, tipo documento Z,\n"
                            "anno 9999).\n",
                            &run}};

}  // namespace
}  // namespace zq
