#include "peripherals/device_error.h"
#include "peripherals/launcher.h"
#include "support/scoped_path.h"
#include "support/temp_dir.h"

#include <chrono>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace pos {
namespace {

std::string waitForFile(const std::string& path)
{
    for (int i = 0; i < 100 && ::access(path.c_str(), F_OK) != 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return test::readFile(path);
}

void writeProgram(const std::string& path, const std::string& script, mode_t mode)
{
    test::writeFile(path, script);
    ::chmod(path.c_str(), mode);
}

TEST(ProcessLauncher, StartsTheProgramDetachedAndDoesNotWaitForIt)
{
    test::TempDir dir;
    // The program tells where its input comes from, then waits for the test: start() must
    // return meanwhile. Files appear whole (mv), so the test never reads one half written.
    writeProgram(dir.file("Open1.com"),
                 "#!/bin/sh\n"
                 "readlink /proc/$$/fd/0 > \"$0.tmp\"; mv \"$0.tmp\" \"$0.stdin\"\n"
                 "while [ ! -e \"$0.go\" ]; do sleep 0.05; done\n"
                 "cut -d ' ' -f 6 /proc/$$/stat > \"$0.tmp\"; mv \"$0.tmp\" \"$0.ran\"\n",
                 0755);
    ProcessLauncher launcher;
    launcher.start(dir.file("Open1.com"));
    EXPECT_EQ(waitForFile(dir.file("Open1.com.stdin")), "/dev/null\n");
    EXPECT_NE(::access(dir.file("Open1.com.ran").c_str(), F_OK), 0) << "the program ran ahead";
    test::writeFile(dir.file("Open1.com.go"), "");
    std::string session = waitForFile(dir.file("Open1.com.ran"));
    EXPECT_FALSE(session.empty());
    EXPECT_NE(session, std::to_string(::getsid(0)) + "\n") << "runs in a session of its own";
}

TEST(ProcessLauncher, ReportsAProgramThatCannotBeStarted)
{
    test::TempDir dir;
    writeProgram(dir.file("Open2.com"), "#!/bin/sh\n", 0644);
    ProcessLauncher launcher;
    EXPECT_THROW(launcher.start(dir.file("Open2.com")), DeviceError);
    EXPECT_THROW(launcher.start(dir.file("Open3.com")), DeviceError);
    EXPECT_THROW(launcher.start("no-such-program-on-the-path"), DeviceError);
}

TEST(ProcessLauncher, FindsABareNameOnThePath)
{
    test::TempDir bin, elsewhere;
    const std::string marker = elsewhere.file("ran");
    writeProgram(bin.file("pos-drawer-card"),
                 "#!/bin/sh\necho \"$0\" > \"" + marker + ".tmp\"; mv \"" + marker + ".tmp\" \"" + marker + "\"\n", 0755);
    {
        // The program is in the second directory; the rest of PATH still finds mv for it.
        test::ScopedPath path(elsewhere.path() + ":" + bin.path() + ":" + std::getenv("PATH"));
        ProcessLauncher().start("pos-drawer-card");
    }
    EXPECT_EQ(waitForFile(marker), bin.file("pos-drawer-card") + "\n");
}

}  // namespace
}  // namespace pos
