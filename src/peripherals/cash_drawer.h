#pragma once

#include "base/person.h"
#include "config/settings.h"
#include "peripherals/launcher.h"

#include <string>

namespace pos {

// The bytes of a drawer command text: parts between "-" that read as whole numbers
// (decimal, "$1B" or "0x1B", optional leading blanks and sign) give their low 8 bits,
// other parts their own GBK bytes, empty parts nothing. "27-112-0-50-250" gives 1B 70 00 32 FA.
std::string DrawerCommandBytes(const std::string& text);

// Pops the drawer by MoneyBoxConn: the command and CR LF on the printer port, the command
// alone on the display's serial port at 2400 baud, or the drawer-card program named by
// OpenMoneyBox started from programDir (a directory ending in "/"; a name with a directory
// part is refused). Missing settings are told to the person; DeviceError when a port
// cannot be written or the program not started.
void OpenCashDrawer(const Settings& settings, Person& person, Launcher& launcher, const std::string& programDir);

}  // namespace pos
