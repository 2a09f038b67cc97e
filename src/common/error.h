#pragma once
// The error object every failing database or file operation throws: what the error
// report prints (number, description, source, system error code) plus, for ODBC, the
// driver's SQLSTATE and native code.

#include <stdexcept>
#include <string>

namespace zq {

/// `text` with the value of every "password=" and "pwd=" (any case) replaced by
/// "********": connection strings travel inside SQL texts (a link's definition) and
/// driver messages, and the password must not reach a screen or a log through them.
std::string maskPasswords(std::string text);

/// The number the original's OLE DB providers raised for most provider failures
/// (hexadecimal 80004005); the login branches on it.
inline constexpr long kErrProviderFailure = -2147467259L;

class Error : public std::runtime_error {
public:
    /// The description is kept with its passwords masked (maskPasswords).
    Error(long number, std::string description, std::string source = {}, long systemCode = 0);

    long number() const noexcept { return number_; }
    const std::string& description() const noexcept { return description_; }
    const std::string& source() const noexcept { return source_; }
    long systemCode() const noexcept { return systemCode_; }

    /// Five-character SQLSTATE and native code, when the error came from a driver.
    const std::string& sqlState() const noexcept { return sqlState_; }
    long nativeCode() const noexcept { return nativeCode_; }
    Error& withDriverState(std::string sqlState, long nativeCode);

private:
    long number_;
    std::string description_;
    std::string source_;
    long systemCode_;
    std::string sqlState_;
    long nativeCode_ = 0;
};

/// Thrown when the person chose Abort in the error report, or an operation must end the
/// program at once. main() catches it and quits without logging out.
class AbortProgram : public std::exception {
public:
    explicit AbortProgram(int exitCode = 1) : exitCode_(exitCode) {}
    const char* what() const noexcept override { return "program ended"; }
    int exitCode() const noexcept { return exitCode_; }

private:
    int exitCode_;
};

}  // namespace zq
