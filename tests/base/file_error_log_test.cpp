#include "base/file_error_log.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace pos {
namespace {

ErrorLogEntry entry(int n)
{
    return {"2024-03-15 10:00:00", "1005", "保存单据", "error " + std::to_string(n)};
}

TEST(FileErrorLogTest, EntryIsOneLineOfTimeOperatorOperationAndError)
{
    EXPECT_EQ(errorLogLine({"2024-03-15 10:00:00", "1005", "保存单据", "line one\nline two\tend"}),
              "2024-03-15 10:00:00\t1005\t保存单据\tline one line two end\n");
    EXPECT_EQ(errorLogLine({"2024-03-15 10:00:00", "", "启动收银系统", "x"}),
              "2024-03-15 10:00:00\t-\t启动收银系统\tx\n");
}

// Each line is as long as the first; the cap holds three of them.
TEST(FileErrorLogTest, RotatesAtItsCapKeepingOneOlderFile)
{
    test::TempDir dir;
    const std::string path = dir.file("pos.log");
    const std::uintmax_t lineSize = errorLogLine(entry(0)).size();
    FileErrorLog log(path, 3 * lineSize);

    for (int n = 0; n < 3; ++n)
        log.write(entry(n));
    EXPECT_EQ(std::filesystem::file_size(path), 3 * lineSize);
    EXPECT_FALSE(std::filesystem::exists(path + ".1"));

    log.write(entry(3));
    EXPECT_EQ(test::readFile(path), errorLogLine(entry(3)));
    EXPECT_EQ(test::readFile(path + ".1"), errorLogLine(entry(0)) + errorLogLine(entry(1)) + errorLogLine(entry(2)));

    for (int n = 4; n < 7; ++n)
        log.write(entry(n));
    EXPECT_EQ(test::readFile(path), errorLogLine(entry(6)));
    EXPECT_EQ(test::readFile(path + ".1"), errorLogLine(entry(3)) + errorLogLine(entry(4)) + errorLogLine(entry(5)));
    EXPECT_FALSE(std::filesystem::exists(path + ".2"));
}

}  // namespace
}  // namespace pos
