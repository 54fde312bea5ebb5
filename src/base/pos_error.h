#pragma once

#include <stdexcept>
#include <string>

namespace pos {

// Every error of the terminal's own work. what() is the technical detail; operation()
// names, as the cashier would, the step that failed ("保存设置"). It is empty where the
// code that fails cannot tell (a statement of the database layer). The window that
// reports the error names the larger operation it was running.
class PosError : public std::runtime_error {
public:
    explicit PosError(const std::string& detail, std::string operation = {})
        : std::runtime_error(detail), operation_(std::move(operation))
    {
    }
    const std::string& operation() const { return operation_; }

private:
    std::string operation_;
};

}  // namespace pos
