#pragma once

#include "base/pos_error.h"

#include <string>

namespace pos {

// A template file that cannot be read or written, or a report that cannot be printed.
// It passes to the operation that asked for the report.
class ReportError : public PosError {
public:
    explicit ReportError(const std::string& detail) : PosError(detail, "处理小票模板") {}
};

}  // namespace pos
