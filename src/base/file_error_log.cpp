#include "base/file_error_log.h"

#include <filesystem>
#include <fstream>

namespace pos {
namespace {

std::string oneLine(std::string text)
{
    for (char& c : text)
        if (c == '\r' || c == '\n' || c == '\t')
            c = ' ';
    return text;
}

}  // namespace

std::string errorLogLine(const ErrorLogEntry& entry)
{
    return entry.time + '\t' + oneLine(entry.operatorCode.empty() ? "-" : entry.operatorCode) + '\t'
        + oneLine(entry.operation) + '\t' + oneLine(entry.error) + '\n';
}

void FileErrorLog::write(const ErrorLogEntry& entry)
{
    const std::string line = errorLogLine(entry);
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path_, ec);
    if (!ec && size > 0 && size + line.size() > cap_)
        std::filesystem::rename(path_, path_ + ".1", ec);
    std::ofstream out(path_, std::ios::binary | std::ios::app);
    out << line << std::flush;
}

}  // namespace pos
