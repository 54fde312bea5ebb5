#pragma once

#include "config/settings.h"

#include <string>
#include <string_view>

namespace pos {

// Path of a device name ("LPT1", "COM2", ...) from section Ports; DeviceError for any other name.
std::string requireDevicePath(const Settings& settings, const std::string& portName);

// Opens the file or device for this one write (truncated; a file outside /dev is created
// when missing), writes every byte and closes it. DeviceError when any of the three fails.
void writeDeviceFile(const std::string& path, std::string_view bytes);

// The same on the printer port named by portName ("LPT1".."LPT4").
void writeToPrinter(const Settings& settings, const std::string& portName, std::string_view bytes);

}  // namespace pos
