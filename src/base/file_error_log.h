#pragma once

#include "base/error_log.h"

#include <cstdint>
#include <string>

namespace pos {

// The error log as a text file, one line per entry. Before a line would take the file
// past its cap, the file becomes "<path>.1" (replacing the older one) and a new file
// starts, so the log never holds more than twice the cap.
class FileErrorLog : public ErrorLog {
public:
    static constexpr std::uintmax_t kDefaultCap = 1024 * 1024;

    explicit FileErrorLog(std::string path, std::uintmax_t capBytes = kDefaultCap)
        : path_(std::move(path)), cap_(capBytes)
    {
    }

    // A log that cannot be written loses the entry: the error itself has been shown.
    void write(const ErrorLogEntry& entry) override;

private:
    std::string path_;
    std::uintmax_t cap_;
};

// The entry as one line: tab-separated fields, line breaks inside them made blanks.
std::string errorLogLine(const ErrorLogEntry& entry);

}  // namespace pos
