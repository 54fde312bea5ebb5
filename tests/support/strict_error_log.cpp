#include "support/strict_error_log.h"

#include <gtest/gtest.h>

namespace pos::test {

void StrictErrorLog::write(const ErrorLogEntry& entry)
{
    entries.push_back(entry);
    if (entries.size() > expected)
        ADD_FAILURE() << "unexpected error in " << entry.operation << ": " << entry.error;
}

}  // namespace pos::test
