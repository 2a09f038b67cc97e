#pragma once
// The list loaders (LeggList) of the link, DAV-link, unlink and pre-mastering forms, as
// functions returning the entries in list order.

#include "app/session.h"
#include "linking/archive_model.h"
#include "linking/link_entries.h"
#include "lookups/lookups.h"
#include "runtime/text.h"

#include <string>
#include <vector>

namespace zq {

/// The filters of the unlink and pre-mastering lists.
struct FreeFilter {
    std::string companyCode;  ///< empty: every company (picker on "<TUTTE>" or nothing)
    int year = 0;             ///< 0: every year
};

class LinkList {
public:
    /// The link forms' list: every archive of the area (areaId 0: all areas) with its
    /// description, serial and documents folder all present. Rebuilds `model`'s
    /// linked-table list first. Reads through the session's CnnArch.
    static std::vector<ArchRow> archives(Session& session, ArchiveModel& model, long areaId);

    /// The unlink list: every archive that is a link and has a registry row, filtered.
    /// Closes CnnArch while it reads the archive database and reopens it afterwards.
    static std::vector<FreeRow> linked(Session& session, ArchiveModel& model, const FreeFilter& filter,
                                       const std::vector<Lookups::TipoDoc>& aDocs);
    /// The pre-mastering list: the same entries, with the registry read before the
    /// linked-table list.
    static std::vector<FreeRow> premastering(Session& session, ArchiveModel& model, const FreeFilter& filter,
                                             const std::vector<Lookups::TipoDoc>& aDocs);

    /// Index of the entry with this serial (any case), -1 when absent.
    template <class Row>
    static int find(const std::vector<Row>& rows, const std::string& serial);
};

template <class Row>
int LinkList::find(const std::vector<Row>& rows, const std::string& serial) {
    const std::string s = vbLCase(vbTrim(serial));
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i].serial == s) return static_cast<int>(i);
    return -1;
}

}  // namespace zq
