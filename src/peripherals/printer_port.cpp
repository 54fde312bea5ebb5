#include "peripherals/printer_port.h"

#include "peripherals/device_error.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace pos {
namespace {

// A device that is missing (no printer driver, a wrong name) must fail, not turn up as a
// plain file under /dev that swallows every later receipt.
int openFlags(const std::string& path)
{
    const int flags = O_WRONLY | O_TRUNC | O_CLOEXEC;
    return path.starts_with("/dev/") ? flags : flags | O_CREAT;
}

}  // namespace

std::string requireDevicePath(const Settings& settings, const std::string& portName)
{
    std::string path = settings.devicePath(portName);
    if (path.empty())
        throw DeviceError("未知的设备名 " + portName);
    return path;
}

void writeDeviceFile(const std::string& path, std::string_view bytes)
{
    int fd = ::open(path.c_str(), openFlags(path), 0666);
    if (fd < 0)
        throwDeviceError("不能打开", path, errno);
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            int error = n < 0 ? errno : EIO;
            ::close(fd);
            throwDeviceError("不能写入", path, error);
        }
        done += static_cast<std::size_t>(n);
    }
    if (::close(fd) != 0)
        throwDeviceError("不能关闭", path, errno);
}

void writeToPrinter(const Settings& settings, const std::string& portName, std::string_view bytes)
{
    writeDeviceFile(requireDevicePath(settings, portName), bytes);
}

}  // namespace pos
