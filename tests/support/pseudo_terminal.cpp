#include "support/pseudo_terminal.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <unistd.h>

namespace pos::test {

PseudoTerminal::PseudoTerminal()
{
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0)
        throw std::runtime_error("no pseudo-terminal");
    path_ = ptsname(master_);
    device_ = ::open(path_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (device_ < 0)
        throw std::runtime_error("cannot open " + path_);
}

PseudoTerminal::~PseudoTerminal()
{
    ::close(device_);
    ::close(master_);
}

std::string PseudoTerminal::received()
{
    std::string bytes;
    pollfd p{master_, POLLIN, 0};
    while (::poll(&p, 1, 150) > 0 && (p.revents & POLLIN)) {
        char buffer[512];
        ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n <= 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    return bytes;
}

termios PseudoTerminal::lineSettings() const
{
    termios t{};
    if (tcgetattr(device_, &t) != 0)
        throw std::runtime_error("tcgetattr failed");
    return t;
}

}  // namespace pos::test
