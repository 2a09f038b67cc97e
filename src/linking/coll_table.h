#pragma once
// CollTable: links one archive table to the company database. The archive's table is
// created in the company database with mapped column types and its indexes (unless it
// is there already), the local table is set aside as s + "_sav", a link named s takes
// its place, and the registry row in ar_dbelenco is inserted or updated.
//
// The same steps serve the DAV link (CollDav), which differs only in its fixed registry
// values (given by the caller), its parameter query and its index names.
//
// A failing statement or data-access call goes through the error report with the
// form's name as module: Retry repeats it, Ignore ends this archive's steps (the archive
// steps that belong together are rolled back), Abort throws AbortProgram. Running the
// link again completes an interrupted one.

#include "app/session.h"
#include "dataaccess/archive_db.h"
#include "journal/journal.h"
#include "linking/index_namer.h"
#include "linking/link_entries.h"

#include <functional>
#include <optional>
#include <set>
#include <string>

namespace zq {

class CollTable {
public:
    enum class Variant { Coll, Dav };
    /// Linked: every step ran. Refused: a check stopped it with its message, nothing
    /// changed. Stopped: Ignore in the error report ended its steps.
    enum class Outcome { Linked, Refused, Stopped };

    /// `db` is the archive database the run opened; `namer` lives for the whole run;
    /// `company` is the run's own connection to the database of the company the
    /// registry row names (Session::OpenDitt): the TARV table and the link go there.
    CollTable(Session& session, ArchiveDatabase& db, IndexNamer& namer, Variant variant, const CompanyDb& company);

    /// Links the archive of entry `e` with the registry values `p`.
    Outcome run(const ArchRow& e, const LinkParams& p);

    /// The link of a table that a duplication has just made (`serial`, local, empty):
    /// the caller made the registry checks, so the TARV table is always created, the
    /// link made and a new registry row inserted with `serverPath`. Errors are reported
    /// under `module` and `routine`, the duplication's own names.
    Outcome runCopy(const std::string& serial, const LinkParams& p, const std::string& serverPath,
                    const std::string& module, const std::string& routine);

    /// The journal operation of a TARV table being made: begun before its CREATE TABLE,
    /// a step per index made, finished with the last index. A rerun that finds the table
    /// with this entry open completes it instead of taking it for someone else's.
    static constexpr const char* kTableOperation = "link-table";

    /// "Collegamento tabelle al database TARV" or "Collegamento tabelle DAV".
    static const char* caption(Variant v);
    /// "frmColl" or "frmCDAV".
    static const char* module(Variant v);

private:
    bool guard(const std::string& query, const std::function<void()>& statement);
    void warn(const std::string& text);
    void inform(const std::string& text);

    void requireCompany(const LinkParams& p) const;
    bool refusedByParameters(const LinkParams& p, bool& stopped);
    bool refusedByRegistry(const LinkParams& p, bool& stopped);
    bool refusedByPremastering(bool& stopped);
    bool refusedByNames(const TableDef& td);
    bool locateTable(std::optional<TableDef>& td);
    bool tarvTableExists(bool& exists);
    bool createTarvTable(const TableDef& td, std::set<std::string>& columns);
    bool makeTarvTable(const TableDef& td, const std::optional<Journal::Entry>& begun);
    std::set<std::string> serverColumns(const TableDef& td) const;
    /// `journal` (may be null) gets a step per index made; indexes among `done` are skipped.
    bool createIndexes(const TableDef& td, const std::set<std::string>& columns, Journal* journal = nullptr,
                       long id = 0, const std::vector<std::string>& done = {});
    bool makeLink(const TableDef& td);
    bool writeRegistry(const ArchRow& e, const LinkParams& p);

    Session& session_;
    ArchiveDatabase& db_;
    IndexNamer& namer_;
    Variant variant_;
    const CompanyDb& company_;
    std::string s_, sav_, col_, tarv_;
    std::string reportModule_, reportRoutine_;  // set by runCopy: whose error report it is
};

}  // namespace zq
