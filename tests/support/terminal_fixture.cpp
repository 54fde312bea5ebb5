#include "support/terminal_fixture.h"

#include <stdexcept>

namespace pos::test {

TerminalFixture::TerminalFixture(BeforeStartUp)
    : settings(IniFile(dir.file("POS.ini"))),
      dm(settings, person, clock, dir.file("POS.mdb"), office.registryName()),
      terminal{settings, dm, state, person, clock, log}
{
    settings.writeServerLogin(office.login());
}

TerminalFixture::TerminalFixture() : TerminalFixture(BeforeStartUp{})
{
    state.IniFileName = settings.path();
    if (!dm.openLocalDatabase())
        throw std::runtime_error("cannot open the local file: " + dm.conClient().lastError());
    if (!dm.connectToServer(settings.serverLogin(), office.registryName()) || !dm.selectAccountSet())
        throw std::runtime_error("cannot reach the test back office: " + dm.conServer().lastError());
    state.NetMode = Online;
    person.waits.clear();  // the connection's please-wait belongs to the set-up, not to the test
}

Database& TerminalFixture::side(WorkingMode netMode)
{
    return netMode == Online ? static_cast<Database&>(office.accountSet()) : dm.conClient();
}

}  // namespace pos::test
