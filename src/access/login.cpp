#include "access/login.h"

#include "access/operators.h"
#include "base/trim.h"
#include "config/terminal.h"

namespace pos {

std::vector<std::string> shiftNames(Database& db)
{
    RowSet shifts = db.query("select * from PosClassNo");
    std::vector<std::string> names;
    names.reserve(shifts.size());
    for (std::size_t r = 0; r < shifts.size(); ++r)
        names.push_back(shifts.at(r, "ClassName").toString());
    return names;
}

SignOnResult signOn(Terminal& t, const std::string& code, const std::string& password, const std::string& shiftName)
{
    const std::string operatorCode = trimmed(code);
    Database& db = t.db();
    if (CheckOperator(db, operatorCode, trimmed(password)) < 0)
        return SignOnResult::BadCredentials;
    if (trimmed(shiftName).empty())
        return SignOnResult::NoShift;
    // Looked up by the entry exactly as listed; a shift removed since the list was
    // filled counts as none chosen rather than signing on to no shift at all.
    RowSet shift = db.query("select * from PosClassNo where ClassName=$1", {shiftName});
    if (shift.empty())
        return SignOnResult::NoShift;
    RowSet op = db.query("select * from PosOperator where Code=$1", {operatorCode});

    TPosState& s = t.state;
    s.ClassId = static_cast<int>(shift.first("ClassId").toInt());
    s.ClassCode = shift.first("ClassCode").toString();
    s.ClassName = shiftName;
    s.OperatorId = static_cast<int>(op.first("OperatorId").toInt());
    s.OperatorCode = operatorCode;
    s.OperatorName = op.first("Name").toString();
    return SignOnResult::SignedOn;
}

}  // namespace pos
