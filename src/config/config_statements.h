#pragma once

#include "base/clock.h"
#include "base/statement_set.h"

#include <optional>
#include <string>

namespace pos {

// The account sets, read in the registry database.
class RegistryStatements : public StatementSet {
public:
    explicit RegistryStatements(Database& server)
        : StatementSet(server), posAccountSets(*this, "select AccSetID,DBName,SeleStore from AccountSet where IsPos=1")
    {
    }

    Statement posAccountSets;
};

// The first of posAccountSets: the database the terminals work in and its id in
// S_AccountInfo. None when the registry has no terminal account set.
struct PosAccountSet {
    std::string dbName;
    Value accountId;
};
std::optional<PosAccountSet> readPosAccountSet(RegistryStatements& registry);

// The server side of connecting and enrolling, in the account set.
class ServerStatements : public StatementSet {
public:
    explicit ServerStatements(Database& server)
        : StatementSet(server),
          accountInfo(*this, "select SeleStore from S_AccountInfo where AccountId=$1"),
          serverTime(*this, "select localtimestamp(0) as ServerTime"),
          machineById(*this, "select * from PosMachine where MachineId=$1"),
          // Picking the free row and taking it happen in one statement; a terminal that
          // loses the race finds IsRegister already set when the row lock is released.
          takeFreeMachine(*this, "update PosMachine set IsRegister=1 "
                                 "where MachineId=(select MachineId from PosMachine where MachineCode=$1 "
                                 "and IsRegister=0 order by MachineId limit 1) and IsRegister=0 "
                                 "returning MachineId")
    {
    }

    Statement accountInfo;
    Statement serverTime;
    Statement machineById;
    Statement takeFreeMachine;
};

// Whether the account set's terminals choose their store; none when it has no parameters.
std::optional<bool> readSeleStore(ServerStatements& server, const Value& accountId);
// None when the server's answer does not read as a time.
std::optional<DateTime> readServerTime(ServerStatements& server);
// The MachineId of the free row taken for the code; none when no row is free.
std::optional<std::string> takeFreeMachineId(ServerStatements& server, const std::string& machineCode);

}  // namespace pos
