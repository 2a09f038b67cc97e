#include "duplication/area_journal.h"

#include "common/textroutines.h"
#include "duplication/area_copy_run.h"
#include "duplication/half_copy.h"
#include "runtime/text.h"

#include <algorithm>
#include <filesystem>
#include <sstream>

namespace zq {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> split(const std::string& line) {
    std::vector<std::string> out;
    std::istringstream in(line);
    for (std::string f; std::getline(in, f, '\t');) out.push_back(f);
    return out;
}

long firstNumber(Connection& cnn, const std::string& sql) {
    auto rs = cnn.openRecordset(sql, CursorType::ForwardOnly, LockType::ReadOnly);
    const long n = rs->eof() || rs->field(0).isNullish() ? 0 : static_cast<long>(rs->field(0).toInteger());
    rs->close();
    return n;
}

}  // namespace

AreaJournal::AreaJournal(ArchiveDatabase& db, const AreaCopyRequest& request, const std::string& who)
    : AreaJournal(db, kOperation, request.newAreaName, request.parentAreaId, vbTrim(request.parentFolder),
                  request.companyCode, who) {}

AreaJournal::AreaJournal(ArchiveDatabase& db, const std::string& operation, const std::string& name, long parentId,
                         const std::string& folder, const std::string& company, const std::string& who)
    : db_(db), journal_(db.path()) {
    const std::string parent = std::to_string(parentId);
    for (const auto& e : journal_.unfinished(operation)) {
        if (e.archive != name || e.param("parent") != parent || e.param("cartella") != folder) continue;
        id_ = e.id;
        taken_ = e.steps;
        company_ = e.param("ditta");
        for (const auto& step : taken_)
            if (const auto f = split(step); f.size() == 2 && f[0] == "area") areaId_ = std::stol(f[1]);
        if (areaId_ == 0) {
            // Killed between the AREE row and its step: the row is the one made after the entry.
            areaId_ = firstNumber(db_.connection(), "SELECT MAX(Id_Area) FROM AREE WHERE AREA = " + sqlText(name) +
                                                        " AND ID_PARENT = " + parent + " AND Id_Area > " +
                                                        std::to_string(std::stol("0" + e.param("dopo"))));
            if (areaId_ != 0) areaMade(areaId_);
        }
        return;
    }
    const long before = firstNumber(db_.connection(), "SELECT MAX(Id_Area) FROM AREE");
    company_ = company;
    id_ = journal_.begin(operation, name,
                         journalParams({{"parent", parent}, {"cartella", folder}, {"dopo", std::to_string(before)},
                                        {"ditta", company_}}),
                         who);
}

std::string AreaJournal::areaFolder() const {
    for (const auto& step : taken_)
        if (const auto f = split(step); f.size() == 2 && f[0] == "cartella") return f[1];
    return {};
}

void AreaJournal::areaFolderMade(const std::string& folder) { journal_.mark(id_, "cartella\t" + folder); }

long AreaJournal::subArea(long source, const std::string& name) {
    if (const auto f = fieldsOf("sub", std::to_string(source)); f.size() == 3) return std::stol(f[2]);
    if (areaId_ == 0 || id_ == 0 || taken_.empty()) return 0;
    // Killed between the child's AREE row and its step: under the new area, it is ours.
    const long id = firstNumber(db_.connection(), "SELECT MAX(Id_Area) FROM AREE WHERE AREA = " + sqlText(name) +
                                                      " AND ID_PARENT = " + std::to_string(areaId_));
    if (id != 0) subAreaMade(source, id);
    return id;
}

std::string AreaJournal::subFolder(long source) const {
    const auto f = fieldsOf("subcartella", std::to_string(source));
    return f.size() == 3 ? f[2] : std::string();
}

void AreaJournal::subFolderMade(long source, const std::string& folder) {
    journal_.mark(id_, "subcartella\t" + std::to_string(source) + "\t" + folder);
}

void AreaJournal::subAreaMade(long source, long id) {
    journal_.mark(id_, "sub\t" + std::to_string(source) + "\t" + std::to_string(id));
}

void AreaJournal::areaMade(long id) {
    areaId_ = id;
    journal_.mark(id_, "area\t" + std::to_string(id));
}

void AreaJournal::copyBegun(const CopyRow& c, const std::string& company) {
    journal_.mark(id_, "inizio\t" + c.Tabella + "\t" + c.Seriale + "\t" + c.Cartella + "\t" +
                           (company.empty() ? company_ : company));
}

void AreaJournal::copyEnded(const std::string& tabella) { journal_.mark(id_, "copia\t" + tabella); }

std::vector<std::string> AreaJournal::fieldsOf(const std::string& kind, const std::string& tabella) const {
    std::vector<std::string> found;
    for (const auto& step : taken_)
        if (auto f = split(step); f.size() >= 2 && f[0] == kind && f[1] == tabella) found = f;
    return found;
}

bool AreaJournal::copied(const std::string& tabella) const { return !fieldsOf("copia", tabella).empty(); }

bool AreaJournal::undoBegun(const std::string& tabella, Session& session, CreaCopy& core) {
    const auto begun = fieldsOf("inizio", tabella);
    if (begun.size() < 4 || copied(tabella)) return true;
    if (!removeHalfMadeCopy(session, db_, core, begun[2], begun.size() > 4 ? begun[4] : company_, begun[3]))
        return false;
    journal_.mark(id_, "annullata\t" + tabella);
    return true;
}

void AreaJournal::finish() { journal_.finish(id_); }

std::vector<std::string> AreaJournal::halfMade() const {
    std::vector<std::string> out;
    for (const auto& step : taken_)
        if (const auto f = split(step); f.size() >= 2 && f[0] == "inizio" && !copied(f[1]) &&
                                        std::find(out.begin(), out.end(), f[1]) == out.end())
            out.push_back(f[1]);
    return out;
}

}  // namespace zq
