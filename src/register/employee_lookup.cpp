#include "register/employee_lookup.h"
#include "register/register_statements.h"

namespace pos {

std::optional<Employee> GetEmployee(RegisterStatements& sql, const std::string& code)
{
    const RowSet found = sql.employeeByCode.query({code});
    if (found.empty())
        return std::nullopt;
    return Employee{static_cast<int>(found.first("EmployId").toInt()), found.first("Name").toString()};
}

}  // namespace pos
