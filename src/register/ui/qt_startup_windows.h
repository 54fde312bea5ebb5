#pragma once

#include "register/startup_windows.h"

namespace pos {

struct Terminal;

// The start-up's dialogs as windows: the server connection, the enrollment and the
// sign-on, each shown modally and released when it closes.
class QtStartupWindows : public StartupWindows {
public:
    explicit QtStartupWindows(Terminal& t) : t_(t) {}

    bool connectToServer() override;
    bool enrolMachine() override;
    bool signOn() override;

private:
    Terminal& t_;
};

}  // namespace pos
