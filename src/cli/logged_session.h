#pragma once
// A session logged in for one command: OpenConn on construction, CloseConn (logout)
// through close() when the command ends normally. A command that fails on the way
// ends as the program does after an untrapped error: without logout.

#include "app/session.h"
#include "cli/cli_command.h"

namespace zq {

/// The first-start form of zelq: there is no form to show, so it refuses and says
/// which file is missing.
class HeadlessFirstStart final : public FirstStartForm {
public:
    HeadlessFirstStart(Dialogs& dialogs, std::filesystem::path file)
        : dialogs_(dialogs), file_(std::move(file)) {}
    bool run(Config& cfg) override;

private:
    Dialogs& dialogs_;
    std::filesystem::path file_;
};

class LoggedSession {
public:
    /// Logs in; throws AbortProgram when the login fails.
    explicit LoggedSession(CliContext& ctx);
    /// Logs out (once).
    void close();
    LoggedSession(const LoggedSession&) = delete;
    LoggedSession& operator=(const LoggedSession&) = delete;

    Session& operator*() { return session_; }
    Session* operator->() { return &session_; }

private:
    Session session_;
    bool open_ = false;
};

}  // namespace zq
