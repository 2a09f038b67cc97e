// zelq group: the grouping form's "&Raggruppa" for one company and the areas named.

#include "cli/cli_command.h"
#include "cli/company_pick.h"
#include "cli/logged_session.h"
#include "common/progress.h"
#include "duplication/group_run.h"
#include "lookups/lookups.h"

#include <ostream>

namespace zq {
namespace {

int run(CliContext& ctx, const std::vector<std::string>& args) {
    std::string company;
    std::vector<long> areas;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& o = args[i];
        const bool v = i + 1 < args.size();
        if (o == "--company" && v) {
            company = args[++i];
        } else if (o == "--area" && v) {
            try {
                areas.push_back(std::stol(args[++i]));
            } catch (const std::exception&) {
                ctx.out << "zelq group: area non numerica: " << args[i] << "\n";
                return kExitUsage;
            }
        } else {
            ctx.out << "zelq group: argomento sconosciuto o incompleto: " << o << "\n";
            return kExitUsage;
        }
    }
    if (company.empty() || areas.empty()) {
        ctx.out << "zelq group: servono --company e almeno un --area\n";
        return kExitUsage;
    }
    LoggedSession session(ctx);
    if (!session->CnnArch) return kExitFailed;

    Lookups lookups(*session);
    Picker companies, years;
    years.visible = false;
    lookups.LeggDitt(companies, /*all=*/false);
    if (!pickCompany(ctx, "group", lookups, companies, company)) return kExitFailed;
    lookups.CambDitt(companies, years, /*allYears=*/false);

    auto entries = GroupRun::LeggList(*session);
    for (long id : areas) {
        bool found = false;
        for (auto& e : entries)
            if (e.Id_Area == id) e.Selez = found = true;
        if (!found) {
            ctx.out << "zelq group: area non presente in AREE: " << id << "\n";
            return kExitFailed;
        }
    }
    GroupRequest request;
    request.companyIndex = companies.listIndex();
    request.company = lookups.aDitte[static_cast<std::size_t>(request.companyIndex)];
    request.arAttiva = lookups.ArAttiva;
    NoProgress progress;
    const auto result = GroupRun(*session, progress).cmdGrup_Click(request, entries);
    ctx.out << "table\t" << result.table << "\nfolder\t" << result.folder << "\ncreated\t" << (result.created ? 1 : 0)
            << "\narchives\t" << result.archives << "\nrefused\t" << result.refused << "\nrecords\t" << result.records
            << "\nfiles\t" << result.files << "\nfile errors\t" << result.fileErrors << "\n";
    session.close();
    return result.completed && result.fileErrors == 0 ? kExitOk : kExitFailed;
}

const CommandRegistrar reg{{"group", "raggruppa gli archivi di una ditta nell'archivio di raggruppamento",
                            "uso: zelq [--home CARTELLA] group --company DITTA --area ID [--area ID ...]\n\n"
                            "Come \"&Raggruppa\": copia record e documenti di tutti gli archivi delle\n"
                            "aree indicate nell'archivio di raggruppamento della ditta (trovato per\n"
                            "codice fiscale nell'area di raggruppamento, o creato e collegato a TARV\n"
                            "come M/Z/9999). Gli archivi gia' raggruppati sono rifiutati.\n",
                            &run}};

}  // namespace
}  // namespace zq
