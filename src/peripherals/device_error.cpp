#include "peripherals/device_error.h"

#include <cstring>

namespace pos {

void throwDeviceError(const std::string& what, const std::string& path, int error)
{
    throw DeviceError(what + " " + path + "：" + std::strerror(error));
}

}  // namespace pos
