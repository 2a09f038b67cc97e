#pragma once
// What the main window asks of the session: log in when it loads, log out when it
// unloads, both again after a confirmed reconfiguration.

namespace zq {

class Login {
public:
    virtual ~Login() = default;
    /// Loads the configuration and logs in; throws AbortProgram when the program must end.
    virtual void OpenConn() = 0;
    /// Logs out and closes the connections.
    virtual void CloseConn() = 0;
};

}  // namespace zq
