// zelq duplicate-area: the area duplication form's "&Duplica" for one source area.

#include "cli/cli_command.h"
#include "cli/company_pick.h"
#include "cli/logged_session.h"
#include "common/error.h"
#include "common/gesterr.h"
#include "duplication/area_copy_run.h"
#include "lookups/lookups.h"
#include "runtime/text.h"

#include <ostream>

namespace zq {
namespace {

struct Args {
    long area = 0, parent = 0;
    std::string name, folder, company, year;
    bool hasName = false;
    std::vector<std::pair<std::string, std::string>> archives;  // serial, new name ("" keeps it)
};

bool number(const std::string& text, long& out) {
    try {
        std::size_t used = 0;
        out = std::stol(text, &used);
        return used == text.size();
    } catch (const std::exception&) {
        return false;
    }
}

bool parse(const std::vector<std::string>& args, Args& a, std::ostream& err) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& o = args[i];
        const bool v = i + 1 < args.size();
        if ((o == "--area" || o == "--parent") && v) {
            if (!number(args[++i], o == "--area" ? a.area : a.parent)) {
                err << "zelq duplicate-area: area non numerica: " << args[i] << "\n";
                return false;
            }
        } else if (o == "--name" && v) {
            a.name = args[++i];
            a.hasName = true;
        } else if (o == "--folder" && v) {
            a.folder = args[++i];
        } else if (o == "--company" && v) {
            a.company = args[++i];
        } else if (o == "--year" && v) {
            a.year = args[++i];
        } else if (o == "--archive" && v) {
            const std::string s = args[++i];
            const auto eq = s.find('=');
            a.archives.emplace_back(s.substr(0, eq), eq == std::string::npos ? std::string() : s.substr(eq + 1));
        } else {
            err << "zelq duplicate-area: argomento sconosciuto o incompleto: " << o << "\n";
            return false;
        }
    }
    if (a.area == 0) {
        err << "zelq duplicate-area: serve --area (l'area origine)\n";
        return false;
    }
    return true;
}

int run(CliContext& ctx, const std::vector<std::string>& args) {
    Args a;
    if (!parse(args, a, ctx.out)) return kExitUsage;
    LoggedSession session(ctx);
    if (!session->CnnArch) return kExitFailed;

    Lookups lookups(*session);
    AreaCopyRequest request;
    request.newAreaName = a.name;
    request.parentFolder = a.folder;
    request.parentAreaId = a.parent;
    if (!a.company.empty()) {
        Picker companies, years;
        lookups.LeggDitt(companies, /*all=*/false);
        if (!pickCompany(ctx, "duplicate-area", lookups, companies, a.company)) return kExitFailed;
        lookups.CambDitt(companies, years, /*allYears=*/false);
        pickYear(years, a.year);
        lookups.CambEser(companies, years);
        request.companyIndex = companies.listIndex();
        request.companyCode = lookups.aDitte[static_cast<std::size_t>(request.companyIndex)].Codice;
        request.yearIndex = years.listIndex();
        request.yearText = years.text();
        request.arAttiva = lookups.ArAttiva;
    }

    ArchiveModel model;
    auto entries = AreaCopyRun::LeggList(*session, model, a.area);
    if (!a.archives.empty()) {
        for (auto& e : entries) e.Selez = false;
        for (const auto& [serial, newName] : a.archives) {
            bool found = false;
            for (auto& e : entries) {
                if (e.Tabella != vbLCase(vbTrim(serial))) continue;
                e.Selez = found = true;
                if (!newName.empty()) e.Archivio = newName;
            }
            if (!found) {
                ctx.out << "zelq duplicate-area: archivio non nell'area: " << serial << "\n";
                return kExitFailed;
            }
        }
    }
    const auto result = AreaCopyRun(*session).cmdCopy_Click(request, entries);
    for (const auto& e : entries)
        if (!e.Seriale.empty()) ctx.out << "copy\t" << e.Tabella << "\t" << e.Seriale << "\t" << e.Cartella << "\n";
    ctx.out << "area\t" << result.newAreaId << "\ncopied\t" << result.copied << "\nlinked\t" << result.linked
            << "\nskipped\t" << result.skipped << "\nstopped\t" << result.stopped << "\n";
    session.close();
    return result.completed && result.skipped == 0 && result.stopped == 0 ? kExitOk : kExitFailed;
}

const CommandRegistrar reg{{"duplicate-area", "duplica un'area con copie vuote dei suoi archivi",
                            "uso: zelq [--home CARTELLA] [--yes|--no] duplicate-area --area ID --name NOME\n"
                            "           --folder CARTELLA [--parent ID] [--company DITTA --year ANNO]\n"
                            "           [--archive SERIALE[=NUOVO NOME] ...]\n\n"
                            "Come \"&Duplica\" della finestra \"Duplicazione AREE\": crea l'area NOME sotto\n"
                            "l'area --parent (0: nessuna), la sua cartella sotto --folder e, per ogni\n"
                            "archivio dell'area --area (o solo quelli indicati), una copia vuota con\n"
                            "nuovo seriale, cartella, DURuv.id e riga di DB_ELENCO. Gli archivi\n"
                            "collegati a TARV sono collegati anche nella copia se si risponde Si' alla\n"
                            "domanda (--yes); servono allora --company e --year.\n",
                            &run}};

}  // namespace
}  // namespace zq
