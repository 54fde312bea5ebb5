#include "register/error_handler.h"
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

    EXPECT_EQ(handleRegisterError(fx_.terminal, error), ErrorOutcome::WentOffline);
    EXPECT_EQ(fx_.state.NetMode, Offline);
    ASSERT_EQ(fx_.person.messages.size(), 1u);
    EXPECT_EQ(fx_.person.messages[0].text, "网络故障！，系统自动切换到『断网销售』模式。");
    EXPECT_EQ(fx_.person.messages[0].title, "提示");
    EXPECT_EQ(fx_.person.messages[0].icon, MessageIcon::Information);

    // Offline, the next failure of the dead connection is not announced again.
    EXPECT_EQ(handleRegisterError(fx_.terminal, error), ErrorOutcome::Ignored);
    EXPECT_EQ(fx_.person.messages.size(), 1u);
}

TEST_F(ErrorHandlerTest, LostServerThatAnswersAgainIsReopenedSilently)
{
    fx_.office.dropClientConnections();
    EXPECT_EQ(handleRegisterError(fx_.terminal, lostServerError()), ErrorOutcome::Reconnected);
    EXPECT_EQ(fx_.state.NetMode, Online);
    EXPECT_TRUE(fx_.person.messages.empty());
    EXPECT_EQ(fx_.terminal.db().query("select count(*) as n from B_Store").first("n").toInt(), 0);
}

TEST_F(ErrorHandlerTest, OtherErrorsShowNothingAndKeepTheMode)
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
    };
    const DbError networkError("connection lost", true);
    const std::runtime_error plainError("anything");
    const Case cases[] = {
        {"statement refused by the server", Online, statementError},
        {"not a database error", Online, plainError},
        {"network error while offline", Offline, networkError},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fx_.state.NetMode = c.netMode;
        EXPECT_EQ(handleRegisterError(fx_.terminal, c.error), ErrorOutcome::Ignored);
        EXPECT_EQ(fx_.state.NetMode, c.netMode);
    }
    EXPECT_TRUE(fx_.person.messages.empty());
}

}  // namespace
}  // namespace pos
