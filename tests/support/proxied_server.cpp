#include "support/proxied_server.h"

#include <stdexcept>

namespace pos::test {

ProxiedServer::ProxiedServer(TerminalFixture& f)
{
    ServerLogin login = f.office.login();
    login.serverName = proxy.address();
    f.settings.writeServerLogin(login);
    PgDatabase& server = f.dm.conServer();
    server.setTimeouts(kShortTimeouts);
    if (!server.open(login, f.office.accountSetName()))
        throw std::runtime_error("cannot reach the back office through the proxy: " + server.lastError());
}

}  // namespace pos::test
