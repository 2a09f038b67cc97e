#pragma once
// The administrative login to a PostgreSQL server on which "zelq demo DIR --server odbc"
// builds the demo installation's TARV databases.

#include <string>

namespace zq {

/// Where the server listens, who may create roles and databases on it, and the
/// psqlODBC driver that reaches it.
struct DemoServerLogin {
    std::string host = "localhost";
    std::string port = "5432";
    std::string adminUser = "postgres";  ///< a superuser: the fixture installs an event trigger
    std::string adminPassword;
    std::string driver = "PostgreSQL Unicode";  ///< as named in odbcinst.ini
};

}  // namespace zq
