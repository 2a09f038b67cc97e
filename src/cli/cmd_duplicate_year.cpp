// zelq duplicate-year: the year duplication form's "&Duplica".

#include "cli/cli_command.h"
#include "cli/logged_session.h"
#include "common/progress.h"
#include "duplication/year_copy_run.h"
#include "runtime/format.h"

#include <ostream>

namespace zq {
namespace {

int run(CliContext& ctx, const std::vector<std::string>& args) {
    long source = 0, parent = 0;
    YearCopyRequest request;
    bool yearGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& o = args[i];
        const bool v = i + 1 < args.size();
        try {
            if (o == "--source" && v) source = std::stol(args[++i]);
            else if (o == "--parent" && v) parent = std::stol(args[++i]);
            else if (o == "--name" && v) request.newYearName = args[++i];
            else if (o == "--folder" && v) request.parentFolder = args[++i];
            else if (o == "--year" && v) request.yearText = args[++i], yearGiven = true;
            else {
                ctx.out << "zelq duplicate-year: argomento sconosciuto o incompleto: " << o << "\n";
                return kExitUsage;
            }
        } catch (const std::exception&) {
            ctx.out << "zelq duplicate-year: area non numerica: " << args[i] << "\n";
            return kExitUsage;
        }
    }
    if (source == 0) {
        ctx.out << "zelq duplicate-year: serve --source (l'area annualita' origine)\n";
        return kExitUsage;
    }
    LoggedSession session(ctx);
    if (!session->CnnArch) return kExitFailed;
    // As the form: the TARV year starts as the year of the login date.
    if (!yearGiven) request.yearText = formatValue(Value(session->DataLogin), "yyyy");
    request.parentAreaId = parent;
    YearCopyRun::childAreasOf(*session, source, request.childAreas);
    NoProgress progress;
    const auto result = YearCopyRun(*session, progress).cmdCopy_Click(request);
    ctx.out << "year\t" << result.yearAreaId << "\nfolder\t" << result.yearFolder << "\nareas\t" << result.areas
            << "\ncopied\t" << result.copied << "\nlinked\t" << result.linked << "\nleft out\t" << result.leftOut
            << "\nskipped\t" << result.skipped << "\nstopped\t" << result.stopped << "\n";
    session.close();
    return result.completed && result.skipped == 0 && result.stopped == 0 ? kExitOk : kExitFailed;
}

const CommandRegistrar reg{{"duplicate-year", "prepara un nuovo anno duplicando l'area annualita'",
                            "uso: zelq [--home CARTELLA] [--yes|--no] duplicate-year --source ID --name NOME\n"
                            "           --folder CARTELLA [--parent ID] [--year ANNO]\n\n"
                            "Come \"&Duplica\" della finestra \"Duplicazione ANNUALITA'\": crea l'area\n"
                            "NOME sotto --parent, un'area per ogni area figlia di --source e in ognuna\n"
                            "copie vuote dei suoi archivi. Gli archivi collegati come \"A\" non sono\n"
                            "copiati; quelli collegati come \"M\" sono collegati per l'anno --year (di\n"
                            "norma l'anno della data di accesso) se si risponde Si' (--yes), nel\n"
                            "database della ditta della loro riga di ar_dbelenco.\n",
                            &run}};

}  // namespace
}  // namespace zq
