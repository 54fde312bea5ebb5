#include "config/config_statements.h"

namespace pos {

std::optional<PosAccountSet> readPosAccountSet(RegistryStatements& registry)
{
    const RowSet sets = registry.posAccountSets.query();
    if (sets.empty())
        return std::nullopt;
    return PosAccountSet{sets.first("DBName").toString(), sets.first("AccSetID")};
}

std::optional<bool> readSeleStore(ServerStatements& server, const Value& accountId)
{
    const RowSet info = server.accountInfo.query({accountId});
    if (info.empty())
        return std::nullopt;
    return info.first("SeleStore").toBool();
}

std::optional<DateTime> readServerTime(ServerStatements& server)
{
    return DateTime::parse(server.serverTime.query().first("ServerTime").toString());
}

std::optional<std::string> takeFreeMachineId(ServerStatements& server, const std::string& machineCode)
{
    const RowSet taken = server.takeFreeMachine.query({machineCode});
    if (taken.empty())
        return std::nullopt;
    return taken.first("MachineId").toString();
}

}  // namespace pos
