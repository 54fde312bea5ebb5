#include "access/login.h"
#include "config/working_connection.h"
#include "support/operator_data.h"
#include "support/sign_on.h"
#include "support/terminal_fixture.h"

#include <gtest/gtest.h>

namespace pos {
namespace {

// Operators and shifts live on the side of the working mode under test only.
class LoginTest : public ::testing::TestWithParam<WorkingMode> {
protected:
    void SetUp() override
    {
        fx_.state.NetMode = GetParam();
        test::addOperator(db(), {5, "1005", "王芳", "pw5", 0, {}});
    }

    Database& db() { return fx_.side(GetParam()); }
    AccessStatements& access() { return WorkingConnection(fx_.dm, fx_.state).db().statements<AccessStatements>(); }
    void addShifts()
    {
        test::addShift(db(), 1, "01", "早班");
        test::addShift(db(), 2, "02", "晚班");
        test::addShift(db(), 3, "03", "A'班");
    }

    test::TerminalFixture fx_;
};

TEST_P(LoginTest, ShiftListFollowsTheTable)
{
    EXPECT_TRUE(shiftNames(access()).empty());
    addShifts();
    EXPECT_EQ(shiftNames(access()), (std::vector<std::string>{"早班", "晚班", "A'班"}));
}

TEST_P(LoginTest, SignOnFillsOperatorAndShift)
{
    addShifts();
    EXPECT_EQ(test::signOnAt(fx_, "  1005\t", " pw5 ", "晚班"), SignOnResult::SignedOn);
    const TPosState& s = fx_.state;
    EXPECT_EQ(s.OperatorId, 5);
    EXPECT_EQ(s.OperatorCode, "1005");
    EXPECT_EQ(s.OperatorName, "王芳");
    EXPECT_EQ(s.ClassId, 2);
    EXPECT_EQ(s.ClassCode, "02");
    EXPECT_EQ(s.ClassName, "晚班");

    EXPECT_EQ(test::signOnAt(fx_, "1005", "pw5", "A'班"), SignOnResult::SignedOn);
    EXPECT_EQ(s.ClassId, 3);
}

TEST_P(LoginTest, RefusalsLeaveTheStateAlone)
{
    addShifts();
    const struct {
        const char* code;
        const char* password;
        const char* shift;
        SignOnResult expected;
    } cases[] = {
        {"1005", "wrong", "早班", SignOnResult::BadCredentials},
        {"1005", "wrong", "", SignOnResult::BadCredentials},  // credentials are checked first
        {"9999", "pw5", "早班", SignOnResult::BadCredentials},
        {"' or '1'='1", "' or '1'='1", "早班", SignOnResult::BadCredentials},
        {"1005", "pw5", "", SignOnResult::NoShift},
        {"1005", "pw5", "夜班", SignOnResult::NoShift},  // removed since the list was filled
    };
    for (const auto& c : cases) {
        EXPECT_EQ(test::signOnAt(fx_, c.code, c.password, c.shift), c.expected) << c.code << "/" << c.shift;
        EXPECT_EQ(fx_.state.OperatorId, 0);
        EXPECT_EQ(fx_.state.OperatorCode, "");
        EXPECT_EQ(fx_.state.ClassId, 0);
        EXPECT_EQ(fx_.state.ClassName, "");
    }
}

TEST_P(LoginTest, WithoutShiftsNobodyCanSignOn)
{
    ASSERT_TRUE(shiftNames(access()).empty());
    EXPECT_EQ(test::signOnAt(fx_, "1005", "pw5", ""), SignOnResult::NoShift);
}

INSTANTIATE_TEST_SUITE_P(BothModes, LoginTest, ::testing::Values(Online, Offline),
                         [](const auto& info) { return info.param == Online ? "Online" : "Offline"; });

// Offline the terminal knows only what the last download brought.
TEST(LoginOffline, OperatorOnlyOnTheServerCannotSignOn)
{
    test::TerminalFixture fx;
    for (WorkingMode mode : {Online, Offline})
        test::addShift(fx.side(mode), 1, "01", "早班");
    test::addOperator(fx.side(Online), {6, "1006", "新员工", "pw6", 0, {}});

    fx.state.NetMode = Offline;
    EXPECT_EQ(test::signOnAt(fx, "1006", "pw6", "早班"), SignOnResult::BadCredentials);
    fx.state.NetMode = Online;
    EXPECT_EQ(test::signOnAt(fx, "1006", "pw6", "早班"), SignOnResult::SignedOn);
    EXPECT_EQ(fx.state.OperatorId, 6);
}

// Offline the password typed is checked against the local copy's hashes: a stored
// value that is no hash lets nobody in, and a code the back office repeats signs each
// operator on by the password.
TEST(LoginOffline, PasswordIsCheckedAgainstTheStoredHashOfEachOperatorOfTheCode)
{
    test::TerminalFixture fx;
    Database& local = fx.side(Offline);
    test::addShift(local, 1, "01", "早班");
    test::addOperator(local, {1, "1001", "甲", "111", 0, {}});
    test::addOperator(local, {2, "1001", "乙", "222", 0, {}});
    local.execute("insert into PosOperator(OperatorId,Code,Name,Password) values(3,'1003','明文','333')");
    fx.state.NetMode = Offline;

    EXPECT_EQ(test::signOnAt(fx, "1001", "222", "早班"), SignOnResult::SignedOn);
    EXPECT_EQ(fx.state.OperatorId, 2);
    EXPECT_EQ(fx.state.OperatorName, "乙");
    EXPECT_EQ(test::signOnAt(fx, "1001", "111", "早班"), SignOnResult::SignedOn);
    EXPECT_EQ(fx.state.OperatorId, 1);
    EXPECT_EQ(test::signOnAt(fx, "1001", "333", "早班"), SignOnResult::BadCredentials);
    EXPECT_EQ(test::signOnAt(fx, "1003", "333", "早班"), SignOnResult::BadCredentials);
    const std::string stored =
        local.query("select Password from PosOperator where OperatorId=1").first("Password").toString();
    EXPECT_EQ(test::signOnAt(fx, "1001", stored, "早班"), SignOnResult::BadCredentials) << "the hash is no password";
}

}  // namespace
}  // namespace pos
