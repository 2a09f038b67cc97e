#pragma once
// Sole owner of one ODBC handle (environment, connection or statement): move-only,
// freed in a noexcept destructor that ignores failure, never copied.

#include <sql.h>

#include <utility>

namespace zq {

/// Owns one SQLHANDLE of kind `Type` (SQL_HANDLE_ENV, SQL_HANDLE_DBC, SQL_HANDLE_STMT).
template <SQLSMALLINT Type>
class OdbcHandle {
public:
    OdbcHandle() noexcept = default;
    /// Takes ownership of a handle just allocated with SQLAllocHandle.
    explicit OdbcHandle(SQLHANDLE h) noexcept : h_(h) {}
    ~OdbcHandle() { reset(); }

    OdbcHandle(OdbcHandle&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
    OdbcHandle& operator=(OdbcHandle&& o) noexcept {
        if (this != &o) {
            reset();
            h_ = std::exchange(o.h_, nullptr);
        }
        return *this;
    }
    OdbcHandle(const OdbcHandle&) = delete;
    OdbcHandle& operator=(const OdbcHandle&) = delete;

    SQLHANDLE get() const noexcept { return h_; }
    explicit operator bool() const noexcept { return h_ != SQL_NULL_HANDLE; }

    /// Frees the handle now; failure is ignored (nothing useful can be done with it).
    void reset() noexcept {
        if (h_ != SQL_NULL_HANDLE) {
            SQLFreeHandle(Type, h_);
            h_ = SQL_NULL_HANDLE;
        }
    }

private:
    SQLHANDLE h_ = SQL_NULL_HANDLE;
};

using EnvHandle = OdbcHandle<SQL_HANDLE_ENV>;
using DbcHandle = OdbcHandle<SQL_HANDLE_DBC>;
using StmtHandle = OdbcHandle<SQL_HANDLE_STMT>;

}  // namespace zq
