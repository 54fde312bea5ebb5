#include "config/config_statements.h"
#include "config/enrollment.h"
#include "support/back_office.h"
#include "support/fixed_clock.h"
#include "support/scripted_person.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace pos {
namespace {

class EnrollmentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        settings_.writeServerLogin(office_.login());
        TPosState state;
        ASSERT_TRUE(dm_.switchWorkingMode(state));
        office_.accountSet().execute(
            "insert into PosMachine(MachineId,MachineCode,MachineName,IsRegister) values"
            "(1,'001','一号机',0),(2,'002','二号机',0),(3,'003','三号机',1),(4,'O''Neil','四号机',0)");
    }

    PgDatabase& server() { return dm_.conServer(); }
    int isRegister(int machineId)
    {
        return static_cast<int>(office_.accountSet()
                                    .query("select IsRegister from PosMachine where MachineId=$1", {machineId})
                                    .first("IsRegister")
                                    .toInt());
    }
    std::int64_t takenRows()
    {
        return office_.accountSet().query("select count(*) as n from PosMachine where IsRegister=1").first("n").toInt();
    }

    test::TempDir dir_;
    test::BackOffice office_;
    Settings settings_{IniFile(dir_.file("POS.ini"))};
    test::ScriptedPerson person_;
    test::FixedClock clock_;
    TDM dm_{settings_, person_, clock_, dir_.file("POS.mdb"), office_.registryName()};
};

TEST_F(EnrollmentTest, EnrollingTakesTheFreeRowAndWritesItsMachineId)
{
    EXPECT_FALSE(isEnrolled(settings_, dm_, Online));
    EXPECT_EQ(enrolMachine(settings_, server(), "002"), EnrolResult::Enrolled);
    EXPECT_EQ(settings_.option("MachineId"), "2");
    EXPECT_EQ(isRegister(2), 1);
    EXPECT_EQ(takenRows(), 2);
    EXPECT_TRUE(isEnrolled(settings_, dm_, Online));
}

TEST_F(EnrollmentTest, NumberOfAQuoteIsMatchedExactly)
{
    EXPECT_EQ(enrolMachine(settings_, server(), "O'Neil"), EnrolResult::Enrolled);
    EXPECT_EQ(settings_.option("MachineId"), "4");
}

TEST_F(EnrollmentTest, NumbersThatMatchNoFreeRowTakeNothing)
{
    const char* const numbers[] = {"999", "003", "", "01", "001 ", "001' or '1'='1", "' or 1=1 --",
                                   "001'; update PosMachine set IsRegister=1; --", "%", "0%"};
    for (const char* number : numbers) {
        EXPECT_EQ(enrolMachine(settings_, server(), number), EnrolResult::NotFree) << number;
        EXPECT_EQ(takenRows(), 1) << number;
    }
    EXPECT_EQ(settings_.option("MachineId"), "");
}

TEST_F(EnrollmentTest, ARowIsTakenOnlyOnce)
{
    test::TempDir otherDir;
    Settings other{IniFile(otherDir.file("POS.ini"))};
    ASSERT_EQ(enrolMachine(other, server(), "001"), EnrolResult::Enrolled);
    EXPECT_EQ(enrolMachine(settings_, server(), "001"), EnrolResult::NotFree);
    EXPECT_EQ(settings_.option("MachineId"), "");
    EXPECT_EQ(other.option("MachineId"), "1");
}

TEST_F(EnrollmentTest, RowsSharingANumberAreTakenInTurn)
{
    office_.accountSet().execute("insert into PosMachine(MachineId,MachineCode,IsRegister) values(9,'001',0)");
    test::TempDir otherDir;
    Settings other{IniFile(otherDir.file("POS.ini"))};
    ASSERT_EQ(enrolMachine(settings_, server(), "001"), EnrolResult::Enrolled);
    ASSERT_EQ(enrolMachine(other, server(), "001"), EnrolResult::Enrolled);
    EXPECT_EQ(settings_.option("MachineId"), "1");
    EXPECT_EQ(other.option("MachineId"), "9");
    EXPECT_EQ(enrolMachine(settings_, server(), "001"), EnrolResult::NotFree);
}

// Terminal A has taken the row but not yet committed when terminal B asks for the same
// number: B must wait for A and then find the row taken.
TEST_F(EnrollmentTest, TwoTerminalsRacingForOneRowOnlyOneWins)
{
    PgDatabase a, b;
    ASSERT_TRUE(a.open(office_.login(), office_.accountSetName()));
    ASSERT_TRUE(b.open(office_.login(), office_.accountSetName()));
    test::TempDir dirB;
    Settings settingsB{IniFile(dirB.file("POS.ini"))};

    Transaction slowA(a);
    ASSERT_FALSE(a.statements<ServerStatements>().takeFreeMachine.query({"001"}).empty());
    EnrolResult resultB = EnrolResult::Enrolled;
    std::thread terminalB([&] { resultB = enrolMachine(settingsB, b, "001"); });

    bool waiting = false;
    for (int i = 0; i < 200 && !waiting; ++i) {
        waiting = office_.accountSet()
                      .query("select count(*) as n from pg_stat_activity where datname=$1 and wait_event_type='Lock'",
                             {office_.accountSetName()})
                      .first("n")
                      .toInt()
            > 0;
        if (!waiting)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    slowA.commit();
    terminalB.join();
    ASSERT_TRUE(waiting) << "terminal B never waited for A's row";

    EXPECT_EQ(resultB, EnrolResult::NotFree);
    EXPECT_EQ(isRegister(1), 1);
    EXPECT_EQ(settingsB.option("MachineId"), "");
    EXPECT_EQ(takenRows(), 2);
}

TEST_F(EnrollmentTest, ErrorWhilePostingLeavesTheSettingsFileAlone)
{
    office_.dropClientConnections();
    EXPECT_THROW(enrolMachine(settings_, server(), "001"), DbError);
    EXPECT_EQ(settings_.option("MachineId"), "");
    EXPECT_EQ(isRegister(1), 0);
}

// The row is taken only together with the setting that names it: a settings file that
// cannot be written leaves the row free for the next try.
TEST_F(EnrollmentTest, SettingsFileThatCannotBeWrittenTakesNoRow)
{
    Settings unwritable{IniFile(dir_.file("no-such-dir/POS.ini"))};
    try {
        enrolMachine(unwritable, server(), "001");
        ADD_FAILURE() << "the failed write went unnoticed";
    } catch (const PosError& e) {
        EXPECT_EQ(e.operation(), "保存设置");
    }
    EXPECT_EQ(isRegister(1), 0);
    EXPECT_EQ(takenRows(), 1);
    EXPECT_EQ(enrolMachine(settings_, server(), "001"), EnrolResult::Enrolled) << "the connection is usable again";
    EXPECT_EQ(settings_.option("MachineId"), "1");
}

// A commit the server refuses (here a deferred check of the back office) takes the
// MachineId out of POS.ini again: the terminal never claims a row it may not hold.
TEST_F(EnrollmentTest, RefusedCommitTakesTheMachineIdBack)
{
    office_.accountSet().executeScript(R"(
        create function RefuseAtCommit() returns trigger language plpgsql as $$
        begin raise exception 'refused at commit'; end $$;
        create constraint trigger RefuseAtCommit after update on PosMachine
            deferrable initially deferred for each row execute function RefuseAtCommit();)");
    settings_.setOption("Header1", "本机");
    EXPECT_THROW(enrolMachine(settings_, server(), "001"), DbError);
    EXPECT_EQ(settings_.option("MachineId"), "");
    EXPECT_EQ(settings_.option("Header1"), "本机");
    EXPECT_EQ(isRegister(1), 0);
}

TEST_F(EnrollmentTest, EnrollmentCheckByWorkingMode)
{
    struct Case {
        const char* machineId;
        WorkingMode netMode;
        bool enrolled;
    };
    const Case cases[] = {{"", Online, false}, {"", Offline, false}, {"1", Online, true},
                          {"1", Offline, true}, {"77", Online, false}, {"77", Offline, true}};
    for (const Case& c : cases) {
        settings_.setOption("MachineId", c.machineId);
        EXPECT_EQ(isEnrolled(settings_, dm_, c.netMode), c.enrolled) << c.machineId << " mode " << c.netMode;
    }
}

TEST_F(EnrollmentTest, RowDeletedOnTheServerIsNotEnrolledOnlineButIsOffline)
{
    ASSERT_EQ(enrolMachine(settings_, server(), "001"), EnrolResult::Enrolled);
    office_.accountSet().execute("delete from PosMachine where MachineId=1");
    EXPECT_FALSE(isEnrolled(settings_, dm_, Online));
    EXPECT_TRUE(isEnrolled(settings_, dm_, Offline));
}

TEST_F(EnrollmentTest, MachineIdThatIsNoNumberIsRejectedByTheServer)
{
    for (const char* machineId : {"abc", "1 or 1=1", "1; delete from PosMachine"}) {
        settings_.setOption("MachineId", machineId);
        EXPECT_THROW(isEnrolled(settings_, dm_, Online), DbError) << machineId;
        EXPECT_TRUE(isEnrolled(settings_, dm_, Offline)) << machineId;
    }
    EXPECT_EQ(office_.accountSet().query("select count(*) as n from PosMachine").first("n").toInt(), 4);
}

TEST_F(EnrollmentTest, OfflineCheckNeedsNoServer)
{
    dm_.conServer().close();
    settings_.setOption("MachineId", "5");
    EXPECT_TRUE(isEnrolled(settings_, dm_, Offline));
    settings_.setOption("MachineId", "");
    EXPECT_FALSE(isEnrolled(settings_, dm_, Online));
}

}  // namespace
}  // namespace pos
