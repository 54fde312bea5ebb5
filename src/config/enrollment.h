#pragma once

#include "config/data_module.h"
#include "config/settings.h"

#include <string>

namespace pos {

// Whether this terminal is bound to a PosMachine row. Offline, a MachineId in POS.ini is
// enough; online the row must still exist on the server.
bool isEnrolled(const Settings& settings, TDM& dm, WorkingMode netMode);

enum class EnrolResult { Enrolled, NotFree };

// Takes the free PosMachine row with this number for this terminal and writes its
// MachineId to POS.ini. One conditional update decides, so two terminals can never take
// the same row; its transaction commits only once POS.ini holds the MachineId, so a
// settings file that cannot be written leaves the row free. Database errors and the
// settings file's PosError are passed on.
EnrolResult enrolMachine(Settings& settings, PgDatabase& server, const std::string& machineCode);

}  // namespace pos
