#include "access/login.h"
#include "access/password_change.h"
#include "db/password_hash.h"
#include "support/operator_data.h"
#include "support/sign_on.h"
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
        return test::signOnAt(fx_, "1003", password, "早班") == SignOnResult::SignedOn;
    }
    void change(WorkingMode mode, const std::string& password)
    {
        fx_.state.NetMode = mode;
        ChangePassword({fx_.dm, fx_.state, fx_.person, fx_.log, fx_.clock}, "1003", password);
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

// The server's change commits only once the local copy holds the new password; every
// failure after the server took the update leaves both sides with the old password (or
// says which side holds which) and tells exactly that, with the reason in pos.log.
struct PartialChange {
    const char* name;
    const char* serverScript;  // run on the back office
    const char* localScript;   // run on the local file; $OLD stands for the old hash
    const char* message;
    bool localKeepsOld;
};

// The back office takes the update and refuses its commit.
constexpr const char* kRefuseAtCommit =
    "create function RefuseAtCommit() returns trigger language plpgsql as $$ begin "
    "raise exception 'refused at commit'; end $$; "
    "create constraint trigger RefuseAtCommit after update on PosOperator deferrable initially deferred "
    "for each row execute function RefuseAtCommit();";

const PartialChange kPartialChanges[] = {
    {"LocalWriteFails", "",
     "create trigger RefuseWrite before update on PosOperator begin select raise(abort, 'disk full'); end;",
     "新密码没有保存：本机的密码写入失败，服务器上的密码没有修改，请继续使用原密码。", true},
    {"ServerCommitFails",
     kRefuseAtCommit,
     "", "新密码没有保存：服务器没能提交修改，本机的密码已恢复，请继续使用原密码。", true},
    {"ConnectionLostAtCommit",
     "create function LoseAtCommit() returns trigger language plpgsql as $$ begin "
     "perform pg_terminate_backend(pg_backend_pid()); perform pg_sleep(5); return null; end $$; "
     "create constraint trigger LoseAtCommit after update on PosOperator deferrable initially deferred "
     "for each row execute function LoseAtCommit();",
     "", "提交新密码时与服务器的连接中断，不能确定服务器上是否已改为新密码；本机的密码已恢复为原密码。", true},
    {"RestoreFailsToo",
     kRefuseAtCommit,
     "create trigger RefuseRestore before update on PosOperator when new.Password = '$OLD' "
     "begin select raise(abort, 'disk full'); end;",
     "服务器没能提交新密码，本机的密码也没能恢复：连网时请使用原密码，断网时请使用新密码。", false},
};

void PrintTo(const PartialChange& c, std::ostream* os) { *os << c.name; }

class PasswordChangePartly : public PasswordChangeTest, public ::testing::WithParamInterface<PartialChange> {};

TEST_P(PasswordChangePartly, TellsWhatEachSideHolds)
{
    const PartialChange& c = GetParam();
    const std::string oldHash = stored(Offline, 3).toString();
    if (*c.serverScript)
        fx_.office.accountSet().executeScript(c.serverScript);
    if (*c.localScript) {
        std::string script = c.localScript;
        if (const auto at = script.find("$OLD"); at != std::string::npos)
            script.replace(at, 4, oldHash);
        fx_.side(Offline).execute(script);
    }
    fx_.log.expected = 1;

    change(Online, "q7w8");

    EXPECT_EQ(fx_.person.messageTexts(), std::vector<std::string>{c.message});
    ASSERT_EQ(fx_.log.entries.size(), 1u);
    EXPECT_EQ(fx_.log.entries[0].operation, "修改密码");
    EXPECT_EQ(fx_.log.entries[0].error.find(c.message), 0u) << fx_.log.entries[0].error;
    EXPECT_EQ(fx_.log.entries[0].error.find("q7w8"), std::string::npos) << "no password in the log";
    EXPECT_EQ(stored(Online, 3), Value("333"));
    if (c.localKeepsOld)
        EXPECT_EQ(stored(Offline, 3).toString(), oldHash);
    else
        EXPECT_TRUE(passwordMatches(stored(Offline, 3).toString(), "q7w8"));
}

INSTANTIATE_TEST_SUITE_P(Failures, PasswordChangePartly, ::testing::ValuesIn(kPartialChanges),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pos
