#include "register/error_handler.h"
#include "register/register_fixture.h"
#include "support/proxied_server.h"

#include <gtest/gtest.h>

namespace pos {
namespace {

using test::TcpProxy;

constexpr const char* kNetworkFault = "网络故障！，系统自动切换到『断网销售』模式。";

// The register with its server connection running through a proxy.
class NetworkFaultTest : public test::RegisterTest {
protected:
    // Enter on `text`, whose work meets the lost server; the error then goes to the error
    // handler as the register window hands it on.
    ErrorOutcome enterMeetingLostServer(const std::string& text)
    {
        try {
            enter(text);
        } catch (const DbError& e) {
            EXPECT_TRUE(e.isNetworkFailure()) << e.what();
            f.log.expected = f.log.entries.size() + 1;
            return handleRegisterError(f.terminal, "处理收银输入", e);
        }
        ADD_FAILURE() << text << " did not meet the lost server";
        return ErrorOutcome::Shown;
    }

    test::ProxiedServer server{f};
};

TEST_F(NetworkFaultTest, ConnectionLostAfterTheSaleLeavesNothingToChargeAgain)
{
    enter("6901");
    enter("6902");
    ASSERT_EQ(lineCount(), 2u);
    // The sale is saved; then the network goes before the next bill asks the server's time.
    view.charges.push_back("20");
    view.afterCharging = [this] {
        server.proxy.refuseNewConnections();
        server.proxy.failNow(TcpProxy::Fault::Cut);
    };

    EXPECT_EQ(enterMeetingLostServer("+"), ErrorOutcome::WentOffline);

    EXPECT_EQ(lineCount(), 0u);
    EXPECT_EQ(reg.sale.NextOrderId, 1);
    ASSERT_TRUE(view.totals);
    EXPECT_EQ(view.totals->amountDue, "   0.00");
    EXPECT_EQ(reg.sale.bill.billDate().toString(), f.clock.now().text()) << "the terminal's clock";
    ASSERT_TRUE(view.header);
    EXPECT_EQ(view.header->billNo, reg.sale.bill.billNo().toString());
    EXPECT_EQ(view.previousShown, 1);
    EXPECT_EQ(f.state.NetMode, Offline);
    EXPECT_EQ(messages(), std::vector<std::string>{kNetworkFault});

    // The input box still holds "+": Enter again finds the bill empty.
    forgetMessages();
    enter("+");
    EXPECT_EQ(view.charged, 1);
    EXPECT_EQ(messages(), std::vector<std::string>{"空单不能收款！"});
}

TEST_F(NetworkFaultTest, ServerThatStopsAnsweringIsNoticedAndTheRegisterWorksOffline)
{
    server.proxy.failNow(TcpProxy::Fault::BlackHole);

    EXPECT_EQ(enterMeetingLostServer("6901"), ErrorOutcome::WentOffline);

    EXPECT_EQ(f.state.NetMode, Offline);
    EXPECT_EQ(messages(), std::vector<std::string>{kNetworkFault});
    EXPECT_EQ(lineCount(), 0u);
    enter("6901");
    ASSERT_EQ(lineCount(), 1u);
    EXPECT_EQ(line(0).goodsId().toInt(), 101);
}

}  // namespace
}  // namespace pos
