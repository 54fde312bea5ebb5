#include "access/login.h"

#include "access/operators.h"
#include "base/trim.h"

namespace pos {

std::vector<std::string> shiftNames(AccessStatements& sql)
{
    std::vector<std::string> names;
    for (Shift& shift : sql.shifts())
        names.push_back(std::move(shift.name));
    return names;
}

SignOnResult signOn(AccessStatements& sql, TPosState& state, const std::string& code, const std::string& password,
                    const std::string& shiftName)
{
    const std::string operatorCode = trimmed(code);
    const std::optional<OperatorMatch> op = verifyOperator(sql, operatorCode, trimmed(password));
    if (!op)
        return SignOnResult::BadCredentials;
    if (trimmed(shiftName).empty())
        return SignOnResult::NoShift;
    // Looked up by the entry exactly as listed; a shift removed since the list was
    // filled counts as none chosen rather than signing on to no shift at all.
    const std::optional<Shift> shift = sql.shiftNamed(shiftName);
    if (!shift)
        return SignOnResult::NoShift;

    state.ClassId = shift->id;
    state.ClassCode = shift->code;
    state.ClassName = shiftName;
    state.OperatorId = op->operatorId;
    state.OperatorCode = operatorCode;
    state.OperatorName = op->name;
    return SignOnResult::SignedOn;
}

}  // namespace pos
