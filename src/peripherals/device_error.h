#pragma once

#include "base/pos_error.h"

#include <string>

namespace pos {

// A printer port, serial port or drawer program that cannot be opened, written or started.
// It passes to the operation that asked for the device.
class DeviceError : public PosError {
public:
    explicit DeviceError(const std::string& detail) : PosError(detail, "使用外部设备") {}
};

// The message of a failed system call on a device: what failed, in Chinese, on which path,
// then the system's own text ("不能打开 /dev/lp0：No such file or directory").
[[noreturn]] void throwDeviceError(const std::string& what, const std::string& path, int error);

}  // namespace pos
