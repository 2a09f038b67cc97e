#include "linking/link_list.h"

#include "linking/link_sql.h"
#include "runtime/text.h"

namespace zq {
namespace {

std::string textOf(const Value& v) { return v.isNullish() ? std::string() : v.toText(); }

struct RegistryRow {
    std::string serial;  ///< sys_seriale, trimmed
    Value ditt, anno, tipoAss, tipoDoc;
};

std::vector<RegistryRow> readRegistry(Session& session) {
    std::vector<RegistryRow> rows;
    auto rs = session.tarv().openRecordset(LinkSql::registryListQuery(), CursorType::Static, LockType::ReadOnly);
    for (; !rs->eof(); rs->moveNext())
        rows.push_back({vbTrim(textOf(rs->field("sys_seriale"))), rs->field("ditt"), rs->field("anno"),
                        rs->field("tipo_ass"), rs->field("tipo_doc")});
    rs->close();
    return rows;
}

// The archives that are links and have a registry row, narrowed by company and year.
std::vector<FreeRow> filterArchives(Session& session, const ArchiveModel& model, const FreeFilter& filter,
                                    const std::vector<Lookups::TipoDoc>& aDocs, const std::vector<RegistryRow>& registry) {
    std::vector<FreeRow> out;
    if (session.CnnArch && session.CnnArch->state() != 0) session.CnnArch->close();
    {
        auto db = ArchiveDatabase::open(session.cfg.PathArch);
        auto rs = db->connection().openRecordset(LinkSql::freeListQuery(), CursorType::ForwardOnly, LockType::ReadOnly);
        for (; !rs->eof(); rs->moveNext()) {
            const Value description = rs->field("ARCHIVIO"), serial = rs->field("SYS_SERIALE");
            if (description.isNull() || serial.isNull() || rs->field("sys_path_docs").isNull()) continue;
            const std::string s = vbLCase(vbTrim(serial.toText()));
            if (!model.CercLink(s)) continue;
            // Registry values are CHAR columns: compared without their padding.
            const RegistryRow* reg = nullptr;
            for (const auto& r : registry)
                if (r.serial == "a" + s) {
                    reg = &r;
                    break;
                }
            if (!reg) continue;
            const std::string ditt = vbTrim(textOf(reg->ditt));
            if (!filter.companyCode.empty() && ditt != vbTrim(filter.companyCode)) continue;
            const long anno = reg->anno.isNullish() ? 0 : static_cast<long>(reg->anno.toInteger());
            if (filter.year != 0 && anno != filter.year && anno != 9999) continue;

            FreeRow e;
            e.description = description.toText();
            e.area = textOf(rs->field("AREA"));
            e.serial = s;
            e.company = ditt;
            if (!reg->anno.isNullish() && anno != 9999) e.yearText = std::to_string(anno);
            if (!reg->tipoAss.isNullish()) e.associationText = vbTrim(reg->tipoAss.toText()) == "M" ? "Movimento" : "Altro";
            if (!reg->tipoDoc.isNullish())
                for (const auto& d : aDocs)
                    if (vbTrim(d.TipoDoc) == vbTrim(reg->tipoDoc.toText())) {
                        e.docTypeText = d.Descr;
                        break;
                    }
            out.push_back(std::move(e));
        }
        rs->close();
        db->close();
    }
    session.ConnArch();
    return out;
}

}  // namespace

std::vector<ArchRow> LinkList::archives(Session& session, ArchiveModel& model, long areaId) {
    model.LeggLink(session.cfg.PathArch);
    std::vector<ArchRow> out;
    if (!session.CnnArch) return out;
    auto rs = session.CnnArch->openRecordset(LinkSql::archiveListQuery(areaId), CursorType::ForwardOnly,
                                             LockType::ReadOnly);
    for (; !rs->eof(); rs->moveNext()) {
        const Value description = rs->field("ARCHIVIO"), serial = rs->field("SYS_SERIALE"),
                    docs = rs->field("sys_path_docs");
        if (description.isNull() || serial.isNull() || docs.isNull()) continue;
        ArchRow e;
        e.description = description.toText();
        e.area = textOf(rs->field("AREA"));
        e.serial = vbLCase(serial.toText());
        e.serverPath = ArchiveModel::PathServ(docs.toText(), session.cfg);
        e.linked = model.CercLink(e.serial);
        out.push_back(std::move(e));
    }
    rs->close();
    return out;
}

std::vector<FreeRow> LinkList::linked(Session& session, ArchiveModel& model, const FreeFilter& filter,
                                      const std::vector<Lookups::TipoDoc>& aDocs) {
    model.LeggLink(session.cfg.PathArch);
    if (model.nLinkTab() == 0) return {};
    const auto registry = readRegistry(session);
    if (registry.empty()) return {};
    return filterArchives(session, model, filter, aDocs, registry);
}

std::vector<FreeRow> LinkList::premastering(Session& session, ArchiveModel& model, const FreeFilter& filter,
                                            const std::vector<Lookups::TipoDoc>& aDocs) {
    const auto registry = readRegistry(session);
    if (registry.empty()) return {};
    model.LeggLink(session.cfg.PathArch);
    if (model.nLinkTab() == 0) return {};
    return filterArchives(session, model, filter, aDocs, registry);
}

}  // namespace zq
