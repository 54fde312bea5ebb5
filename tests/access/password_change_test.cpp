#include "access/login.h"
#include "access/password_change.h"
#include "db/password_hash.h"
#include "support/operator_data.h"
#include "support/terminal_fixture.h"

#include <gtest/gtest.h>

namespace pos {
namespace {

constexpr const char* kChanged = "修改密码成功！";
constexpr const char* kOnlineOnly = "修改密码需要在『连网销售』模式下进行！请切换到『连网销售』模式再修改密码。";

// Operator 1003 on both sides, each in the form it keeps, and one shift to sign on to.
class PasswordChangeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (WorkingMode mode : {Online, Offline}) {
            test::addOperator(fx_.side(mode), {3, "1003", "收银员", "333", 0, {}});
            test::addOperator(fx_.side(mode), {4, "1004", "旁人", "444", 0, {}});
            test::addShift(fx_.side(mode), 1, "01", "早班");
        }
    }

    Value stored(WorkingMode mode, int operatorId)
    {
        return fx_.side(mode).query("select Password from PosOperator where OperatorId=$1", {operatorId}).first("Password");
    }
    bool signsOn(WorkingMode mode, const std::string& password)
    {
        fx_.state.NetMode = mode;
        return signOn(fx_.terminal, "1003", password, "早班") == SignOnResult::SignedOn;
    }
    void change(WorkingMode mode, const std::string& password)
    {
        ChangePassword(fx_.dm, mode, fx_.person, "1003", password);
    }

    test::TerminalFixture fx_;
};

TEST_F(PasswordChangeTest, OnlineBothSidesTakeTheNewPasswordInTheirOwnForm)
{
    const Value otherBefore = stored(Offline, 4);
    change(Online, "新密码'1");

    EXPECT_EQ(fx_.person.messageTexts(), std::vector<std::string>{kChanged});
    EXPECT_EQ(stored(Online, 3), Value("新密码'1"));
    const std::string local = stored(Offline, 3).toString();
    EXPECT_TRUE(passwordMatches(local, "新密码'1")) << local;
    EXPECT_EQ(local.find("新密码"), std::string::npos);
    for (WorkingMode mode : {Online, Offline}) {
        EXPECT_TRUE(signsOn(mode, "新密码'1")) << mode;
        EXPECT_FALSE(signsOn(mode, "333")) << mode;
    }
    EXPECT_EQ(stored(Online, 4), Value("444"));
    EXPECT_EQ(stored(Offline, 4), otherBefore);
}

TEST_F(PasswordChangeTest, EmptyPasswordIsAccepted)
{
    change(Online, "");
    EXPECT_TRUE(signsOn(Online, ""));
    EXPECT_TRUE(signsOn(Offline, ""));
    EXPECT_FALSE(signsOn(Offline, "333"));
}

TEST_F(PasswordChangeTest, OfflineChangesNothing)
{
    const Value localBefore = stored(Offline, 3);
    change(Offline, "新");
    EXPECT_EQ(fx_.person.messageTexts(), std::vector<std::string>{kOnlineOnly});
    EXPECT_EQ(stored(Online, 3), Value("333"));
    EXPECT_EQ(stored(Offline, 3), localBefore);
}

// When the server refuses, the local copy is not changed either and no success is told.
TEST_F(PasswordChangeTest, ServerFailureLeavesTheLocalCopy)
{
    const Value localBefore = stored(Offline, 3);
    fx_.office.dropClientConnections();
    EXPECT_THROW(change(Online, "新"), DbError);
    EXPECT_TRUE(fx_.person.messages.empty());
    EXPECT_EQ(stored(Offline, 3), localBefore);
    EXPECT_EQ(stored(Online, 3), Value("333"));
}

}  // namespace
}  // namespace pos
