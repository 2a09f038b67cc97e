#pragma once
// One company's TARV database and the values it was opened with. The session keeps one
// for the company pickers (CnnDitt and its values); a run that changes a company's
// database opens one of its own, for the company it registers, so that a company
// picked in another window can never move it to another database.

#include "dataaccess/connection.h"

#include <string>

namespace zq {

struct CompanyDb {
    std::string code;     ///< the company code it was opened for
    std::string VolDitt;  ///< volume (path prefix) of the company
    std::string DbDitt;   ///< database path: VolDitt + "ditt" + code
    std::string StrDitt;  ///< the connection string
    ConnectionPtr cnn;    ///< open on DbDitt
    bool transOk = false; ///< the connection took the transaction probe

    /// The open connection, or an Error saying in Italian which company is not connected.
    Connection& connection() const;
};

}  // namespace zq
