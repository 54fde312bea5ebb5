#include "access/rights.h"

#include "access/operators.h"
#include "base/trim.h"
#include "config/terminal.h"

namespace pos {

bool operatorHasRight(AccessStatements& sql, int operatorId, OperatorRight right)
{
    RowSet rights = sql.operatorRights.query({operatorId});
    for (std::size_t r = 0; r < rights.size(); ++r)
        if (rights.at(r, "RightId").toInt() == rightNumber(right))
            return true;
    return false;
}

bool supervisorGrants(AccessStatements& sql, const Credentials& credentials, OperatorRight right)
{
    const std::optional<OperatorMatch> supervisor =
        verifyOperator(sql, trimmed(credentials.code), trimmed(credentials.password));
    return supervisor && supervisor->supervisor && operatorHasRight(sql, supervisor->operatorId, right);
}

bool HasRight(Terminal& t, OperatorRight right)
{
    AccessStatements& sql = t.db().statements<AccessStatements>();
    if (operatorHasRight(sql, t.state.OperatorId, right))
        return true;
    std::optional<Credentials> credentials = t.person.supervisor(right);
    return credentials && supervisorGrants(sql, *credentials, right);
}

}  // namespace pos
