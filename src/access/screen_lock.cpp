#include "access/screen_lock.h"

#include "access/operators.h"
#include "base/trim.h"

namespace pos {

bool UnlocksTerminal(AccessStatements& sql, int operatorId, const std::string& operatorCode, const std::string& typed)
{
    const std::optional<OperatorMatch> match = verifyOperator(sql, operatorCode, trimmed(typed));
    return match && match->operatorId == operatorId;
}

}  // namespace pos
