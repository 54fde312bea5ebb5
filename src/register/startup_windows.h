#pragma once

namespace pos {

// The dialogs the start-up opens in turn. Each returns whether the person completed it:
// the server connection confirmed (and written to POS.ini), the terminal enrolled (and
// MachineId written), the operator signed on (and TPosState filled).
class StartupWindows {
public:
    virtual ~StartupWindows() = default;
    virtual bool connectToServer() = 0;
    virtual bool enrolMachine() = 0;
    virtual bool signOn() = 0;
};

}  // namespace pos
