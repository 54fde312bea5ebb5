#include "access/screen_lock.h"

#include "access/operators.h"
#include "base/trim.h"
#include "config/terminal.h"

namespace pos {

bool UnlocksTerminal(Terminal& t, const std::string& typed)
{
    const std::optional<OperatorMatch> match =
        verifyOperator(t.db().statements<AccessStatements>(), t.state.OperatorCode, trimmed(typed));
    return match && match->operatorId == t.state.OperatorId;
}

}  // namespace pos
