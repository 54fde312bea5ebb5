#include "support/proxied_server.h"

#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <thread>

namespace pos::test {

ProxiedServer::ProxiedServer(TerminalFixture& f) : f_(f)
{
    ServerLogin login = f.office.login();
    login.serverName = proxy.address();
    f.settings.writeServerLogin(login);
    PgDatabase& server = f.dm.conServer();
    server.setTimeouts(kShortTimeouts);
    if (!server.open(login, f.office.accountSetName()))
        throw std::runtime_error("cannot reach the back office through the proxy: " + server.lastError());
}

void ProxiedServer::awaitSessionEnd(int session)
{
    Database& server = f_.office.accountSet();
    for (int tries = 0; !server.query("select 1 from pg_stat_activity where pid=$1", {session}).empty(); ++tries) {
        ASSERT_LT(tries, 1000) << "the broken session does not end";
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

}  // namespace pos::test
