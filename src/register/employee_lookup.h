#pragma once

#include <optional>
#include <string>

namespace pos {

class RegisterStatements;

struct Employee {
    int EmployId = 0;
    std::string Name;
};

// The salesman with this code, read with the statements of the working mode; nullopt
// when none.
std::optional<Employee> GetEmployee(RegisterStatements& sql, const std::string& code);

}  // namespace pos
