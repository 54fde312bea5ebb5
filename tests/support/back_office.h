#pragma once

#include "db/pg_database.h"

#include <string>

namespace pos::test {

// A private back office for one test on the test cluster (POS_TEST_PGHOST, as
// host:port): a registry database holding AccountSet and an account-set database with
// every table, view and function, both made from the repository's SQL and dropped at
// the end. The registry names the account set (AccSetID 1, IsPos 1) and S_AccountInfo
// has its row with SeleStore 0; everything else is empty.
class BackOffice {
public:
    BackOffice();
    ~BackOffice();
    BackOffice(const BackOffice&) = delete;
    BackOffice& operator=(const BackOffice&) = delete;

    ServerLogin login() const;
    const std::string& registryName() const { return registryName_; }
    const std::string& accountSetName() const { return accountSetName_; }

    // Connections for arranging and inspecting data.
    PgDatabase& registry() { return registry_; }
    PgDatabase& accountSet() { return accountSet_; }

    // Ends every other session on the account-set database, as a network failure would.
    void dropClientConnections();

private:
    std::string registryName_;
    std::string accountSetName_;
    PgDatabase registry_;
    PgDatabase accountSet_;
};

// The login of the test cluster, without a database.
ServerLogin testServerLogin();

}  // namespace pos::test
