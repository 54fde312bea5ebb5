#include "support/back_office.h"

#include "support/temp_dir.h"

#include <atomic>
#include <cstdlib>
#include <functional>
#include <stdexcept>
#include <unistd.h>

namespace pos::test {
namespace {

std::string sqlFile(const std::string& relative) { return readFile(std::string(POS_SOURCE_DIR) + "/sql/" + relative); }

std::string uniqueName(const std::string& prefix)
{
    static std::atomic<int> counter{0};
    return prefix + "_" + std::to_string(getpid()) + "_" + std::to_string(++counter) + "_"
        + std::to_string(std::rand() % 100000);
}

void openAdmin(PgDatabase& admin)
{
    if (!admin.open(testServerLogin(), "postgres"))
        throw std::runtime_error("test cluster not reachable at POS_TEST_PGHOST: " + admin.lastError());
}

// Templates are made once per schema text, so each test only copies a database.
std::string templateFor(PgDatabase& admin, const std::string& kind, const std::string& schema)
{
    std::string name = "pos_tpl_" + kind + "_" + std::to_string(std::hash<std::string>{}(schema) % 1000000007);
    if (!admin.query("select 1 from pg_database where datname=$1", {name}).empty())
        return name;
    std::string building = name + "_build_" + std::to_string(getpid());
    admin.execute("create database " + building);
    {
        PgDatabase db;
        if (!db.open(testServerLogin(), building))
            throw std::runtime_error(db.lastError());
        db.executeScript(schema);
    }
    if (admin.query("select 1 from pg_database where datname=$1", {name}).empty())
        admin.execute("alter database " + building + " rename to " + name);
    else
        admin.execute("drop database " + building);
    return name;
}

void createFrom(PgDatabase& admin, const std::string& name, const std::string& tpl)
{
    admin.execute("select pg_advisory_lock(4711)");
    try {
        admin.execute("create database " + name + " template " + tpl);
    } catch (...) {
        admin.execute("select pg_advisory_unlock(4711)");
        throw;
    }
    admin.execute("select pg_advisory_unlock(4711)");
}

}  // namespace

ServerLogin testServerLogin()
{
    const char* host = std::getenv("POS_TEST_PGHOST");
    if (!host || !*host)
        throw std::runtime_error("POS_TEST_PGHOST is not set; run the tests through scripts/test.sh");
    const char* user = std::getenv("POS_TEST_PGUSER");
    return ServerLogin{host, user && *user ? user : "postgres", ""};
}

BackOffice::BackOffice()
    : registryName_(uniqueName("pos_reg")), accountSetName_(uniqueName("pos_acc"))
{
    PgDatabase admin;
    openAdmin(admin);
    admin.execute("select pg_advisory_lock(4711)");
    std::string registryTpl, accountTpl;
    try {
        registryTpl = templateFor(admin, "registry", sqlFile("server/registry.sql"));
        accountTpl = templateFor(admin, "accountset", sqlFile("server/accountset.sql"));
    } catch (...) {
        admin.execute("select pg_advisory_unlock(4711)");
        throw;
    }
    admin.execute("select pg_advisory_unlock(4711)");
    createFrom(admin, registryName_, registryTpl);
    createFrom(admin, accountSetName_, accountTpl);
    if (!registry_.open(login(), registryName_) || !accountSet_.open(login(), accountSetName_))
        throw std::runtime_error("cannot open test databases");
    registry_.execute("insert into AccountSet(AccSetID,DBName,SeleStore,IsPos) values(1,$1,0,1)", {accountSetName_});
    accountSet_.execute("insert into S_AccountInfo(AccountId,SeleStore) values(1,0)");
}

BackOffice::~BackOffice()
{
    registry_.close();
    accountSet_.close();
    try {
        PgDatabase admin;
        openAdmin(admin);
        for (const std::string& name : {registryName_, accountSetName_}) {
            admin.execute("select pg_terminate_backend(pid) from pg_stat_activity where datname=$1", {name});
            admin.execute("drop database if exists " + name);
        }
    } catch (...) {
        // the cluster is thrown away at the end of the run anyway
    }
}

ServerLogin BackOffice::login() const { return testServerLogin(); }

void BackOffice::dropClientConnections()
{
    PgDatabase admin;
    openAdmin(admin);
    admin.execute("select pg_terminate_backend(pid) from pg_stat_activity where datname=$1 and pid<>$2",
                  {accountSetName_, accountSet_.query("select pg_backend_pid() as p").first("p")});
}

}  // namespace pos::test
