#pragma once

#include "base/error_log.h"

#include <cstddef>
#include <vector>

namespace pos::test {

// The terminal's error log in tests. An error that reaches the register's error handler
// is a fault unless the test announced it: every entry beyond `expected` fails the test.
class StrictErrorLog : public ErrorLog {
public:
    std::vector<ErrorLogEntry> entries;
    std::size_t expected = 0;

    void write(const ErrorLogEntry& entry) override;
};

}  // namespace pos::test
