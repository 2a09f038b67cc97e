// zelq status: every archive of DB_ELENCO with the state of its table and its row in
// the registry of linked archives.

#include "cli/cli_command.h"
#include "cli/logged_session.h"
#include "common/textroutines.h"
#include "linking/archive_model.h"
#include "runtime/text.h"

#include <ostream>

namespace zq {
namespace {

std::string textOf(const Value& v) { return v.isNullish() ? std::string() : vbTrim(v.toText()); }

int run(CliContext& ctx, const std::vector<std::string>& args) {
    if (!args.empty()) {
        ctx.out << "zelq status: nessun argomento previsto\n";
        return kExitUsage;
    }
    LoggedSession session(ctx);
    if (!session->CnnArch) return kExitFailed;

    std::vector<TableDef> defs;
    {
        auto db = ArchiveDatabase::open(session->cfg.PathArch);
        defs = db->tableDefs();
        db->close();
    }

    ctx.out << "serial\tarea\tarchive\tstate\tditt\tanno\ttipo_ass\ttipo_doc\n";
    auto rs = session->OpenReadRst("SELECT AREE.AREA, DB_ELENCO.* FROM DB_ELENCO LEFT JOIN AREE"
                                   " ON DB_ELENCO.ID_AREA = AREE.ID_AREA ORDER BY AREA, ARCHIVIO",
                                   *session->CnnArch);
    for (; !rs->eof(); rs->moveNext()) {
        const Value serialValue = rs->field("SYS_SERIALE");
        if (serialValue.isNullish()) continue;
        const std::string serial = vbLCase(vbTrim(serialValue.toText()));
        const ArchiveState state = ArchiveModel::classify(serial, defs);

        std::string registry = "\t\t\t";
        auto reg = session->OpenReadRst("SELECT * FROM ar_dbelenco WHERE sys_seriale = " + sqlText("a" + serial),
                                        *session->CnnTarv);
        if (!reg->eof())
            registry = textOf(reg->field("ditt")) + "\t" + textOf(reg->field("anno")) + "\t" +
                       textOf(reg->field("tipo_ass")) + "\t" + textOf(reg->field("tipo_doc"));
        session->CloseRst(reg);

        ctx.out << serial << "\t" << textOf(rs->field("AREA")) << "\t" << textOf(rs->field("ARCHIVIO")) << "\t"
                << ArchiveModel::stateName(state) << "\t" << registry << "\n";
    }
    session->CloseRst(rs);
    session.close();
    return kExitOk;
}

const CommandRegistrar reg{{"status", "stato di ogni archivio (locale, collegato, pre-masterizzazione)",
                            "uso: zelq [--home CARTELLA] status\n\n"
                            "Una riga per ogni archivio di DB_ELENCO, separata da tabulazioni:\n"
                            "  serial area archive state ditt anno tipo_ass tipo_doc\n"
                            "state: local (tabella locale), linked (collegata a TARV),\n"
                            "premastering (collegamento rinominato _COL), missing (tabella assente).\n"
                            "Le colonne di ar_dbelenco sono vuote quando l'archivio non vi compare.\n",
                            &run}};

}  // namespace
}  // namespace zq
