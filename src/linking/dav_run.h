#pragma once
// The run of the DAV link form's "&Collega": one chosen archive becomes the company's
// DAV table, registered with "M", document type "Z" and year 9999.

#include "app/session.h"
#include "linking/index_namer.h"
#include "linking/link_entries.h"
#include "linking/link_run.h"

#include <string>
#include <vector>

namespace zq {

/// What the DAV form hands over.
struct DavRequest {
    int companyIndex = -1;      ///< ListIndex of the company picker
    std::string companyCode;    ///< Codice of aDitte(companyIndex)
    bool arAttiva = false;
};

struct DavRunResult {
    bool asked = false;       ///< the confirmation was shown (the list is reloaded after it)
    bool linked = false;
};

class DavRun {
public:
    explicit DavRun(Session& session, ArchiveOpener opener = {}, IndexNamer::Random random = {});

    /// The run of "&Collega" for entry `chosen` (0-based; -1 when none is chosen).
    DavRunResult cmdColl_Click(const DavRequest& request, const std::vector<ArchRow>& entries, int chosen);

    /// The DAV link of one archive: CollTable with the fixed registry values.
    bool CollDav(ArchiveDatabase& db, const DavRequest& request, const ArchRow& e);

    static const char* caption();

private:
    void message(const std::string& text, Icon icon);

    Session& session_;
    ArchiveOpener opener_;
    IndexNamer::Random random_;
};

}  // namespace zq
