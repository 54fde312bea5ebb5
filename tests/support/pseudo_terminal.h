#pragma once

#include <string>
#include <termios.h>

namespace pos::test {

// A pseudo-terminal standing for a serial device: the code under test opens path(), the
// test reads on the master side what reached the "device". The test keeps its own handle
// on the device side, so the line never hangs up between the code's opens and closes.
class PseudoTerminal {
public:
    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    const std::string& path() const { return path_; }
    // Everything written so far, collected until the line has been quiet for a moment.
    std::string received();
    // The line settings as the device side has them now.
    termios lineSettings() const;

private:
    int master_ = -1;
    int device_ = -1;
    std::string path_;
};

}  // namespace pos::test
