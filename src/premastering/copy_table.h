#pragma once
// CopyTable: replaces every row of one table with the rows of another, both read
// through one connection (the archive database, where the source is a link and the
// rows come from TARV).

#include "common/dialogs.h"
#include "dataaccess/connection.h"

#include <string>
#include <vector>

namespace zq {

class CopyTable {
public:
    /// How many rows went where.
    struct Counts {
        long deleted = 0;
        long copied = 0;
        bool stopped = false;  ///< the copy was given up (Ignore): nothing was changed
    };

    /// A failure goes through the error report as module `module`, routine "CopyTable",
    /// empty query: Retry copies again from the first row, Ignore leaves the target as it
    /// was (`stopped`), Abort throws AbortProgram.
    CopyTable(Dialogs& dialogs, std::string module);

    /// Empties `target`, then adds one row per row of `source`. Fields are matched by
    /// name, folded as the link step folds them; a target field the source lacks stays
    /// at its default, a source column the target lacks stops the copy before any row is
    /// removed. A Null stays at the target's default. All of it is one transaction on
    /// `cnn`: the target ends with every source row or as it was.
    Counts run(const std::string& source, const std::string& target, Connection& cnn);

private:
    Counts copyOnce(const std::string& source, const std::string& target, Connection& cnn);
    std::vector<int> matchColumns(const Recordset& src, const Recordset& dst, const std::string& source,
                                  const std::string& target);

    Dialogs& dialogs_;
    std::string module_;
};

}  // namespace zq
