#pragma once
// The run of the area duplication form's "&Duplica": checks on the new area's name and
// folder, the link question, the new area's folder and AREE row, and CreaCopy for every
// ticked archive. The form (or zelq) supplies the picked values and the entries.

#include "app/session.h"
#include "duplication/archive_serial.h"
#include "duplication/copy_row.h"
#include "duplication/crea_copy.h"
#include "linking/archive_model.h"
#include "linking/link_run.h"

#include <string>
#include <vector>

namespace zq {

/// What the area duplication form hands over.
struct AreaCopyRequest {
    std::string newAreaName;   ///< txtFlds(0), as entered
    std::string parentFolder;  ///< txtFlds(1): the folder under which the area's folder is made
    long parentAreaId = 0;     ///< ItemData of the PARENT picker; 0 when none is chosen
    int companyIndex = -1;     ///< company picker; the run opens that company's database itself
    std::string companyCode;   ///< Codice of the chosen company
    int yearIndex = -1;        ///< year picker
    std::string yearText;      ///< its selected item
    bool arAttiva = false;     ///< the company may link archives in that year
};

struct AreaCopyResult {
    bool enableButton = false;  ///< a check stopped the run before anything changed
    bool completed = false;     ///< reached "Duplicazione AREA terminata."
    bool linkTarv = false;      ///< the answer to the link question
    long newAreaId = 0;         ///< Id_Area of the new AREE row (0 when none was written)
    std::string areaFolder;     ///< the new area's folder, ending in a separator
    int copied = 0, linked = 0, skipped = 0, stopped = 0;
};

class AreaCopyRun {
public:
    AreaCopyRun(Session& session, ArchiveSerial::Random random = {}, CreaCopy::Clock clock = {},
                ArchiveOpener opener = {});

    /// "Duplicazione AREE": the title of every message of the form.
    static const char* caption();
    /// The list of the source area: its archives with both name and serial, by name,
    /// each ticked, Collegata from the linked-table list (rebuilt first).
    static std::vector<CopyRow> LeggList(Session& session, ArchiveModel& model, long areaId);
    /// The list query.
    static std::string listQuery(long areaId);

    /// The run over `entries`; Seriale, Cartella, TipoAss … of the copies are filled in.
    AreaCopyResult cmdCopy_Click(const AreaCopyRequest& request, std::vector<CopyRow>& entries);

private:
    bool checks(const AreaCopyRequest& request, const std::vector<CopyRow>& entries, AreaCopyResult& result);
    void message(const std::string& text, Icon icon);

    Session& session_;
    ArchiveSerial::Random random_;
    CreaCopy::Clock clock_;
    ArchiveOpener opener_;
};

}  // namespace zq
