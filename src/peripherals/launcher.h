#pragma once

#include <string>

namespace pos {

// The first executable file of that name in the directories of PATH; empty when none.
std::string findOnPath(const std::string& name);

// Starts a program the way the desktop shell's "open" does: detached, without a window,
// not waited for.
class Launcher {
public:
    virtual ~Launcher() = default;
    // program is a path, or a bare name looked up on PATH. DeviceError when it cannot be started.
    virtual void start(const std::string& program) = 0;
};

// Runs the program in a new session with its standard streams on /dev/null. It is
// handed to init at once, so it leaves no zombie behind whenever it ends.
class ProcessLauncher : public Launcher {
public:
    void start(const std::string& program) override;
};

}  // namespace pos
