#include "register/employee_lookup.h"
#include "register/register_statements.h"

#include "config/terminal.h"

namespace pos {

std::optional<Employee> GetEmployee(Terminal& t, const std::string& code)
{
    const RowSet found =
        t.db().statements<RegisterStatements>().employeeByCode.query({code});
    if (found.empty())
        return std::nullopt;
    return Employee{static_cast<int>(found.first("EmployId").toInt()), found.first("Name").toString()};
}

}  // namespace pos
