#pragma once
// The journal of one area duplication. The run writes, in order: the entry (new area's
// name, parent area and folder, the highest Id_Area before it), "area" with the new
// AREE row, and per source archive "inizio" (the copy's serial and folder, before
// anything of it is made) and "copia" once CreaCopy has returned.
//
// A run killed half-way leaves the entry unfinished. Its rerun with the same name and
// parent takes the entry up: the same AREE row, the copies already made kept, and the
// one copy that was being made when the run died removed (its table, set-aside table,
// DB_ELENCO row, TARV table, registry row and identity file) and made again.

#include "app/session.h"
#include "dataaccess/archive_db.h"
#include "duplication/copy_row.h"
#include "duplication/crea_copy.h"
#include "journal/journal.h"

#include <string>
#include <vector>

namespace zq {

struct AreaCopyRequest;

class AreaJournal {
public:
    static constexpr const char* kOperation = "duplicate-area";
    /// The year duplication keeps the same kind of entry, with its child areas as "sub" steps.
    static constexpr const char* kYearOperation = "duplicate-year";

    /// Takes up the unfinished entry of this same request, or begins a new one.
    AreaJournal(ArchiveDatabase& db, const AreaCopyRequest& request, const std::string& who);
    /// The same for any operation making area `name` under `parent` (folder `folder`).
    AreaJournal(ArchiveDatabase& db, const std::string& operation, const std::string& name, long parent,
                const std::string& folder, const std::string& company, const std::string& who);

    /// The new area's folder, as a run taken up made it; "" when none was made yet.
    std::string areaFolder() const;
    void areaFolderMade(const std::string& folder);
    /// The AREE row of the run taken up; 0 when none was made yet.
    long areaId() const { return areaId_; }
    void areaMade(long id);
    /// The child area made (or found made) for source area `source` under the new area;
    /// 0 when there is none yet.
    long subArea(long source, const std::string& name);
    void subAreaMade(long source, long id);
    /// The folder made for the child area of source area `source`; "" when none yet.
    std::string subFolder(long source) const;
    void subFolderMade(long source, const std::string& folder);
    /// Before CreaCopy makes anything of the copy of `c.Tabella` (linked in `company`,
    /// when not the entry's own).
    void copyBegun(const CopyRow& c, const std::string& company = {});
    /// CreaCopy has returned for `tabella`.
    void copyEnded(const std::string& tabella);
    /// Did a run taken up finish the copy of `tabella` already?
    bool copied(const std::string& tabella) const;
    /// Removes the copy of `tabella` a killed run left half-made; false when something
    /// could not be removed (the error report was answered Ignore).
    bool undoBegun(const std::string& tabella, Session& session, CreaCopy& core);
    void finish();
    /// The source archives whose copy a run taken up left half-made.
    std::vector<std::string> halfMade() const;

private:
    std::vector<std::string> fieldsOf(const std::string& kind, const std::string& tabella) const;

    ArchiveDatabase& db_;
    Journal journal_;
    long id_ = 0;
    long areaId_ = 0;
    std::string company_;             // the company the copies are linked in
    std::vector<std::string> taken_;  // the steps of the run taken up
};

}  // namespace zq
