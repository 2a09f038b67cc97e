#pragma once
// The run of the link form's "&Collega": the checks on the picked company and year and
// on the ticked entries, one confirmation and one CollTable per ticked entry, and the
// closing message. The caller reloads its list afterwards when the run was not stopped
// by a check.

#include "app/session.h"
#include "dataaccess/archive_db.h"
#include "linking/index_namer.h"
#include "linking/link_entries.h"
#include "lookups/lookups.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zq {

/// Opens the archive database for table-definition work (ArchiveDatabase::open by default).
using ArchiveOpener = std::function<std::unique_ptr<ArchiveDatabase>(const std::string& path)>;

/// Opens a run's own connection to a company's database (Session::OpenDitt by default).
using CompanyOpener = std::function<CompanyDb(const std::string& code)>;

/// What the link form hands over: the pickers' selections and ArAttiva.
struct LinkRequest {
    int companyIndex = -1;       ///< ListIndex of the company picker
    std::string companyCode;     ///< Codice of aDitte(companyIndex)
    int yearIndex = -1;          ///< ListIndex of the year picker
    std::string yearText;        ///< its selected item
    bool arAttiva = false;       ///< the company may link archives in that year
};

/// How a run ended, and what it did.
struct LinkRunResult {
    bool completed = false;      ///< reached the closing message (the list is reloaded)
    int asked = 0;               ///< confirmations asked
    int linked = 0, refused = 0, stopped = 0;
};

class LinkRun {
public:
    /// Works on the session's CnnTarv and on a connection of its own to the request's
    /// company, opened before the first archive and closed at the end of the run.
    LinkRun(Session& session, const std::vector<Lookups::TipoDoc>& aDocs, ArchiveOpener opener = {},
            IndexNamer::Random random = {}, CompanyOpener companyOpener = {});

    /// False (after its message) when two ticked entries have the same association
    /// type and document-type index.
    static bool CtrlParm(const std::vector<ArchRow>& entries, Dialogs& dialogs);

    /// The run of "&Collega" over `entries` (1-based in the form, 0-based here).
    LinkRunResult cmdColl_Click(const LinkRequest& request, const std::vector<ArchRow>& entries);

    /// The registry values of one entry.
    LinkParams paramsOf(const LinkRequest& request, const ArchRow& e);

    static const char* caption();

private:
    void message(const std::string& text, Icon icon);
    /// Opens the company's database through the error report; false when it stayed closed.
    bool openCompany(const std::string& code, std::optional<CompanyDb>& company);

    Session& session_;
    const std::vector<Lookups::TipoDoc>& aDocs_;
    ArchiveOpener opener_;
    IndexNamer::Random random_;
    CompanyOpener companyOpener_;
};

}  // namespace zq
