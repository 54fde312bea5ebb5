#include "access/rights.h"

#include "access/operators.h"
#include "base/trim.h"
#include "config/terminal.h"

namespace pos {

bool operatorHasRight(Database& db, int operatorId, OperatorRight right)
{
    RowSet rights = db.query("select * from PosOperatorRight where OperatorId=$1", {operatorId});
    for (std::size_t r = 0; r < rights.size(); ++r)
        if (rights.at(r, "RightId").toInt() == rightNumber(right))
            return true;
    return false;
}

bool supervisorGrants(Database& db, const Credentials& credentials, OperatorRight right)
{
    const std::string code = trimmed(credentials.code);
    const int supervisorId = static_cast<int>(SelectValue(db, "OperatorId", "PosOperator", "Code", code).toInt());
    const bool holdsRight = operatorHasRight(db, supervisorId, right);
    return CheckOperator(db, code, trimmed(credentials.password)) == 2 && holdsRight;
}

bool HasRight(Terminal& t, OperatorRight right)
{
    if (operatorHasRight(t.db(), t.state.OperatorId, right))
        return true;
    std::optional<Credentials> credentials = t.person.supervisor(right);
    return credentials && supervisorGrants(t.db(), *credentials, right);
}

}  // namespace pos
