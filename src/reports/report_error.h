#pragma once

#include <stdexcept>

namespace pos {

// A template file that cannot be read or written, or a report that cannot be printed.
// It passes to the operation that asked for the report.
class ReportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace pos
