#pragma once

#include <stdexcept>
#include <string>

namespace pos {

// A printer port, serial port or drawer program that cannot be opened, written or started.
// It passes to the operation that asked for the device.
class DeviceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The message of a failed system call on a device: what was tried, on which path, and why.
[[noreturn]] void throwDeviceError(const std::string& what, const std::string& path, int error);

}  // namespace pos
