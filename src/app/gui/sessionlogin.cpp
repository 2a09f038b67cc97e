#include "app/gui/sessionlogin.h"

#include "app/session.h"

namespace zq {

SessionLogin::SessionLogin(Session& session, FirstStartForm* firstStart)
    : session_(session), firstStart_(firstStart) {}

void SessionLogin::OpenConn() { session_.OpenConn(firstStart_); }

void SessionLogin::CloseConn() { session_.CloseConn(); }

}  // namespace zq
