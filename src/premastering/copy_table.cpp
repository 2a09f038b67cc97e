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

bool CopyTable::guard(const std::function<void()>& statement) {
    return runGuarded(dialogs_, module_, "CopyTable", "", statement);
}

CopyTable::Counts CopyTable::run(const std::string& source, const std::string& target, Connection& cnn) {
    Counts counts;
    // Archive serials begin with a digit: the names go in brackets, as the archive's SQL
    // writes such names.
    RecordsetPtr src, dst;
    // A connection opened before the link was made still holds the old table s in its
    // schema: an empty read first brings it up to date, so that the column names the
    // source reports belong to the rows it returns.
    if (!guard([&] { cnn.openRecordset("SELECT * FROM [" + source + "] WHERE 1 = 0", CursorType::ForwardOnly,
                                       LockType::ReadOnly)->close(); }))
        return counts;
    if (!guard([&] { src = cnn.openRecordset("SELECT * FROM [" + source + "]", CursorType::ForwardOnly, LockType::ReadOnly); }))
        return counts;
    // The target's columns only: its rows go in one statement and new ones through a
    // row appender, not through a cursor holding a copy of every row.
    if (!guard([&] { dst = cnn.openRecordset("SELECT * FROM [" + target + "] WHERE 1 = 0", CursorType::ForwardOnly,
                                             LockType::ReadOnly); }))
        return counts;

    // The set-aside table may hold a column the TARV table lacks (a field the link step
    // left out): matching by name keeps every value in its own column. A TARV column
    // with no local field would lose its values in every row, so the archive stops
    // here, before a row is removed.
    std::vector<int> targetIndex;
    if (!guard([&] { targetIndex = matchColumns(*src, *dst, source, target); })) {
        counts.stopped = true;
        return counts;
    }

    // One transaction: an interrupted copy leaves the target as it was, and the file is
    // written once instead of once per row.
    struct Rollback {
        Connection& cnn;
        bool open = false;
        ~Rollback() {
            if (open) try { cnn.rollbackTrans(); } catch (...) {}
        }
    } tx{cnn};
    tx.open = guard([&] { cnn.beginTrans(); });

    guard([&] { counts.deleted = std::max(0L, cnn.execute("DELETE FROM [" + target + "]")); });

    // A Null source value is handed on as Null, which the appender leaves to the target
    // column's default.
    std::vector<int> copiedFields;
    std::vector<std::string> targetColumns;
    for (int f = 0; f < src->fieldCount(); ++f) {
        const int t = targetIndex[static_cast<std::size_t>(f)];
        if (t < 0) continue;
        copiedFields.push_back(f);
        targetColumns.push_back(dst->fieldName(t));
    }
    RowAppenderPtr appender;
    if (!guard([&] { appender = cnn.openRowAppender(target, targetColumns); })) return counts;

    std::vector<Value> row(copiedFields.size());
    while (!src->eof()) {
        const bool added = guard([&] {
            for (std::size_t k = 0; k < copiedFields.size(); ++k) row[k] = src->field(copiedFields[k]);
            appender->add(row);
        });
        if (added) ++counts.copied;
        if (!guard([&] { src->moveNext(); })) break;
    }
    appender.reset();

    if (tx.open && guard([&] { cnn.commitTrans(); })) tx.open = false;
    guard([&] { src->close(); });
    guard([&] { dst->close(); });
    return counts;
}

}  // namespace zq
