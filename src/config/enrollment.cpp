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
    Transaction transaction(server);
    const std::optional<std::string> taken = takeFreeMachineId(server.statements<ServerStatements>(), machineCode);
    if (!taken)
        return EnrolResult::NotFree;
    const std::string before = settings.option("MachineId");
    settings.setOption("MachineId", *taken);
    try {
        transaction.commit();
    } catch (const DbError&) {
        // Whether the server kept the row is unknown: the terminal does not claim it.
        settings.setOption("MachineId", before);
        throw;
    }
    return EnrolResult::Enrolled;
}

}  // namespace pos
