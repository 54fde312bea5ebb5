#pragma once

#include <optional>
#include <string>

namespace pos {

struct Terminal;

struct Employee {
    int EmployId = 0;
    std::string Name;
};

// The salesman with this code, read on the side of the working mode; nullopt when none.
std::optional<Employee> GetEmployee(Terminal& t, const std::string& code);

}  // namespace pos
