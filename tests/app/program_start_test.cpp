#include "config/settings.h"
#include "support/back_office.h"
#include "support/operator_data.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <stdexcept>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace pos {
namespace {

// The program looks for its account set in the server's "msdb": for the time of the test
// that registry names the test's back office. Runs of this test take turns on it.
class MsdbRegistry {
public:
    explicit MsdbRegistry(const std::string& accountSet)
    {
        if (!admin_.open(test::testServerLogin(), "postgres"))
            throw std::runtime_error("test cluster not reachable: " + admin_.lastError());
        admin_.execute("select pg_advisory_lock(4712)");
        dropRegistry();
        admin_.execute("create database msdb");
        PgDatabase msdb;
        if (!msdb.open(test::testServerLogin(), "msdb"))
            throw std::runtime_error(msdb.lastError());
        msdb.executeScript(test::readFile(std::string(POS_SOURCE_DIR) + "/sql/server/registry.sql"));
        msdb.execute("insert into AccountSet(AccSetID,DBName,SeleStore,IsPos) values(1,$1,0,1)", {accountSet});
    }
    ~MsdbRegistry()
    {
        try {
            dropRegistry();
            admin_.execute("select pg_advisory_unlock(4712)");
        } catch (...) {
            // the cluster is thrown away at the end of the run anyway
        }
    }
    MsdbRegistry(const MsdbRegistry&) = delete;
    MsdbRegistry& operator=(const MsdbRegistry&) = delete;

private:
    void dropRegistry()
    {
        admin_.execute("select pg_terminate_backend(pid) from pg_stat_activity where datname='msdb'");
        admin_.execute("drop database if exists msdb");
    }

    PgDatabase admin_;
};

// The program started on its own, its output in a file; killed when the scope ends.
class RunningProgram {
public:
    RunningProgram(const std::string& terminalDir, const std::string& outputFile)
    {
        pid_ = fork();
        if (pid_ < 0)
            throw std::runtime_error("fork failed");
        if (pid_ == 0) {
            const int out = open(outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(out, STDOUT_FILENO);
            dup2(out, STDERR_FILENO);
            setenv("POS_HOME", terminalDir.c_str(), 1);
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
            execl(POS_EXECUTABLE, POS_EXECUTABLE, static_cast<char*>(nullptr));
            _exit(127);
        }
    }
    ~RunningProgram()
    {
        if (running())
            kill(pid_, SIGKILL);
        if (!ended_)
            waitpid(pid_, nullptr, 0);
    }
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    bool running()
    {
        if (!ended_ && waitpid(pid_, &status_, WNOHANG) == pid_)
            ended_ = true;
        return !ended_;
    }
    int status() const { return status_; }

private:
    pid_t pid_ = -1;
    int status_ = 0;
    bool ended_ = false;
};

// The sign-on window reads the shifts from the server as it is shown, and nothing of the
// start-up before it does: the program's session on the account set holding that
// statement as its last is the window on screen.
bool signOnWindowShown(test::BackOffice& office)
{
    return !office.registry()
                .query("select 1 from pg_stat_activity where datname=$1 and query like 'select % from PosClassNo'",
                       {office.accountSetName()})
                .empty();
}

TEST(ProgramStart, EnrolledTerminalReachesTheSignOnWindow)
{
    test::BackOffice office;
    Database& accountSet = office.accountSet();
    accountSet.execute("insert into B_Store(StoreId,Code,Name,IsPos) values(3,'S03','三号店',1)");
    accountSet.execute("insert into PosMachine(MachineId,MachineCode,MachineName,IsRegister) values(5,'07','七号机',1)");
    test::addOperator(accountSet, {1, "01", "张三", "pw"});
    test::addShift(accountSet, 2, "A", "早班");
    MsdbRegistry registry(office.accountSetName());
    test::TempDir dir;
    {
        Settings settings{IniFile(dir.file("POS.ini"))};
        settings.writeServerLogin(office.login());
        settings.setOption("MachineId", "5");
    }

    RunningProgram program(dir.path(), dir.file("output.txt"));

    // Bounded only so that a start-up that hangs fails instead of blocking the run.
    constexpr int kBoundSeconds = 60;
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(kBoundSeconds);
    bool shown = false;
    while (!shown && program.running() && std::chrono::steady_clock::now() < giveUp) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        shown = signOnWindowShown(office);
    }
    const std::string why = program.running() ? "still starting after " + std::to_string(kBoundSeconds) + " s"
                                              : "the program ended, status " + std::to_string(program.status());
    EXPECT_TRUE(shown) << why << "; its output:\n" << test::readFile(dir.file("output.txt"));
    EXPECT_TRUE(program.running()) << "the program waits for the cashier";
    EXPECT_FALSE(std::ifstream(dir.file("pos.log")).good()) << test::readFile(dir.file("pos.log"));
}

}  // namespace
}  // namespace pos
