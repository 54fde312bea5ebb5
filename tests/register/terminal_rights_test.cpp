#include "register/terminal_rights.h"
#include "support/operator_data.h"
#include "support/signed_on_terminal.h"

#include <gtest/gtest.h>

namespace pos {
namespace {

// The cashier holds the discount right in the local copy only: one rights object asks
// the side of the working mode at each call, so a switch of the mode in between counts.
TEST(TerminalRights, AskTheWorkingModesConnectionAtEachCall)
{
    test::SignedOnTerminal fx;
    test::addOperator(fx.side(Online), {test::kCashier, "1003", "收银员", "333", 0, {}});
    test::addOperator(fx.side(Offline), {test::kCashier, "1003", "收银员", "333", 0, {OperatorRight::Discount}});
    TerminalRights rights(fx.terminal);
    fx.person.supervisors = {std::nullopt};

    EXPECT_FALSE(rights.has(OperatorRight::Discount));
    fx.state.NetMode = Offline;
    EXPECT_TRUE(rights.has(OperatorRight::Discount));
    EXPECT_EQ(fx.person.supervisorRights, std::vector<OperatorRight>{OperatorRight::Discount})
        << "only the refused online call asks a supervisor";
}

}  // namespace
}  // namespace pos
