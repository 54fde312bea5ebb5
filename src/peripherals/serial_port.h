#pragma once

#include <string>
#include <string_view>
#include <termios.h>

namespace pos {

// One serial line in raw mode, 8 data bits, no parity, one stop bit. The line's settings
// as found are put back on release, so a second user of the same device (the drawer
// command on the display's port) leaves the first one's speed alone.
class SerialPort {
public:
    SerialPort() = default;
    ~SerialPort() { release(); }
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Opens a terminal device at one of the usual speeds (1200 .. 115200); an open line is
    // released first. Output another user of the device has queued is sent before the
    // speed changes. DeviceError when the path is no terminal or the speed is unknown.
    void open(const std::string& path, int speed);
    bool isOpen() const { return fd_ >= 0; }
    // Hands every byte to the line in order and returns without waiting for them to be
    // transmitted: at 2400 baud an amount takes some 80 ms, which the register must not
    // wait for after each entry. DeviceError on failure.
    void send(std::string_view bytes);
    // Waits for the output still queued, then puts the line's settings back and closes it.
    // Harmless when nothing is open.
    void release() noexcept;

private:
    int fd_ = -1;
    std::string path_;
    termios saved_{};
};

}  // namespace pos
