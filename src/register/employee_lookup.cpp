#include "register/employee_lookup.h"

#include "config/terminal.h"

namespace pos {

std::optional<Employee> GetEmployee(Terminal& t, const std::string& code)
{
    const RowSet found =
        t.db().query("select EmployId,Name from B_Employ where Code=$1 order by EmployId limit 1", {code});
    if (found.empty())
        return std::nullopt;
    return Employee{static_cast<int>(found.first("EmployId").toInt()), found.first("Name").toString()};
}

}  // namespace pos
