// Entry point of libzq_tarvlink.so, the link module for any SQLite client (see
// link_module.h). The library uses the system libsqlite3 that the client itself has
// loaded, so it calls SQLite directly instead of through the routines table.

#include "dataaccess/link_module.h"
#ifdef ZQ_TARVLINK_WITH_ODBC
#include "dataaccess/odbc/odbc_engine.h"
#endif

#include <sqlite3.h>

#include <exception>

extern "C" __attribute__((visibility("default"))) int sqlite3_zqtarvlink_init(sqlite3* db, char** errorMessage,
                                                                              const sqlite3_api_routines*) {
    try {
#ifdef ZQ_TARVLINK_WITH_ODBC
        zq::registerOdbcEngine();  // installations whose engines file says tarv.engine = odbc
#endif
        zq::registerLinkModule(db);
        return SQLITE_OK;
    } catch (const std::exception& e) {
        if (errorMessage) *errorMessage = sqlite3_mprintf("%s", e.what());
        return SQLITE_ERROR;
    }
}
