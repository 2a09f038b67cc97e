#pragma once
// The form OpenConn shows when there is no configuration file: the modal form of the
// main window's "&Configurazione" entry, so the program has one configuration form for
// both uses. Without one registered, the first start ends as if it had been cancelled.

#include "app/session.h"

namespace zq {

class frmMain;

class FirstStartFromMenu : public FirstStartForm {
public:
    explicit FirstStartFromMenu(frmMain& main) : main_(main) {}

    /// Shows the form; true when it was confirmed. The form itself stores the values in
    /// the session's configuration and writes the file.
    bool run(Config& cfg) override;

private:
    frmMain& main_;
};

}  // namespace zq
