#pragma once
// The process's ODBC environment (ODBC 3 behaviour), shared by every session so that it
// outlives the last connection and statement, whatever order they are released in.

#include "dataaccess/odbc/odbc_handle.h"

#include <memory>

namespace zq {

class OdbcEnvironment {
public:
    /// The one environment of the process, allocated on first use. Throws zq::Error.
    static std::shared_ptr<OdbcEnvironment> shared();

    SQLHENV get() const noexcept { return handle_.get(); }

    OdbcEnvironment(const OdbcEnvironment&) = delete;
    OdbcEnvironment& operator=(const OdbcEnvironment&) = delete;

private:
    OdbcEnvironment();
    EnvHandle handle_;
};

}  // namespace zq
