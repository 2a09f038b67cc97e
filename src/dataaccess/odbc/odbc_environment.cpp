#include "dataaccess/odbc/odbc_environment.h"

#include "dataaccess/odbc/odbc_diagnostics.h"

#include <sqlext.h>

#include <mutex>

namespace zq {

OdbcEnvironment::OdbcEnvironment() {
    SQLHANDLE h = SQL_NULL_HANDLE;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &h)))
        throw Error(kErrProviderFailure, "ODBC: cannot allocate the environment (is unixODBC installed?)",
                    "ODBC environment");
    handle_ = EnvHandle(h);
    checkOdbc(SQLSetEnvAttr(h, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0),
              SQL_HANDLE_ENV, h, "ODBC environment");
}

std::shared_ptr<OdbcEnvironment> OdbcEnvironment::shared() {
    static std::mutex m;
    static std::shared_ptr<OdbcEnvironment> env;
    std::lock_guard lock(m);
    if (!env) env.reset(new OdbcEnvironment());
    return env;
}

}  // namespace zq
