#include "premastering/copy_table.h"

#include "common/error.h"
#include "common/gesterr.h"
#include "runtime/text.h"

#include <algorithm>
#include <functional>
#include <vector>

namespace zq {
namespace {

// The Error number DAO raises for an item not in a collection.
constexpr long kErrItemNotFound = 3265;

}  // namespace

CopyTable::CopyTable(Dialogs& dialogs, std::string module) : dialogs_(dialogs), module_(std::move(module)) {}

std::vector<int> CopyTable::matchColumns(const Recordset& src, const Recordset& dst, const std::string& source,
                                         const std::string& target) {
    // The link step names the TARV columns with vbLCase, accented capitals included
    // ("CITTÀ" becomes "città"): the match folds both sides the same way.
    std::vector<int> index;
    for (int f = 0; f < src.fieldCount(); ++f) {
        const std::string name = vbLCase(src.fieldName(f));
        int found = -1;
        for (int g = 0; g < dst.fieldCount() && found < 0; ++g)
            if (vbLCase(dst.fieldName(g)) == name) found = g;
        if (found < 0)
            throw Error(kErrItemNotFound, "il campo " + src.fieldName(f) + " della tabella " + source +
                                              " non ha un campo corrispondente nella tabella " + target +
                                              ": la tabella non è stata toccata",
                        module_);
        index.push_back(found);
    }
    return index;
}

CopyTable::Counts CopyTable::run(const std::string& source, const std::string& target, Connection& cnn) {
    // The copy is all or nothing: rows read before a failure (a server gone away half-way
    // through the read) are rolled back with the emptied target, so Retry starts again
    // from the first row on the target as it was, and Ignore leaves it untouched.
    for (;;) {
        try {
            return copyOnce(source, target, cnn);
        } catch (const AbortProgram&) {
            throw;
        } catch (const std::exception& ex) {
            switch (GestErr(dialogs_, toError(ex), module_, "CopyTable", "")) {
                case 1: continue;
                case 2: return Counts{0, 0, /*stopped=*/true};
                default: throw AbortProgram();
            }
        }
    }
}

CopyTable::Counts CopyTable::copyOnce(const std::string& source, const std::string& target, Connection& cnn) {
    Counts counts;
    // Declared before the recordsets, so that they are closed before the rollback.
    struct Rollback {
        Connection& cnn;
        bool open = false;
        ~Rollback() {
            if (open) try { cnn.rollbackTrans(); } catch (...) {}
        }
    } tx{cnn};

    // Archive serials begin with a digit: the names go in brackets, as the archive's SQL
    // writes such names.
    // A connection opened before the link was made still holds the old table s in its
    // schema: an empty read first brings it up to date, so that the column names the
    // source reports belong to the rows it returns.
    cnn.openRecordset("SELECT * FROM [" + source + "] WHERE 1 = 0", CursorType::ForwardOnly, LockType::ReadOnly)->close();
    RecordsetPtr src = cnn.openRecordset("SELECT * FROM [" + source + "]", CursorType::ForwardOnly, LockType::ReadOnly);
    // The target's columns only: its rows go in one statement and new ones through a
    // row appender, not through a cursor holding a copy of every row.
    RecordsetPtr dst = cnn.openRecordset("SELECT * FROM [" + target + "] WHERE 1 = 0", CursorType::ForwardOnly,
                                         LockType::ReadOnly);

    // The set-aside table may hold a column the TARV table lacks (a field the link step
    // left out): matching by name keeps every value in its own column. A TARV column
    // with no local field would lose its values in every row, so the archive stops
    // here, before a row is removed.
    const std::vector<int> targetIndex = matchColumns(*src, *dst, source, target);

    // One transaction: the file is also written once instead of once per row.
    cnn.beginTrans();
    tx.open = true;
    counts.deleted = std::max(0L, cnn.execute("DELETE FROM [" + target + "]"));

    // A Null source value is handed on as Null, which the appender leaves to the target
    // column's default.
    std::vector<std::string> targetColumns;
    for (int t : targetIndex) targetColumns.push_back(dst->fieldName(t));
    RowAppenderPtr appender = cnn.openRowAppender(target, targetColumns);
    std::vector<Value> row(targetIndex.size());
    for (; !src->eof(); src->moveNext()) {
        for (std::size_t k = 0; k < row.size(); ++k) row[k] = src->field(static_cast<int>(k));
        appender->add(row);
        ++counts.copied;
    }
    appender.reset();
    src->close();
    dst->close();
    cnn.commitTrans();
    tx.open = false;
    return counts;
}

}  // namespace zq
