#pragma once

#include <string>

namespace pos {

// The directory holding POS.ini, POS.mdb, POS.frf and the drawer-card programs: the
// one named by POS_HOME, else the executable's own. Ends with "/".
std::string terminalDirectory();

}  // namespace pos
