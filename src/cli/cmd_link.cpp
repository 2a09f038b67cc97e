// zelq link: the link form's "&Collega" for the archives named on the command line.

#include "cli/cli_command.h"
#include "cli/company_pick.h"
#include "cli/logged_session.h"
#include "linking/link_list.h"
#include "linking/link_run.h"
#include "lookups/lookups.h"
#include "runtime/text.h"

#include <ostream>

namespace zq {
namespace {

struct ArchiveArg {
    std::string serial, tipoAss, tipoDoc;
};

struct Args {
    std::string company, year;
    long area = 0;
    std::vector<ArchiveArg> archives;
};

// "SERIAL:M:DOCTYPE" or "SERIAL:A".
bool parseArchive(const std::string& text, ArchiveArg& out) {
    const auto first = text.find(':');
    if (first == std::string::npos || first == 0) return false;
    out.serial = text.substr(0, first);
    const std::string rest = text.substr(first + 1);
    if (rest == "A") {
        out.tipoAss = "A";
        return true;
    }
    if (rest.rfind("M:", 0) != 0 || rest.size() < 3) return false;
    out.tipoAss = "M";
    out.tipoDoc = rest.substr(2);
    return true;
}

bool parse(const std::vector<std::string>& args, Args& a, std::ostream& err) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& o = args[i];
        const bool hasValue = i + 1 < args.size();
        if (o == "--company" && hasValue) {
            a.company = args[++i];
        } else if (o == "--year" && hasValue) {
            a.year = args[++i];
        } else if (o == "--area" && hasValue) {
            try {
                a.area = std::stol(args[++i]);
            } catch (const std::exception&) {
                err << "zelq link: area non numerica: " << args[i] << "\n";
                return false;
            }
        } else if (o == "--archive" && hasValue) {
            ArchiveArg arch;
            if (!parseArchive(args[++i], arch)) {
                err << "zelq link: archivio da indicare come SERIALE:M:TIPODOC o SERIALE:A: " << args[i] << "\n";
                return false;
            }
            a.archives.push_back(arch);
        } else {
            err << "zelq link: argomento sconosciuto o incompleto: " << o << "\n";
            return false;
        }
    }
    if (a.company.empty() || a.year.empty() || a.archives.empty()) {
        err << "zelq link: servono --company, --year e almeno un --archive\n";
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
    lookups.LeggDocs();
    Picker companies, years;
    lookups.LeggDitt(companies, /*all=*/false);
    if (!pickCompany(ctx, "link", lookups, companies, a.company)) return kExitFailed;
    const int company = companies.listIndex();
    if (!reachCompany(ctx, "link", a.company, [&] { lookups.CambDitt(companies, years, /*allYears=*/false); }))
        return kExitFailed;
    pickYear(years, a.year);
    lookups.CambEser(companies, years);

    ArchiveModel model;
    auto entries = LinkList::archives(*session, model, a.area);
    for (const auto& arch : a.archives) {
        const int i = LinkList::find(entries, arch.serial);
        if (i < 0) {
            ctx.out << "zelq link: archivio non in elenco: " << arch.serial << "\n";
            return kExitFailed;
        }
        ArchRow& e = entries[static_cast<std::size_t>(i)];
        e.selected = true;
        e.associationType = arch.tipoAss;
        e.docTypeIndex = -1;
        for (std::size_t d = 0; d < lookups.aDocs.size(); ++d)
            if (arch.tipoAss == "M" && vbTrim(lookups.aDocs[d].TipoDoc) == arch.tipoDoc) e.docTypeIndex = static_cast<int>(d);
        if (arch.tipoAss == "M" && e.docTypeIndex < 0) {
            ctx.out << "zelq link: tipo documento sconosciuto: " << arch.tipoDoc << "\n";
            return kExitFailed;
        }
    }

    LinkRequest request;
    request.companyIndex = companies.listIndex();
    request.companyCode = lookups.aDitte[static_cast<std::size_t>(company)].Codice;
    request.yearIndex = years.listIndex();
    request.yearText = years.text();
    request.arAttiva = lookups.ArAttiva;
    const auto result = LinkRun(*session, lookups.aDocs).cmdColl_Click(request, entries);
    ctx.out << "linked\t" << result.linked << "\nrefused\t" << result.refused << "\nstopped\t" << result.stopped << "\n";
    session.close();
    return result.completed && result.refused == 0 && result.stopped == 0 ? kExitOk : kExitFailed;
}

const CommandRegistrar reg{{"link", "collega archivi al database TARV di una ditta",
                            "uso: zelq [--home CARTELLA] [--yes|--no] link --company DITTA --year ANNO\n"
                            "           [--area ID] --archive SERIALE:M:TIPODOC --archive SERIALE:A ...\n\n"
                            "Come \"&Collega\" della finestra di collegamento: per ogni archivio\n"
                            "chiede conferma, crea la tabella \"a\"+seriale nel database della ditta,\n"
                            "mette da parte la tabella locale (seriale_sav), crea il collegamento e\n"
                            "scrive la riga di ar_dbelenco. M = movimento dell'anno con il tipo\n"
                            "documento indicato, A = altro (anno 9999). Stampa quante tabelle sono\n"
                            "state collegate, rifiutate o interrotte.\n",
                            &run}};

}  // namespace
}  // namespace zq
