#pragma once

#include "base/clock.h"
#include "base/person.h"
#include "db/pg_database.h"
#include "config/settings.h"
#include "db/sqlite_database.h"
#include "base/pos_state.h"

#include <optional>
#include <string>

namespace pos {

struct AccountSetChoice {
    std::string dbName;
    bool seleStore = false;
};

// The two connections of the terminal and the operations that open, test and switch
// them. Which one an operation uses is decided by NetMode at the moment it runs.
class TDM {
public:
    // registryDatabase is the database holding AccountSet ("msdb"); tests give their own.
    TDM(const Settings& settings, Person& person, const Clock& clock, std::string localPath,
        std::string registryDatabase = "msdb");

    PgDatabase& conServer() { return server_; }
    SqliteDatabase& conClient() { return client_; }
    Database& current(WorkingMode netMode) { return netMode == Online ? static_cast<Database&>(server_) : client_; }
    const std::string& registryDatabase() const { return registry_; }
    const std::string& localPath() const { return localPath_; }

    // Opens POS.mdb with the built-in key and brings it to the current schema version.
    bool openLocalDatabase();
    // Opens the server connection with the please-wait window shown; never raises.
    bool connectToServer(const ServerLogin& login, const std::string& database);
    // Whether the login reaches the registry database, where the start-up goes first.
    static bool testServerConnection(const ServerLogin& login, const std::string& registryDatabase)
    {
        return pos::testServerConnection(login, registryDatabase);
    }
    bool switchDatabase(const std::string& database);
    // Finds the terminals' account set in the registry and moves the server connection
    // to it. Shows one of its four messages and returns nullopt on failure.
    std::optional<AccountSetChoice> selectAccountSet();
    // From the current mode in state.NetMode to the other one; reports its own failure.
    bool switchWorkingMode(TPosState& state);
    DateTime serverTime(WorkingMode netMode);

private:
    const Settings& settings_;
    Person& person_;
    const Clock& clock_;
    std::string localPath_;
    std::string registry_;
    PgDatabase server_;
    SqliteDatabase client_;
};

}  // namespace pos
