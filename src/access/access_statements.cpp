#include "access/access_statements.h"

namespace pos {
namespace {

Shift shiftOf(const RowSet& rows, std::size_t r)
{
    return {static_cast<int>(rows.at(r, "ClassId").toInt()), rows.at(r, "ClassCode").toString(),
            rows.at(r, "ClassName").toString()};
}

std::vector<OperatorRecord> operatorsOf(const RowSet& rows)
{
    std::vector<OperatorRecord> operators;
    operators.reserve(rows.size());
    for (std::size_t r = 0; r < rows.size(); ++r)
        operators.push_back({static_cast<int>(rows.at(r, "OperatorId").toInt()), rows.at(r, "Name").toString(),
                             rows.at(r, "Password").toString(), rows.at(r, "SysManager").toInt() == 1});
    return operators;
}

constexpr const char* kOperatorColumns = "select OperatorId,Name,Password,SysManager from PosOperator ";

}  // namespace

AccessStatements::AccessStatements(Database& db)
    : StatementSet(db),
      shifts_(*this, "select ClassId,ClassCode,ClassName from PosClassNo"),
      shiftByName_(*this, "select ClassId,ClassCode,ClassName from PosClassNo where ClassName=$1"),
      operatorByCredentials_(*this, serverOnly(std::string(kOperatorColumns) + "where Code=$1 and Password=$2")),
      operatorsByCode_(*this, localOnly(std::string(kOperatorColumns) + "where Code=$1")),
      operatorRights_(*this, "select 1 from PosOperatorRight where OperatorId=$1 and RightId=$2"),
      setPassword_(*this, "update PosOperator set Password=$1 where Code=$2"),
      restorePassword_(*this, localOnly("update PosOperator set Password=$1 where OperatorId=$2"))
{
}

std::vector<Shift> AccessStatements::shifts()
{
    const RowSet rows = shifts_.query();
    std::vector<Shift> shifts;
    shifts.reserve(rows.size());
    for (std::size_t r = 0; r < rows.size(); ++r)
        shifts.push_back(shiftOf(rows, r));
    return shifts;
}

std::optional<Shift> AccessStatements::shiftNamed(const std::string& name)
{
    const RowSet rows = shiftByName_.query({name});
    if (rows.empty())
        return std::nullopt;
    return shiftOf(rows, 0);
}

std::vector<OperatorRecord> AccessStatements::operatorsWithCredentials(const std::string& code,
                                                                       const std::string& password)
{
    return operatorsOf(operatorByCredentials_.query({code, password}));
}

std::vector<OperatorRecord> AccessStatements::operatorsWithCode(const std::string& code)
{
    return operatorsOf(operatorsByCode_.query({code}));
}

bool AccessStatements::holdsRight(int operatorId, OperatorRight right)
{
    return !operatorRights_.query({operatorId, rightNumber(right)}).empty();
}

void AccessStatements::setPassword(const std::string& code, const std::string& password)
{
    setPassword_.execute({password, code});
}

void AccessStatements::restorePassword(int operatorId, const std::string& hash)
{
    restorePassword_.execute({hash, operatorId});
}

}  // namespace pos
