#include "config/working_mode_clock.h"
#include "support/terminal_fixture.h"

#include <gtest/gtest.h>

namespace pos {
namespace {

TEST(WorkingModeClock, TellsTheTerminalsTimeOfflineAndTheServersOnline)
{
    test::TerminalFixture fx;
    fx.clock.set({2020, 1, 2, 3, 4, 5});
    const WorkingModeClock clock(fx.dm, fx.state);

    fx.state.NetMode = Offline;
    EXPECT_EQ(clock.now().text(), "2020-01-02 03:04:05");

    fx.state.NetMode = Online;
    const std::string serverDay =
        fx.office.accountSet().query("select current_date::text as d").first("d").toString();
    EXPECT_EQ(clock.now().dateText(), serverDay);
}

}  // namespace
}  // namespace pos
