#include "access/operators.h"
#include "access/rights.h"
#include "support/operator_data.h"
#include "config/working_connection.h"
#include "support/terminal_fixture.h"

#include <gtest/gtest.h>

namespace pos {
namespace {

// Operators and rights live on the side of the working mode under test only, so a
// read from the wrong side shows up as a wrong answer.
class RightsTest : public ::testing::TestWithParam<WorkingMode> {
protected:
    void SetUp() override
    {
        fx_.state.NetMode = GetParam();
        Database& db = fx_.side(GetParam());
        test::addOperator(db, {1, "1001", "收银员甲", "111", 0, {OperatorRight::Discount, OperatorRight::OpenCashDrawer}});
        test::addOperator(db, {2, "1002", "收银员乙", "222", 0, {}});
        test::addOperator(db, {9, "9001", "店长", "999", 1, {OperatorRight::Discount, OperatorRight::Price}});
        test::addOperator(db, {8, "8001", "值班主管", "888", 1, {OperatorRight::OpenCashDrawer}});
        test::addOperator(db, {7, "O'Brien", "引号", "x'y", 0, {}});
    }

    AccessStatements& access() { return WorkingConnection(fx_.dm, fx_.state).db().statements<AccessStatements>(); }
    bool hasRight(OperatorRight right) { return HasRight(access(), fx_.person, fx_.state.OperatorId, right); }

    test::TerminalFixture fx_;
};

TEST_P(RightsTest, CheckOperatorMatchesCodeAndPasswordExactly)
{
    const struct {
        const char* code;
        const char* password;
        int expected;
    } cases[] = {
        {"1001", "111", 1},
        {"9001", "999", 2},
        {"8001", "888", 2},
        {"1001", "222", -1},  // another operator's password
        {"7777", "111", -1},
        {"", "", -1},
        {"1001 ", "111", -1},  // trimming is the caller's business
        {"O'Brien", "x'y", 1},
        {"' or '1'='1", "' or '1'='1", -1},
        {"1001", "' or ''='", -1},
        {"1001'; delete from PosOperator; --", "111", -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CheckOperator(access(), c.code, c.password), c.expected)
            << "code [" << c.code << "] password [" << c.password << "]";
    EXPECT_EQ(CheckOperator(access(), "1001", "111"), 1) << "operators survive the attempts";
}

TEST_P(RightsTest, SelectValueGivesFirstColumnOrIntegerZero)
{
    Database& db = WorkingConnection(fx_.dm, fx_.state).db();
    EXPECT_EQ(SelectValue(db, "OperatorId", "PosOperator", "Code", "9001").toInt(), 9);
    EXPECT_EQ(SelectValue(db, "Name", "PosOperator", "Code", "O'Brien").toString(), "引号");
    EXPECT_EQ(SelectValue(db, "OperatorId", "PosOperator", "Code", "' or ''='"), Value(0));
    EXPECT_EQ(SelectValue(db, "Code", "PosOperator", "OperatorId", 42), Value(0));
}

TEST_P(RightsTest, OwnRightNeedsNoDialog)
{
    fx_.state.OperatorId = 1;
    EXPECT_TRUE(hasRight(OperatorRight::Discount));
    EXPECT_TRUE(hasRight(OperatorRight::OpenCashDrawer));
    EXPECT_TRUE(fx_.person.supervisorRights.empty());
}

TEST_P(RightsTest, SupervisorGrantsOneCallOnly)
{
    fx_.state.OperatorId = 2;
    fx_.person.supervisors = {Credentials{" 9001 ", " 999 "}, std::nullopt};
    EXPECT_TRUE(hasRight(OperatorRight::Discount));
    EXPECT_FALSE(hasRight(OperatorRight::Discount));
    EXPECT_EQ(fx_.person.supervisorRights,
              (std::vector<OperatorRight>{OperatorRight::Discount, OperatorRight::Discount}));
    EXPECT_TRUE(fx_.person.messages.empty());
}

TEST_P(RightsTest, OnlyASupervisorHoldingTheRightCanGrantIt)
{
    const struct {
        const char* what;
        std::optional<Credentials> typed;
        bool granted;
    } cases[] = {
        {"supervisor holding the right", Credentials{"9001", "999"}, true},
        {"supervisor without the right", Credentials{"8001", "888"}, false},
        {"ordinary operator holding the right", Credentials{"1001", "111"}, false},
        {"supervisor with a wrong password", Credentials{"9001", "888"}, false},
        {"code no operator has", Credentials{"5555", "999"}, false},
        {"quote in the code", Credentials{"9001' or '1'='1", "999"}, false},
        {"dialog cancelled", std::nullopt, false},
    };
    fx_.state.OperatorId = 2;
    for (const auto& c : cases) {
        fx_.person.supervisors = {c.typed};
        fx_.person.supervisorRights.clear();
        EXPECT_EQ(hasRight(OperatorRight::Discount), c.granted) << c.what;
        EXPECT_EQ(fx_.person.supervisorRights, std::vector<OperatorRight>{OperatorRight::Discount}) << c.what;
    }
    EXPECT_TRUE(fx_.person.messages.empty());
}

TEST_P(RightsTest, RightNumbersAreNotInterchangeable)
{
    fx_.state.OperatorId = 1;  // holds 3 and 12
    fx_.person.supervisors = {Credentials{"9001", "999"}, Credentials{"9001", "999"}};
    EXPECT_FALSE(hasRight(OperatorRight::BillBrowser));  // nobody holds 13
    EXPECT_TRUE(hasRight(OperatorRight::Price));         // the supervisor holds 4
    EXPECT_EQ(fx_.person.supervisorRights,
              (std::vector<OperatorRight>{OperatorRight::BillBrowser, OperatorRight::Price}));
}

INSTANTIATE_TEST_SUITE_P(BothModes, RightsTest, ::testing::Values(Online, Offline),
                         [](const auto& info) { return info.param == Online ? "Online" : "Offline"; });

// Offline a grant is checked against the stored hash of the operator typed; with a
// repeated code, the right is that of the operator whose password it is.
TEST(RightsOffline, GrantComesFromTheOperatorWhosePasswordWasTyped)
{
    test::TerminalFixture fx;
    Database& local = fx.side(Offline);
    test::addOperator(local, {2, "1002", "收银员乙", "222", 0, {}});
    test::addOperator(local, {8, "9001", "主管甲", "888", 1, {}});
    test::addOperator(local, {9, "9001", "主管乙", "999", 1, {OperatorRight::Discount}});
    fx.person.supervisors = {Credentials{"9001", "888"}, Credentials{"9001", "999"}};
    AccessStatements& sql = local.statements<AccessStatements>();
    EXPECT_FALSE(HasRight(sql, fx.person, 2, OperatorRight::Discount));
    EXPECT_TRUE(HasRight(sql, fx.person, 2, OperatorRight::Discount));
}

}  // namespace
}  // namespace pos
