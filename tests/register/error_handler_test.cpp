#include "access/login.h"
#include "base/file_error_log.h"
#include "config/settings.h"
#include "register/error_handler.h"
#include "support/sign_on.h"
#include "support/terminal_fixture.h"

#include <gtest/gtest.h>

namespace pos {
namespace {

class ErrorHandlerTest : public ::testing::Test {
protected:
    // The error an operation meets when the server went away under it.
    DbError lostServerError()
    {
        try {
            fx_.terminal.db().query("select 1");
        } catch (const DbError& e) {
            return e;
        }
        ADD_FAILURE() << "the server still answers";
        return DbError("");
    }

    // The server stays reachable for the office but refuses the terminal from now on.
    void refuseReconnection()
    {
        fx_.office.registry().execute("alter database " + fx_.office.accountSetName() + " allow_connections false");
    }

    test::TerminalFixture fx_;
};

TEST_F(ErrorHandlerTest, LostServerThatCannotBeReopenedSwitchesOfflineWithOneMessage)
{
    refuseReconnection();
    fx_.office.dropClientConnections();
    const DbError error = lostServerError();
    ASSERT_TRUE(error.isNetworkFailure());
    fx_.log.expected = 2;

    EXPECT_EQ(handleRegisterError(fx_.terminal, "保存单据", error), ErrorOutcome::WentOffline);
    EXPECT_EQ(fx_.state.NetMode, Offline);
    ASSERT_EQ(fx_.person.messages.size(), 1u);
    EXPECT_EQ(fx_.person.messages[0].text, "网络故障！，系统自动切换到『断网销售』模式。");
    EXPECT_EQ(fx_.person.messages[0].title, "提示");
    EXPECT_EQ(fx_.person.messages[0].icon, MessageIcon::Information);
    ASSERT_EQ(fx_.log.entries.size(), 1u);
    EXPECT_EQ(fx_.log.entries[0].operation, "保存单据");

    // Offline, the next failure of the dead connection is an ordinary error: the switch
    // is not announced again.
    EXPECT_EQ(handleRegisterError(fx_.terminal, "保存单据", error), ErrorOutcome::Shown);
    EXPECT_EQ(fx_.state.NetMode, Offline);
    ASSERT_EQ(fx_.person.messages.size(), 2u);
    EXPECT_EQ(fx_.person.messages[1].title, "错误");
}

TEST_F(ErrorHandlerTest, LostServerThatAnswersAgainIsReopenedSilentlyButLogged)
{
    fx_.office.dropClientConnections();
    fx_.log.expected = 1;
    EXPECT_EQ(handleRegisterError(fx_.terminal, "下载基本资料", lostServerError()), ErrorOutcome::Reconnected);
    EXPECT_EQ(fx_.state.NetMode, Online);
    EXPECT_TRUE(fx_.person.messages.empty());
    ASSERT_EQ(fx_.log.entries.size(), 1u);
    EXPECT_EQ(fx_.log.entries[0].operation, "下载基本资料");
    EXPECT_EQ(fx_.terminal.db().query("select count(*) as n from B_Store").first("n").toInt(), 0);
}

TEST_F(ErrorHandlerTest, OtherErrorsAreShownAndLoggedNamingTheOperation)
{
    DbError statementError("");
    try {
        fx_.terminal.db().query("select * from NoSuchTable");
    } catch (const DbError& e) {
        statementError = e;
    }
    ASSERT_FALSE(statementError.isNetworkFailure());

    struct Case {
        const char* name;
        WorkingMode netMode;
        const std::exception& error;
        std::string detail;
    };
    const DbError networkError("connection lost", true);
    const std::runtime_error plainError("anything");
    const SettingsError settingsError("SeleStore 的值 'maybe' 不是是否值");
    const Case cases[] = {
        {"statement refused by the server", Online, statementError, statementError.what()},
        {"not an error of the terminal's own", Online, plainError, "anything"},
        {"network error while offline", Offline, networkError, "connection lost"},
        {"an error naming its own step", Online, settingsError, "读取设置：SeleStore 的值 'maybe' 不是是否值"},
    };
    fx_.state.OperatorCode = "1005";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fx_.person.messages.clear();
        fx_.log.entries.clear();
        fx_.log.expected = 1;
        fx_.state.NetMode = c.netMode;

        EXPECT_EQ(handleRegisterError(fx_.terminal, "保存单据", c.error), ErrorOutcome::Shown);
        EXPECT_EQ(fx_.state.NetMode, c.netMode);
        ASSERT_EQ(fx_.person.messages.size(), 1u);
        EXPECT_EQ(fx_.person.messages[0].text, "保存单据时发生错误。\n" + c.detail);
        EXPECT_EQ(fx_.person.messages[0].title, "错误");
        EXPECT_EQ(fx_.person.messages[0].icon, MessageIcon::Error);
        ASSERT_EQ(fx_.log.entries.size(), 1u);
        const ErrorLogEntry& entry = fx_.log.entries[0];
        EXPECT_EQ(entry.time, fx_.clock.now().text());
        EXPECT_EQ(entry.operatorCode, "1005");
        EXPECT_EQ(entry.operation, "保存单据");
        EXPECT_EQ(entry.error, c.detail);
    }
}

// The back office's password column is a number here, so the refused statement quotes
// the typed password in its error text.
TEST_F(ErrorHandlerTest, SignOnErrorReachesTheLogWithoutThePassword)
{
    fx_.office.accountSet().execute("alter table PosOperator alter column Password type integer using null");
    FileErrorLog file(fx_.dir.file("pos.log"));
    Terminal withFile{fx_.settings, fx_.dm, fx_.state, fx_.person, fx_.clock, file};
    const std::string password = "geheim-42";

    try {
        test::signOnAt(fx_, "1005", password, "早班");
        FAIL() << "the sign-on statement was not refused";
    } catch (const std::exception& e) {
        EXPECT_EQ(handleRegisterError(withFile, "登录", e), ErrorOutcome::Shown);
    }
    const std::string log = test::readFile(fx_.dir.file("pos.log"));
    EXPECT_NE(log.find("\t登录\t核对操作员密码："), std::string::npos) << log;
    EXPECT_NE(log.find("***"), std::string::npos) << "the error quotes the password: " << log;
    EXPECT_EQ(log.find(password), std::string::npos) << log;
    ASSERT_EQ(fx_.person.messages.size(), 1u);
    EXPECT_EQ(fx_.person.messages[0].text.find(password), std::string::npos);
}

}  // namespace
}  // namespace pos
