#include "access/login.h"

#include "access/operators.h"
#include "base/trim.h"
#include "config/terminal.h"

namespace pos {

std::vector<std::string> shiftNames(AccessStatements& sql)
{
    RowSet shifts = sql.shifts.query();
    std::vector<std::string> names;
    names.reserve(shifts.size());
    for (std::size_t r = 0; r < shifts.size(); ++r)
        names.push_back(shifts.at(r, "ClassName").toString());
    return names;
}

SignOnResult signOn(Terminal& t, const std::string& code, const std::string& password, const std::string& shiftName)
{
    const std::string operatorCode = trimmed(code);
    AccessStatements& sql = t.db().statements<AccessStatements>();
    const std::optional<OperatorMatch> op = verifyOperator(sql, operatorCode, trimmed(password));
    if (!op)
        return SignOnResult::BadCredentials;
    if (trimmed(shiftName).empty())
        return SignOnResult::NoShift;
    // Looked up by the entry exactly as listed; a shift removed since the list was
    // filled counts as none chosen rather than signing on to no shift at all.
    RowSet shift = sql.shiftByName.query({shiftName});
    if (shift.empty())
        return SignOnResult::NoShift;

    TPosState& s = t.state;
    s.ClassId = static_cast<int>(shift.first("ClassId").toInt());
    s.ClassCode = shift.first("ClassCode").toString();
    s.ClassName = shiftName;
    s.OperatorId = op->operatorId;
    s.OperatorCode = operatorCode;
    s.OperatorName = op->name;
    return SignOnResult::SignedOn;
}

}  // namespace pos
