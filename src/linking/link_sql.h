#pragma once
// The statements of the link, unlink and registry steps, built as the original builds
// them. Every value from data goes in through sqlText; names are checked by the caller
// (LinkNames) before they get here.

#include "dataaccess/archive_db.h"
#include "linking/link_entries.h"

#include <string>
#include <vector>

namespace zq {

class LinkSql {
public:
    /// The registry rows with the same company, year, association type (and document
    /// type, when not blank).
    static std::string parameterQuery(const LinkParams& p);
    /// The parameter query of the DAV link: the document type is always part of it.
    static std::string davParameterQuery(const std::string& ditt);
    /// The registry row of one archive.
    static std::string registryQuery(const std::string& tarv);
    /// Whether the company database has the table.
    static std::string systablesQuery(const std::string& tarv);
    static std::string sysindexesQuery();

    /// "CREATE INDEX " / "CREATE UNIQUE INDEX " name " ON a" table "(" fields ")".
    static std::string createIndex(bool unique, const std::string& name, const std::string& tableName,
                                   const std::vector<std::string>& fields);
    /// The key of the new link: "ALTER TABLE s ADD CONSTRAINT name PRIMARY KEY (f1,f2)".
    static std::string primaryKey(const std::string& tableName, const IndexDef& index);

    /// The registry update of an archive already registered; the document type is in
    /// the condition for type "M" (always for the DAV link).
    static std::string registryUpdate(const LinkParams& p, const std::string& tarv, const std::string& serverPath,
                                      bool withDocType);
    /// The registry row of a new link, positional.
    static std::string registryInsert(const LinkParams& p, const std::string& tarv, const std::string& serverPath);

    static std::string dropTable(const std::string& tarv);
    static std::string registryDelete(const std::string& tarv);
    /// The list query of the link forms; areaId 0 lists every area.
    static std::string archiveListQuery(long areaId);
    /// The list query of the unlink and pre-mastering forms.
    static std::string freeListQuery();
    static std::string registryListQuery();
};

}  // namespace zq
