#pragma once

#include "base/register_state.h"
#include "register/startup_windows.h"

namespace pos {

struct Terminal;

// Brings the terminal up before the register window is shown: server credentials, the
// local file, the server and its account set, enrollment, the offline question, the
// bill's records, the date check, the sign-on, the selling store, in online mode the
// back office's options and master data, the amount settings, the upload of waiting
// bills (online), the terminal's number, and the first bill. Every failure shows its
// message (where it has one) and returns false; the program then ends.
bool StartUp(Terminal& t, StartupWindows& windows, RegisterState& reg);

}  // namespace pos
