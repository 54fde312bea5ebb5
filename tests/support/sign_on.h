#pragma once

#include "access/login.h"
#include "config/working_connection.h"
#include "support/terminal_fixture.h"

#include <string>

namespace pos::test {

// Signs on to the fixture's terminal on the connection of its working mode, as the
// login window does.
inline SignOnResult signOnAt(TerminalFixture& fx, const std::string& code, const std::string& password,
                             const std::string& shift)
{
    return signOn(WorkingConnection(fx.dm, fx.state).db().statements<AccessStatements>(), fx.state, code, password,
                  shift);
}

}  // namespace pos::test
