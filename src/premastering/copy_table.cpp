#include "premastering/copy_table.h"

#include "common/error.h"
#include "common/gesterr.h"
#include "runtime/text.h"

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
    if (!guard([&] { dst = cnn.openRecordset("SELECT * FROM [" + target + "]", CursorType::Static, LockType::Optimistic); }))
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

    const long before = dst->recordCount();
    for (long i = 0; i < before && !dst->eof(); ++i) {
        if (guard([&] { dst->deleteCurrent(); })) ++counts.deleted;
        // Deleting the last row already leaves the recordset at its end.
        if (!dst->eof()) guard([&] { dst->moveNext(); });
    }

    while (!src->eof()) {
        const bool added = guard([&] {
            dst->addNew();
            for (int f = 0; f < src->fieldCount(); ++f) {
                const Value v = src->field(f);
                if (!v.isNull()) dst->setField(targetIndex[static_cast<std::size_t>(f)], v);
            }
            dst->update();
        });
        if (added) ++counts.copied;
        if (!guard([&] { src->moveNext(); })) break;
    }

    if (tx.open && guard([&] { cnn.commitTrans(); })) tx.open = false;
    guard([&] { src->close(); });
    guard([&] { dst->close(); });
    return counts;
}

}  // namespace zq
