#pragma once
// Turns an ODBC failure into the zq::Error the program branches on: number
// kErrProviderFailure (as the original's providers raised), the driver's full
// diagnostic text as description, SQLSTATE and native code of the first record.

#include "common/error.h"

#include <sql.h>

#include <string>
#include <vector>

namespace zq {

/// One diagnostic record of a handle.
struct OdbcDiagnostic {
    std::string sqlState;  ///< five characters
    long native = 0;
    std::string text;
};

/// Every diagnostic record of `handle`, in the driver's order (one SQLGetDiagRec loop).
std::vector<OdbcDiagnostic> odbcDiagnostics(SQLSMALLINT handleType, SQLHANDLE handle);

/// The error for a failed call on `handle`; `source` says what was being done
/// ("ODBC execute", "ODBC connect /vol2/ditt003" ...). Never contains the password.
Error odbcError(SQLSMALLINT handleType, SQLHANDLE handle, const std::string& source);

/// Throws odbcError() unless `rc` is SQL_SUCCESS or SQL_SUCCESS_WITH_INFO.
void checkOdbc(SQLRETURN rc, SQLSMALLINT handleType, SQLHANDLE handle, const std::string& source);

/// True for SQLSTATEs that mean the link to the server is gone (class 08, 57P0x).
bool isConnectionLost(const std::string& sqlState);

}  // namespace zq
