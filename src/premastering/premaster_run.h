#pragma once
// The run of the pre-mastering form's "&Masterizza": for each ticked and confirmed
// linked archive the TARV rows are copied into the set-aside local table, the link is
// renamed s + "_COL" and the local table takes the archive's name again. The TARV table
// and the registry row stay as they are.

#include "app/session.h"
#include "linking/link_entries.h"
#include "linking/link_run.h"

#include <functional>
#include <string>
#include <vector>

namespace zq {

struct PremasterRunResult {
    bool completed = false;  ///< reached the closing message (the list is reloaded)
    int asked = 0;           ///< archives answered Yes
    int premastered = 0, skipped = 0, stopped = 0;
    long rowsCopied = 0;
};

class PremasterRun {
public:
    explicit PremasterRun(Session& session, ArchiveOpener opener = {});

    PremasterRunResult cmdMast_Click(const std::vector<FreeRow>& entries);

    enum class Outcome { Premastered, Skipped, Stopped };
    /// Pre-masters archive `serial` (lower case) on the open archive database; the rows
    /// are copied through the session's CnnArch.
    Outcome Elabora(ArchiveDatabase& db, const std::string& serial, long* rowsCopied = nullptr);

    static const char* caption();

private:
    bool guard(const std::function<void()>& statement);

    Session& session_;
    ArchiveOpener opener_;
};

}  // namespace zq
