#include "peripherals/serial_port.h"

#include "peripherals/device_error.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace pos {
namespace {

speed_t speedConstant(int speed)
{
    switch (speed) {
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    default: throw DeviceError("不支持的串口速率 " + std::to_string(speed));
    }
}

template <typename Call>
int retryInterrupted(Call call)
{
    int rc;
    do
        rc = call();
    while (rc < 0 && errno == EINTR);
    return rc;
}

}  // namespace

void SerialPort::open(const std::string& path, int speed)
{
    release();
    speed_t rate = speedConstant(speed);
    // Non-blocking only for the open itself: without carrier a modem line would wait.
    int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        throwDeviceError("不能打开", path, errno);
    termios saved{};
    if (tcgetattr(fd, &saved) != 0) {
        int error = errno;
        ::close(fd);
        throwDeviceError("不能用作串口", path, error);
    }
    termios raw = saved;
    cfmakeraw(&raw);
    raw.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS);
    raw.c_cflag |= CS8 | CLOCAL | CREAD;
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    // The device may be shared (the drawer command on the display's port): what its other
    // user queued goes out at that user's speed before the line is changed.
    if (cfsetispeed(&raw, rate) != 0 || cfsetospeed(&raw, rate) != 0
        || retryInterrupted([&] { return tcsetattr(fd, TCSADRAIN, &raw); }) != 0
        || fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        int error = errno;
        tcsetattr(fd, TCSANOW, &saved);
        ::close(fd);
        throwDeviceError("不能设置串口", path, error);
    }
    fd_ = fd;
    path_ = path;
    saved_ = saved;
}

void SerialPort::send(std::string_view bytes)
{
    if (fd_ < 0)
        throw DeviceError("串口没有打开");
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            throwDeviceError("不能写入", path_, n < 0 ? errno : EIO);
        done += static_cast<std::size_t>(n);
    }
}

void SerialPort::release() noexcept
{
    if (fd_ < 0)
        return;
    retryInterrupted([&] { return tcsetattr(fd_, TCSADRAIN, &saved_); });
    ::close(fd_);
    fd_ = -1;
    path_.clear();
}

}  // namespace pos
