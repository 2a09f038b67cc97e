#include "dataaccess/recordset.h"

#include "common/error.h"

namespace zq {

Value Recordset::field(const std::string& name) const {
    int i = fieldIndex(name);
    if (i < 0)
        throw Error(kErrProviderFailure, "Item cannot be found in the collection: " + name, "zq.recordset");
    return field(i);
}

void Recordset::setField(const std::string& name, const Value& v) {
    int i = fieldIndex(name);
    if (i < 0)
        throw Error(kErrProviderFailure, "Item cannot be found in the collection: " + name, "zq.recordset");
    setField(i, v);
}

}  // namespace zq
