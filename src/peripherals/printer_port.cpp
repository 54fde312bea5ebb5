#include "peripherals/printer_port.h"

#include "peripherals/device_error.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace pos {

std::string requireDevicePath(const Settings& settings, const std::string& portName)
{
    std::string path = settings.devicePath(portName);
    if (path.empty())
        throw DeviceError("unknown device " + portName);
    return path;
}

void writeDeviceFile(const std::string& path, std::string_view bytes)
{
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        throwDeviceError("cannot open", path, errno);
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            int error = n < 0 ? errno : EIO;
            ::close(fd);
            throwDeviceError("cannot write", path, error);
        }
        done += static_cast<std::size_t>(n);
    }
    if (::close(fd) != 0)
        throwDeviceError("cannot close", path, errno);
}

void writeToPrinter(const Settings& settings, const std::string& portName, std::string_view bytes)
{
    writeDeviceFile(requireDevicePath(settings, portName), bytes);
}

}  // namespace pos
