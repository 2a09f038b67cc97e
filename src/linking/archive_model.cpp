#include "linking/archive_model.h"

#include "dataaccess/resolver.h"
#include "common/docs_folder.h"
#include "runtime/text.h"

#include <utility>

namespace zq {
namespace {

bool sameName(const std::string& a, const std::string& b) {
    return vbLCase(vbTrim(a)) == vbLCase(vbTrim(b));
}

const TableDef* findDef(const std::vector<TableDef>& defs, const std::string& name) {
    for (const auto& d : defs)
        if (sameName(d.name, name)) return &d;
    return nullptr;
}

}  // namespace

void ArchiveModel::LeggLink(const std::string& pathArch) {
    aLinkTab.clear();
    auto db = ArchiveDatabase::open(pathArch);
    LeggLink(*db);
    db->close();
}

void ArchiveModel::LeggLink(ArchiveDatabase& db) {
    aLinkTab.clear();
    for (const auto& def : db.tableDefs())
        if (!vbTrim(def.sourceTableName).empty()) aLinkTab.push_back(vbLCase(def.name));

    // Adjacent swaps until a pass makes none, on the trimmed names by character code:
    // CercLink's bisection depends on exactly this order.
    bool swapped = true;
    while (swapped) {
        swapped = false;
        for (std::size_t i = 0; i + 1 < aLinkTab.size(); ++i) {
            if (vbTrim(aLinkTab[i]) > vbTrim(aLinkTab[i + 1])) {
                std::swap(aLinkTab[i], aLinkTab[i + 1]);
                swapped = true;
            }
        }
    }
}

bool ArchiveModel::CercLink(const std::string& name) const {
    const int n = nLinkTab();
    if (n == 0) return false;
    // 1-based bounds as the original keeps them: lo = 1, hi = n + 1.
    int lo = 1, hi = n + 1, previous = 0;
    for (;;) {
        const int mid = (lo + hi) / 2;
        if (mid == previous) return false;
        const std::string entry = vbTrim(aLinkTab[mid - 1]);
        if (aLinkTab[mid - 1] == name) return true;
        if (name < entry)
            hi = mid;
        else
            lo = mid;
        previous = mid;
    }
}

std::string ArchiveModel::PathServ(const std::string& path, const Config& cfg) {
    std::string p = path + "00000000\\";
    if (!cfg.RootOld.empty() && p.rfind(cfg.RootOld, 0) == 0)
        p = vbTrim(cfg.RootNew) + p.substr(cfg.RootOld.size());

    std::string out;
    out.reserve(p.size() + 16);
    const bool convert = vbTrim(cfg.ConvBksl) == "S";
    for (char c : p) {
        if (c != '\\')
            out += c;
        else
            out += convert ? "/" : "\\\\";
    }
    return out;
}

std::string ArchiveModel::PathDocs(const std::string& path, long record) { return recordFolder(path, record); }

std::string ArchiveModel::linkConnectString(const Config& cfg, const std::string& dbDitt) {
    const auto v = connectionValue;
    return "ODBC;DRIVER={INFORMIX-CLI 2.5 (32 bit)};PRO=sesoctcp" + std::string(";SRVR=") + v(cfg.Server) +
           ";SERV=sqlexec;HOST=" + v(cfg.Host) + ";DATABASE=" + v(dbDitt) + ";DSN=Default" +
           ";userid=" + v(cfg.Utente) + ";password=" + v(cfg.Password);
}

ArchiveState ArchiveModel::classify(const std::string& serial, const std::vector<TableDef>& defs) {
    const std::string s = vbLCase(vbTrim(serial));
    if (findDef(defs, s + "_col")) return ArchiveState::Premastering;
    const TableDef* def = findDef(defs, s);
    if (!def) return ArchiveState::Missing;
    return vbTrim(def->sourceTableName).empty() ? ArchiveState::Local : ArchiveState::Linked;
}

const char* ArchiveModel::stateName(ArchiveState s) {
    switch (s) {
        case ArchiveState::Local: return "local";
        case ArchiveState::Linked: return "linked";
        case ArchiveState::Premastering: return "premastering";
        case ArchiveState::Missing: return "missing";
    }
    return "missing";
}

}  // namespace zq
