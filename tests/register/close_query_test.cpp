#include "register/close_query.h"
#include "support/terminal_fixture.h"
#include "support/waiting_bill.h"

#include <gtest/gtest.h>

namespace pos {
namespace {

constexpr const char* kLeave = "你真的要退出系统吗？";
constexpr const char* kUpload = "本机有单据未上传，您要上传到服务器吗？";

class CloseQueryTest : public ::testing::Test {
protected:
    void addWaitingBill() { test::addWaitingBill(fx_.dm.conClient()); }
    std::pair<std::int64_t, std::int64_t> billIn()
    {
        return test::waitingBillIn(fx_.dm.conClient(), fx_.office.accountSet());
    }

    test::TerminalFixture fx_;
};

TEST_F(CloseQueryTest, AnswerDecidesAndWaitingBillsAreAskedAbout)
{
    struct Case {
        const char* name;
        bool waitingBill;
        std::deque<bool> answers;
        bool mayClose;
        std::vector<std::string> questions;
        std::pair<std::int64_t, std::int64_t> billIn;
    };
    const Case cases[] = {
        {"No keeps the window", true, {false}, false, {kLeave}, {1, 0}},
        {"Yes without bills closes at once", false, {true}, true, {kLeave}, {0, 0}},
        {"Yes with bills asks about them", true, {true, false}, true, {kLeave, kUpload}, {1, 0}},
        {"online upload wanted", true, {true, true}, true, {kLeave, kUpload}, {0, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fx_.dm.conClient().execute("delete from PosBill");
        fx_.dm.conClient().execute("delete from PosDetail");
        if (c.waitingBill)
            addWaitingBill();
        fx_.person.questions.clear();
        fx_.person.answers = c.answers;
        EXPECT_EQ(registerCloseQuery(fx_.terminal), c.mayClose);
        EXPECT_EQ(fx_.person.questions, c.questions);
        EXPECT_EQ(fx_.state.NetMode, Online);
        EXPECT_EQ(billIn(), c.billIn);
    }
    EXPECT_TRUE(fx_.person.messages.empty());
}

TEST_F(CloseQueryTest, OfflineUploadTriesToGoOnlineFirst)
{
    addWaitingBill();
    fx_.state.NetMode = Offline;
    fx_.person.answers = {true, true};
    EXPECT_TRUE(registerCloseQuery(fx_.terminal));
    EXPECT_EQ(fx_.state.NetMode, Online);
    EXPECT_TRUE(fx_.person.messages.empty());
    ASSERT_FALSE(fx_.person.waits.empty());
    EXPECT_EQ(fx_.person.waits.back(), "正在上传数据,请稍候...") << "after going online";
    EXPECT_EQ(billIn(), (std::pair<std::int64_t, std::int64_t>{0, 1}));
}

TEST_F(CloseQueryTest, FailedSwitchIsReportedAndTheWindowStillCloses)
{
    addWaitingBill();
    fx_.state.NetMode = Offline;
    fx_.settings.writeServerLogin({"127.0.0.1:1", "postgres", ""});
    fx_.person.answers = {true, true};
    EXPECT_TRUE(registerCloseQuery(fx_.terminal));
    EXPECT_EQ(fx_.state.NetMode, Offline);
    EXPECT_EQ(fx_.person.messageTexts(),
              (std::vector<std::string>{"无法与服务器建立连接！ 切换到『连网销售』模式失败。", "上传数据失败！"}));
    EXPECT_EQ(fx_.person.messages.back().title, "提示");
    EXPECT_EQ(billIn().first, 1);
}

}  // namespace
}  // namespace pos
