#pragma once
// The program's Login: the Session with the form it shows at first start.

#include "app/gui/login.h"

namespace zq {

class Session;
class FirstStartForm;

class SessionLogin : public Login {
public:
    /// `firstStart` may be nullptr: without a configuration file the program then ends
    /// as if the configuration form had been cancelled.
    explicit SessionLogin(Session& session, FirstStartForm* firstStart = nullptr);

    void setFirstStartForm(FirstStartForm* firstStart) { firstStart_ = firstStart; }

    void OpenConn() override;
    void CloseConn() override;

private:
    Session& session_;
    FirstStartForm* firstStart_;
};

}  // namespace zq
