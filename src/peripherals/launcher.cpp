#include "peripherals/launcher.h"

#include "peripherals/device_error.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace pos {
namespace {

// A bare name is searched on PATH here, before forking, where the search may allocate.
std::string resolveProgram(const std::string& program)
{
    if (program.find('/') != std::string::npos)
        return program;
    std::string found = findOnPath(program);
    return found.empty() ? program : found;
}

// Only async-signal-safe calls from here on: the caller may have threads.
[[noreturn]] void reportAndExit(int pipeFd, int error)
{
    ssize_t ignored = ::write(pipeFd, &error, sizeof error);
    (void)ignored;
    _exit(127);
}

}  // namespace

std::string findOnPath(const std::string& name)
{
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/bin:/bin";
    std::size_t begin = 0;
    while (begin <= dirs.size()) {
        std::size_t end = dirs.find(':', begin);
        if (end == std::string::npos)
            end = dirs.size();
        // An empty entry stands for the current directory.
        const std::string dir = end > begin ? dirs.substr(begin, end - begin) : std::string(".");
        std::string candidate = dir + (dir.back() == '/' ? "" : "/") + name;
        if (::access(candidate.c_str(), X_OK) == 0)
            return candidate;
        begin = end + 1;
    }
    return {};
}

void ProcessLauncher::start(const std::string& program)
{
    std::string path = resolveProgram(program);
    std::string arg0 = path;
    char* argv[] = {arg0.data(), nullptr};

    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0)
        throwDeviceError("不能启动", path, errno);

    pid_t child = ::fork();
    if (child < 0) {
        int error = errno;
        ::close(report[0]);
        ::close(report[1]);
        throwDeviceError("不能启动", path, error);
    }
    if (child == 0) {
        ::close(report[0]);
        ::setsid();
        pid_t grandchild = ::fork();
        if (grandchild < 0)
            reportAndExit(report[1], errno);
        if (grandchild == 0) {
            // Keep the report pipe clear of the three standard descriptors replaced below.
            int reportFd = report[1] > 2 ? report[1] : ::fcntl(report[1], F_DUPFD_CLOEXEC, 3);
            int devNull = ::open("/dev/null", O_RDWR | O_CLOEXEC);
            if (devNull >= 0) {
                ::dup2(devNull, 0);
                ::dup2(devNull, 1);
                ::dup2(devNull, 2);
            }
            ::execve(path.c_str(), argv, environ);
            reportAndExit(reportFd, errno);
        }
        _exit(0);
    }

    ::close(report[1]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    // The write end closes on a successful exec; an error number arrives otherwise.
    int error = 0;
    ssize_t n;
    do
        n = ::read(report[0], &error, sizeof error);
    while (n < 0 && errno == EINTR);
    ::close(report[0]);
    if (n == static_cast<ssize_t>(sizeof error))
        throwDeviceError("不能启动", path, error);
}

}  // namespace pos
