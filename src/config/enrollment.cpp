#include "config/enrollment.h"

namespace pos {

bool isEnrolled(const Settings& settings, TDM& dm, int netMode)
{
    const std::string machineId = settings.option("MachineId");
    if (machineId.empty())
        return false;
    if (netMode != Online)
        return true;
    // The setting goes in as it stands: a value that is not a number is refused by the
    // server, and that error is the caller's.
    return !dm.conServer().query("select * from PosMachine where MachineId=$1", {machineId}).empty();
}

EnrolResult enrolMachine(const Settings& settings, PgDatabase& server, const std::string& machineCode)
{
    // Picking the free row and taking it happen in one statement; a terminal that loses
    // the race finds IsRegister already set when the row lock is released and takes nothing.
    RowSet taken = server.query(
        "update PosMachine set IsRegister=1 "
        "where MachineId=(select MachineId from PosMachine where MachineCode=$1 and IsRegister=0 "
        "order by MachineId limit 1) and IsRegister=0 "
        "returning MachineId",
        {machineCode});
    if (taken.empty())
        return EnrolResult::NotFree;
    settings.setOption("MachineId", taken.first("MachineId").toString());
    return EnrolResult::Enrolled;
}

}  // namespace pos
