#include "app/closed_recordset.h"

#include "common/error.h"
#include "common/product.h"

namespace zq {

void ClosedRecordset::fail() const {
    // 3704: the original's "operation not allowed when the object is closed".
    throw Error(3704, "Operazione non consentita se l'oggetto è chiuso (" + sql_ + ")", kProductName);
}

}  // namespace zq
