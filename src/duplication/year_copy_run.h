#pragma once
// The run of the year duplication form's "&Duplica": a new year area under a chosen
// parent, one new area per child area of the source year area, and in each an empty
// copy of every archive of the source area (CreaArch). Archives linked as "A" (year
// independent), or linked without a registry row, are left out; yearly linked archives
// are linked again for the new year when the person asks for it.
//
// The form has no company picker: each linked copy belongs to the company of its
// source's registry row, and the regditta check and the TARV table use that company's
// database, on the run's own connection: the session's CnnDitt is left as it was.

#include "app/session.h"
#include "common/progress.h"
#include "duplication/area_journal.h"
#include "duplication/archive_serial.h"
#include "duplication/copy_row.h"
#include "duplication/crea_copy.h"
#include "linking/archive_model.h"
#include "linking/link_run.h"
#include "lookups/picker.h"

#include <optional>
#include <string>
#include <vector>

namespace zq {

/// What the year duplication form hands over.
struct YearCopyRequest {
    Picker childAreas;         ///< cmbFlds(0): the child areas of the source year area (ItemData = Id_Area)
    std::string newYearName;   ///< txtFlds(0)
    std::string parentFolder;  ///< txtFlds(1)
    long parentAreaId = 0;     ///< ItemData of the PARENT picker; 0 when none is chosen
    std::string yearText;      ///< cmbFlds(1): the TARV year of the new archives
};

struct YearCopyResult {
    bool enableButton = false;  ///< a check stopped the run before anything changed
    bool completed = false;     ///< reached "Duplicazione ANNO terminata."
    bool linkTarv = false;
    long yearAreaId = 0;
    std::string yearFolder;     ///< ending in a separator
    int areas = 0, copied = 0, linked = 0, leftOut = 0, skipped = 0, stopped = 0;
};

class YearCopyRun {
public:
    YearCopyRun(Session& session, Progress& progress, ArchiveSerial::Random random = {}, CreaCopy::Clock clock = {},
                ArchiveOpener opener = {});

    /// "Duplicazione ANNUALITA'".
    static const char* caption();
    /// The year as the run needs it: a whole number of one to four digits, blanks
    /// around allowed; nothing otherwise.
    static std::optional<int> wholeYear(const std::string& text);
    /// Fills `childAreas` with the areas whose parent is `sourceYearAreaId`.
    static void childAreasOf(Session& session, long sourceYearAreaId, Picker& childAreas);

    YearCopyResult cmdCopy_Click(const YearCopyRequest& request);

private:
    bool checks(const YearCopyRequest& request, YearCopyResult& result);
    /// Writes one AREE row and returns its Id_Area.
    long addArea(const std::string& name, long parent);
    void CreaArea(const Picker& areas, int i, YearCopyResult& result);
    CreaCopy::Outcome CreaArch(CopyRow& e, bool& leftOut);
    bool useCompany(const std::string& ditt);
    bool companyMayLink();
    void message(const std::string& text, Icon icon);

    Session& session_;
    Progress& progress_;
    ArchiveSerial::Random random_;
    CreaCopy::Clock clock_;
    ArchiveOpener opener_;

    // State of one run.
    int year_ = 0;
    bool linkTarv_ = false;
    std::string yearFolder_, areaFolder_;
    long yearAreaId_ = 0, areaId_ = 0;
    std::unique_ptr<ArchiveDatabase> db_;
    RecordsetPtr elenco_;
    std::optional<CreaCopy> core_;
    ArchiveModel model_;
    std::optional<AreaJournal> journal_;  // the run's journal entry, while it runs
};

}  // namespace zq
