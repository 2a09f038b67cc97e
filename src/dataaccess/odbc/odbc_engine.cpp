#include "dataaccess/odbc/odbc_engine.h"

#include "dataaccess/odbc/odbc_connect_string.h"
#include "dataaccess/odbc/odbc_connection.h"

namespace zq {

ConnectionPtr openOdbcConnection(const TarvTarget& target, const std::string& programString,
                                 const EngineSettings& settings) {
    return std::make_unique<OdbcConnection>(odbcConnectionString(target, settings), programString,
                                            odbcDatabaseName(target, settings));
}

void registerOdbcEngine() {
    registerTarvEngine("odbc", [](const TarvTarget& t, const std::string& s, const EngineSettings& e) {
        return openOdbcConnection(t, s, e);
    });
}

}  // namespace zq
