#include "register/terminal_rights.h"

#include "access/rights.h"
#include "config/terminal.h"

namespace pos {

bool TerminalRights::has(OperatorRight right)
{
    return HasRight(t_.db().statements<AccessStatements>(), t_.person, t_.state.OperatorId, right);
}

}  // namespace pos
