#pragma once

#include "support/tcp_proxy.h"
#include "support/terminal_fixture.h"

namespace pos::test {

// Time-outs short enough for tests that make the network fail.
inline const PgTimeouts kShortTimeouts{std::chrono::seconds(2), std::chrono::seconds(2)};

// The terminal's server connection runs through a TcpProxy, with short time-outs. The
// settings name the proxy, so reopening and switching online go through it too.
class ProxiedServer {
public:
    explicit ProxiedServer(TerminalFixture& f);

    // Waits until the server has ended a broken session, having finished what reached it
    // (a COMMIT that got through lands before this returns).
    void awaitSessionEnd(int session);

    TcpProxy proxy;

private:
    TerminalFixture& f_;
};

}  // namespace pos::test
