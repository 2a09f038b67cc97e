#include "dataaccess/odbc/odbc_diagnostics.h"

#include "dataaccess/odbc/odbc_text.h"

#include <sqlext.h>
#include <sqlucode.h>

#include <algorithm>
#include <vector>

namespace zq {

std::vector<OdbcDiagnostic> odbcDiagnostics(SQLSMALLINT handleType, SQLHANDLE handle) {
    std::vector<OdbcDiagnostic> out;
    if (handle == SQL_NULL_HANDLE) return out;
    for (SQLSMALLINT rec = 1;; ++rec) {
        SQLWCHAR state[6] = {};
        SQLINTEGER native = 0;
        SQLSMALLINT len = 0;
        // Ask for the length first: driver messages can be long (psqlODBC appends the
        // server's DETAIL and HINT lines).
        SQLRETURN rc = SQLGetDiagRecW(handleType, handle, rec, state, &native, nullptr, 0, &len);
        if (rc == SQL_NO_DATA || !SQL_SUCCEEDED(rc)) break;
        std::vector<SQLWCHAR> text(static_cast<std::size_t>(len) + 1);
        rc = SQLGetDiagRecW(handleType, handle, rec, state, &native, text.data(),
                            static_cast<SQLSMALLINT>(text.size()), &len);
        if (!SQL_SUCCEEDED(rc)) break;
        OdbcDiagnostic d;
        d.sqlState = fromOdbcText(state, 5);
        d.native = native;
        d.text = fromOdbcText(text.data(), std::min<std::size_t>(len, text.size() - 1));
        out.push_back(std::move(d));
    }
    return out;
}

Error odbcError(SQLSMALLINT handleType, SQLHANDLE handle, const std::string& source) {
    const auto diags = odbcDiagnostics(handleType, handle);
    std::string description;
    for (const auto& d : diags) {
        if (!description.empty()) description += '\n';
        description += d.text;
    }
    if (description.empty()) description = "ODBC call failed without a diagnostic record";
    std::string state = diags.empty() ? std::string("HY000") : diags.front().sqlState;
    long native = diags.empty() ? 0 : diags.front().native;
    Error e(kErrProviderFailure, description, source, native);
    e.withDriverState(state, native);
    return e;
}

void checkOdbc(SQLRETURN rc, SQLSMALLINT handleType, SQLHANDLE handle, const std::string& source) {
    if (SQL_SUCCEEDED(rc)) return;
    throw odbcError(handleType, handle, source);
}

bool isConnectionLost(const std::string& s) {
    return s.rfind("08", 0) == 0 || s == "57P01" || s == "57P02" || s == "57P03";
}

}  // namespace zq
