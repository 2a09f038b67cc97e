#pragma once
// The shared model of archives and links: the linked-table list (aLinkTab) with its
// loader and its search, the server form of a documents folder, the documents folder of
// one record, the link connect string, and the state an archive table is in.
//
// An archive with serial s is, in the archive database, a local table s (local), a link
// s whose source is "a" + s with the local table set aside as s + "_sav" (linked), or a
// local table s beside the link s + "_COL" (pre-mastering).

#include "app/session.h"
#include "dataaccess/archive_db.h"

#include <string>
#include <vector>

namespace zq {

/// The states of an archive table, as the archive database shows them.
enum class ArchiveState { Local, Linked, Premastering, Missing };

class ArchiveModel {
public:
    /// Lower-cased names of every link of the archive database, sorted ascending by
    /// character code; aLinkTab[0] is the original's aLinkTab(1).
    std::vector<std::string> aLinkTab;
    /// Number of entries (0 = empty), as the original's nLinkTab.
    int nLinkTab() const { return static_cast<int>(aLinkTab.size()); }

    /// Rebuilds the list from the archive database at `pathArch` (opened and closed here).
    void LeggLink(const std::string& pathArch);
    /// Rebuilds the list from a database already open for table-definition work.
    void LeggLink(ArchiveDatabase& db);

    /// True when `name` is in the list: exact, case-sensitive, by bisection.
    bool CercLink(const std::string& name) const;

    /// The server form of a documents folder (ar_dbelenco.sys_path_docs): the first
    /// record subfolder, RootOld changed to RootNew, backslashes converted or doubled.
    static std::string PathServ(const std::string& path, const Config& cfg);

    /// The folder of the documents of record `record`: one subfolder per 500 records,
    /// named with eight digits, with the separator `path` already uses.
    static std::string PathDocs(const std::string& path, long record);

    /// The Connect text of a link to the company database `dbDitt`.
    static std::string linkConnectString(const Config& cfg, const std::string& dbDitt);

    /// The state of archive `serial` among the table definitions `defs` (names compared
    /// without regard to case; a table that is neither local nor a link is Missing).
    static ArchiveState classify(const std::string& serial, const std::vector<TableDef>& defs);

    /// "local", "linked", "premastering" or "missing".
    static const char* stateName(ArchiveState s);
};

}  // namespace zq
