#include "access/rights.h"

#include "access/operators.h"
#include "base/trim.h"

namespace pos {

bool supervisorGrants(AccessStatements& sql, const Credentials& credentials, OperatorRight right)
{
    const std::optional<OperatorMatch> supervisor =
        verifyOperator(sql, trimmed(credentials.code), trimmed(credentials.password));
    return supervisor && supervisor->supervisor && sql.holdsRight(supervisor->operatorId, right);
}

bool HasRight(AccessStatements& sql, Person& person, int operatorId, OperatorRight right)
{
    if (sql.holdsRight(operatorId, right))
        return true;
    std::optional<Credentials> credentials = person.supervisor(right);
    return credentials && supervisorGrants(sql, *credentials, right);
}

}  // namespace pos
