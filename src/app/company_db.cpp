#include "app/company_db.h"

#include "common/error.h"

namespace zq {

Connection& CompanyDb::connection() const {
    if (!cnn || cnn->state() == 0)
        throw Error(kErrProviderFailure, "database della ditta " + code + " non connesso", "garInizio");
    return *cnn;
}

}  // namespace zq
