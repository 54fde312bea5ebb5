#pragma once

#include <string>

namespace pos {

// One error as the log keeps it. Nothing the person typed goes in besides what the
// error text itself holds, and sign-on keeps the password out of that.
struct ErrorLogEntry {
    std::string time;          // YYYY-MM-DD HH:MM:SS
    std::string operatorCode;  // empty before sign-on
    std::string operation;
    std::string error;
};

// Where the register's error handler writes every error that reaches it.
class ErrorLog {
public:
    virtual ~ErrorLog() = default;
    virtual void write(const ErrorLogEntry& entry) = 0;
};

}  // namespace pos
