#pragma once
// The run of the grouping form's "&Raggruppa": the records and documents of every
// archive of the ticked areas of one company copied into the company's grouping archive
// (found in the grouping area by the company's tax code, or made by CreaGrup and linked
// to TARV as "M"/"Z"/9999). Each record gets the new record number its grouping table
// gives it; its file is copied as that number with eight digits and the source's
// extension into the grouping archive's record subfolder. A new grouping table has the
// model archive's fields and, after them, the fields of the run's other archives that
// the model lacks; an archive with a field the grouping table lacks is refused whole.
//
// An archive is grouped whole or not at all: when a run stops in the middle of an
// archive (a folder that cannot be made, Ignore or Abort in the error report), the
// records and files it had copied of that archive are removed again, so a later run
// groups that archive whole, while the archives grouped before it are refused by the
// year and document-type check and never doubled. A run that is killed cannot remove
// anything itself: the journal entry it wrote before the archive's first record stays
// unfinished, and the next run removes that archive's part before grouping it whole.

#include "app/session.h"
#include "journal/journal.h"
#include "common/progress.h"
#include "duplication/archive_serial.h"
#include "duplication/copy_row.h"
#include "duplication/crea_copy.h"
#include "linking/archive_model.h"
#include "linking/link_run.h"
#include "lookups/lookups.h"

#include <string>
#include <vector>

namespace zq {

/// What the grouping form hands over. The run opens the company's database itself.
struct GroupRequest {
    int companyIndex = -1;   ///< the company picker's ListIndex
    Lookups::Ditta company;  ///< Codice, RagSoc, CodFisc of aDitte(companyIndex)
    bool arAttiva = false;   ///< set by CambDitt from the company's own year
};

struct GroupResult {
    bool completed = false;     ///< reached "Raggruppamento AREE terminata."
    bool created = false;       ///< CreaGrup made the grouping archive
    std::string table;          ///< g: the grouping table (lower case)
    std::string folder;         ///< the grouping archive's documents folder
    int archives = 0;           ///< archives grouped whole
    int refused = 0;            ///< archives refused (already grouped, no registry row)
    long records = 0;           ///< records copied (and kept)
    long files = 0;             ///< document files copied
    int fileErrors = 0;         ///< files that could not be copied
    bool folderFailure = false; ///< the run ended at a record folder that could not be made
};

class GroupRun {
public:
    GroupRun(Session& session, Progress& progress, ArchiveSerial::Random random = {}, CreaCopy::Clock clock = {},
             ArchiveOpener opener = {});

    /// "Duplicazione AREE" (the grouping form's caption).
    static const char* caption();
    /// The list: every area, by name, none ticked.
    static std::vector<GrupRow> LeggList(Session& session);

    /// The run over the ticked `entries`.
    GroupResult cmdGrup_Click(const GroupRequest& request, const std::vector<GrupRow>& entries);

    /// The name of a grouped record's file: Format(m, "00000000") & Right(Trim(src), 4).
    static std::string groupedFileName(long m, const std::string& src);
    /// The journal's name of this operation: one entry per source archive being grouped.
    static constexpr const char* kJournalOperation = "group";
    /// The journal's name of the making of a grouping archive (CreaGrup).
    static constexpr const char* kCreateOperation = "group-create";
    /// Removes what the interrupted grouping `entry` copied (the records of its year and
    /// document type in its grouping table, and their files under `folder`, the grouping
    /// archive's documents folder) and closes the entry. False when a step was ignored.
    static bool removeGrouped(Session& session, const Journal::Entry& entry, const std::string& folder);

private:
    struct Archive {
        std::string t, docs;
        int year = 0;
        long doctype = 0;
    };

    bool checks(const GroupRequest& request, const std::vector<GrupRow>& entries, std::vector<std::string>& models);
    bool findOrCreate(const GroupRequest& request, const std::vector<std::string>& models, GroupResult& result);
    bool CreaGrup(const GroupRequest& request, const std::vector<std::string>& models, GroupResult& result);
    TableDef groupingShape(ArchiveDatabase& db, const TableDef& model, const std::vector<std::string>& models);
    /// False when the run must end (folder failure, Abort).
    bool groupArchive(const Archive& a, GroupResult& result);
    bool groupRecord(const Archive& a, const Recordset& rs, std::vector<std::string>& copied, long& kept,
                     GroupResult& result, bool& endRun);
    void undo(const Archive& a, const std::vector<std::string>& copied);
    /// Removes what an interrupted run copied of `a` (its records and their files);
    /// false when that could not be done, and `a` must wait for another run.
    bool removePartial(const Archive& a);
    /// Removes a grouping archive a killed run left half-made.
    bool removeHalfMadeGrouping();
    long newestRecord();
    bool guard(const std::string& query, const std::function<void()>& statement);
    void message(const std::string& text, Icon icon);

    Session& session_;
    Progress& progress_;
    ArchiveSerial::Random random_;
    CreaCopy::Clock clock_;
    ArchiveOpener opener_;
    ArchiveModel model_;
    std::string g_, folder_;
    long top_ = 0;  // the highest record number of g seen so far
};

}  // namespace zq
