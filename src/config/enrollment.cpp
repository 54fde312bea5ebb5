#include "config/enrollment.h"

#include "config/config_statements.h"

namespace pos {

bool isEnrolled(const Settings& settings, TDM& dm, WorkingMode netMode)
{
    const std::string machineId = settings.option("MachineId");
    if (machineId.empty())
        return false;
    if (netMode != Online)
        return true;
    // The setting goes in as it stands: a value that is not a number is refused by the
    // server, and that error is the caller's.
    return !dm.conServer().statements<ServerStatements>().machineById.query({machineId}).empty();
}

EnrolResult enrolMachine(Settings& settings, PgDatabase& server, const std::string& machineCode)
{
    RowSet taken = server.statements<ServerStatements>().takeFreeMachine.query({machineCode});
    if (taken.empty())
        return EnrolResult::NotFree;
    settings.setOption("MachineId", taken.first("MachineId").toString());
    return EnrolResult::Enrolled;
}

}  // namespace pos
