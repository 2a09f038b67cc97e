#pragma once
// The run of the unlink form's "&Scollega": for each ticked and confirmed archive the
// link is deleted and the set-aside table takes the archive's name again; when the
// person asked for it (once per run), the company's TARV table is dropped and the
// registry row deleted too.

#include "app/session.h"
#include "journal/journal.h"
#include "linking/link_entries.h"
#include "linking/link_run.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zq {

struct FreeRunResult {
    bool completed = false;   ///< reached the closing message (the list is reloaded)
    bool delTarv = false;     ///< the answer to kDeleteTarvQuestion
    int asked = 0;            ///< archives answered Yes
    int unlinked = 0, skipped = 0, stopped = 0;
    int partial = 0;          ///< unlinked here, the TARV table or registry row left (the next unlink finishes it)
    int resumed = 0;          ///< interrupted unlinks completed before the run
};

class FreeRun {
public:
    explicit FreeRun(Session& session, ArchiveOpener opener = {});

    /// Asked once per run, before the first archive.
    static constexpr const char* kDeleteTarvQuestion = "Vuoi cancellare le tabelle collegate dal TARV?";

    /// `allCompanies`: the company picker is on "<TUTTE>" (ListIndex below 1). Either
    /// way each TARV table is dropped in the database of its entry's registered company,
    /// on the run's own connection.
    FreeRunResult cmdFree_Click(const std::vector<FreeRow>& entries, bool allCompanies);

    /// Unlinked; Skipped (No to going on without a set-aside table, or s is not a link);
    /// Stopped (Ignore in the error report; the archive file steps are rolled back);
    /// Partial (unlinked in the archive, then Ignore on dropping the TARV table or the
    /// registry row: the journal keeps the entry open for the next unlink run).
    enum class Outcome { Unlinked, Skipped, Stopped, Partial };
    /// Unlinks one archive: the link goes, the set-aside table takes its name back and,
    /// with `delTarv`, the TARV table and the registry row go too.
    Outcome FreeTable(ArchiveDatabase& db, const FreeRow& e, bool delTarv, bool allCompanies);

    static const char* caption();

    /// The journal's name of this operation.
    static constexpr const char* kJournalOperation = "unlink";
    /// Completes every unlink that was interrupted (journal entries not finished): the
    /// link goes if it is still there, then, when that run asked for it, the TARV table
    /// and the registry row. Returns the serials (lower case) it completed.
    std::vector<std::string> resumeInterrupted();

private:
    bool complete(const Journal::Entry& entry);
    bool guard(const std::string& query, const std::function<void()>& statement);
    Answer ask(const std::string& text);

    Session& session_;
    ArchiveOpener opener_;
    std::optional<CompanyDb> company_;  ///< the company whose table was dropped last
};

}  // namespace zq
